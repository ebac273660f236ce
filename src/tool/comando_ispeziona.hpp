#pragma once

// `scenario ispeziona CARTELLA|FILE...`: a compiled scenario read back and shown, as one JSON
// object or as one CSV table, on standard output or into a file.

#include "tool/comando.hpp"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct opzioni_ispeziona {
    std::vector<std::filesystem::path> percorsi;
    std::string nome;
    std::string numero_treno;
    std::string formato = "json";
    // "voci", "celle" or "planimetria"; empty when not given.
    std::string tabella;
    // The file to write (replaced whole): a regular file or a free name, never one of the files
    // read; standard output when not given or "-".
    std::optional<std::filesystem::path> uscita;
    // Refuses a scenario whose files do not belong together, instead of warning.
    bool rigoroso = false;
};

// Runs the command, writing to `uscita` unless a file is given and reporting to `errori`.
// Returns the exit status; a damaged file throws errore_lettura, a file that cannot be read or
// written errore_file, a command line that names no single scenario errore_scelta_scenario.
int esegui_ispeziona(const opzioni_ispeziona& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_ispeziona(CLI::App& app, azione_comando& azione);

} // namespace corvenna
