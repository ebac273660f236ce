#pragma once

// A fresh directory under the system's temporary directory, removed with all it holds: the one
// scratch directory of the tests, the benchmarks and the fuzz tools.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace corvenna::prova {

class cartella_temporanea {
  public:
    cartella_temporanea() {
        std::string modello =
            (std::filesystem::temp_directory_path() / "genera_prova_XXXXXX").string();
        if (::mkdtemp(modello.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + modello);
        percorso_ = modello;
    }
    ~cartella_temporanea() {
        std::error_code ignora;
        std::filesystem::remove_all(percorso_, ignora);
    }
    cartella_temporanea(const cartella_temporanea&) = delete;
    cartella_temporanea& operator=(const cartella_temporanea&) = delete;

    const std::filesystem::path& percorso() const { return percorso_; }

  private:
    std::filesystem::path percorso_;
};

} // namespace corvenna::prova
