#pragma once

// The two description files of a scenario, at paths the program resolved.

#include "compiler/sorgente_descrizioni.hpp"

#include <filesystem>

namespace corvenna {

// The two description files of a scenario in a directory.
class sorgente_cartella final : public sorgente_descrizioni {
  public:
    sorgente_cartella(std::filesystem::path linea, std::filesystem::path treno)
        : linea_(std::move(linea)), treno_(std::move(treno)) {}

    bool esiste(descrizione d) const override;
    std::optional<std::string> leggi(descrizione d) const override;
    bool cancella(descrizione d) override;
    std::string nome(descrizione d) const override { return percorso(d).filename().string(); }

  private:
    const std::filesystem::path& percorso(descrizione d) const {
        return d == descrizione::linea ? linea_ : treno_;
    }
    std::filesystem::path linea_;
    std::filesystem::path treno_;
};

} // namespace corvenna
