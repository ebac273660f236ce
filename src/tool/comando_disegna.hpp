#pragma once

// `scenario disegna CARTELLA|FILE...`: the picture of a compiled scenario, one self-contained
// HTML page with its plan, profile and timetable.

#include "tool/comando.hpp"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace corvenna {

struct opzioni_disegna {
    std::vector<std::filesystem::path> percorsi;
    std::string nome;
    std::string numero_treno;
    // Empty: NOME_NUMERO.html in the current directory; "-": standard output. A regular file or
    // a free name, never one of the files read.
    std::filesystem::path uscita;
    // Refuses a scenario whose files do not belong together, instead of warning.
    bool rigoroso = false;
};

// Reads the scenario and replaces the page's file whole. File failures throw errore_file, an
// output that must not be written errore_destinazione, both before anything is written.
int esegui_disegna(const opzioni_disegna& o, std::ostream& errori);

void aggiungi_disegna(CLI::App& app, azione_comando& azione);

} // namespace corvenna
