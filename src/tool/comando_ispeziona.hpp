#pragma once

// `scenario ispeziona CARTELLA|FILE...|LINEA TRENO`: a compiled scenario read back (or two
// descriptions compiled in memory) and shown whole, as one JSON object or one CSV table, or
// asked about: what binds the train and what stands at a metre, at a driver's kilometre, or
// over a stretch, one line of text per 50 m by default.

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
    // "testo", "json" or "csv"; empty: "testo" for a query, "json" for the whole scenario.
    std::string formato;
    // "tratti", "voci", "celle" or "planimetria" (CSV only); empty: "tratti".
    std::string tabella;
    // Queries: a route metre; a driver's kilometre ("42.3", "42+300"); a stretch, whose ends
    // are route metres when written as whole numbers ("41000") and driver's kilometres
    // otherwise ("39+500", "39.5").
    std::optional<double> al_metro;
    std::string al_km;
    std::string da;
    std::string a;
    // The file to write (replaced whole): a regular file or a free name, never one of the files
    // read; standard output when not given or "-".
    std::optional<std::filesystem::path> uscita;
    // Refuses a scenario whose files do not belong together, instead of warning.
    bool rigoroso = false;
};

// Runs the command, writing to `uscita` unless a file is given and reporting to `errori`.
// Returns the exit status; a damaged file throws errore_lettura, a file that cannot be read or
// written errore_file.
int esegui_ispeziona(const opzioni_ispeziona& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_ispeziona(CLI::App& app, azione_comando& azione);

} // namespace corvenna
