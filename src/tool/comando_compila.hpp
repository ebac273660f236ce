#pragma once

// `scenario compila` and `scenario controlla`: an author's line and train descriptions, at any
// path, compiled exactly as the generator compiles its own. `compila` writes the binary files
// into a directory when the compile is clean; `controlla` only reports.

#include "tool/comando.hpp"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace corvenna {

struct opzioni_compila {
    std::filesystem::path linea;
    std::filesystem::path treno;
    std::filesystem::path cartella = ".";
    std::string nome;
    std::string numero_treno;
    bool senza_planimetria = false;
    bool json = false;
    bool avvisi_come_errori = false;
    // False for `controlla`: nothing is written.
    bool scrivi = true;
    // `controlla --watch`: run again on every save of either description.
    bool sorveglia = false;
};

// Runs the command; diagnostics go to `errori` (or, as JSON, to `uscita`) and the summary line
// to `errori`. Returns the exit status.
int esegui_compila(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_compila(CLI::App& app, azione_comando& azione);
void aggiungi_controlla(CLI::App& app, azione_comando& azione);

} // namespace corvenna
