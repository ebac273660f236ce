#pragma once

// A file operation that failed outside the compile: it carries the file and the system's
// reason up to the program's entry point, which reports it and ends the run.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace corvenna {

class errore_file : public std::runtime_error {
  public:
    errore_file(const std::filesystem::path& file, const std::string& motivo)
        : std::runtime_error(file.string() + ": " + motivo), file_(file), motivo_(motivo) {}

    const std::filesystem::path& file() const { return file_; }
    const std::string& motivo() const { return motivo_; }

  private:
    std::filesystem::path file_;
    std::string motivo_;
};

} // namespace corvenna
