#pragma once

// `scenario disegna CARTELLA|FILE...`: the picture of a scenario, one self-contained HTML page
// with its plan, profile and timetable. The scenario is a compiled one (a directory, or its
// binary files), or a line and a train description (two .txt files), compiled in memory with
// the plan view and never written; the tooltips then name each feature's description line.

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
    // The range the page opens on, as the command line gives it: kilometres of the route (the
    // distance from its origin, as the profile's axis counts), a decimal point or comma.
    std::string da_km;
    std::string a_km;
    // Draws again on every save of the files read, until Ctrl-C.
    bool sorveglia = false;
    // The train model whose dry run the page draws (a named model or a JSON file); none when
    // empty.
    std::string modello;
};

// Reads the scenario and replaces the page's file whole. File failures throw errore_file, an
// output that must not be written errore_destinazione, both before anything is written.
int esegui_disegna(const opzioni_disegna& o, std::ostream& errori);

// `--watch`: the page drawn now and again after each save of the descriptions or of the compiled
// files, each time told on `errori` with the page's name; the view's range stays in the page's
// address, so the browser's reload keeps it. 0 when Ctrl-C ends it.
int disegna_sorvegliando(const opzioni_disegna& o, std::ostream& errori);

void aggiungi_disegna(CLI::App& app, azione_comando& azione);

} // namespace corvenna
