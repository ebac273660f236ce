#pragma once

// A compiled scenario file that cannot be what it claims to be: truncated, too long, with a
// value no writer produces, or no file at all. It names the file, the byte where the fault lies
// and what was expected there.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace corvenna {

class errore_lettura : public std::runtime_error {
  public:
    // `byte` is std::nullopt when the fault is the file as a whole (a directory, say).
    errore_lettura(std::string file, std::optional<std::uint64_t> byte, std::string atteso);

    const std::string& file() const { return file_; }
    std::optional<std::uint64_t> byte() const { return byte_; }
    const std::string& atteso() const { return atteso_; }

  private:
    std::string file_;
    std::optional<std::uint64_t> byte_;
    std::string atteso_;
};

} // namespace corvenna
