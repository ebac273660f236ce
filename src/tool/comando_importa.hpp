#pragma once

// `scenario importa MAPPA`: a line description and a train description skeleton from map data
// (GPX, GeoJSON, the XML and PBF map files of ways and nodes), which `scenario compila`
// accepts as they are.

#include "tool/comando.hpp"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace corvenna {

struct richiesta_importa {
    std::filesystem::path mappa;
    // An elevation raster (GeoTIFF) whose heights replace the map's; empty for none.
    std::filesystem::path quota;
    std::filesystem::path cartella = ".";
    std::string nome;
    std::string treno = "0001";
    std::string da;
    std::string a;
    bool sovrascrivi = false;
    // The tolerance of the curve classes, in metres; from the path's noise when not given.
    std::optional<double> tolleranza;
    // Import a path that turns back, or that the fit leaves by far, with a warning.
    bool consenti = false;
};

// Reads the map, fits its path, builds the two descriptions, checks that they compile and
// writes them into `cartella` as one set. With `quota` the path's heights come from that raster
// where it covers them. The summary goes to `uscita`, the notes on what was
// dropped or changed and every failure to `errori`. Returns the exit status: 1 for a map that
// cannot be imported, 64 for a command line that cannot be served (and for descriptions of those
// names already there, without `sovrascrivi`); file failures throw errore_file.
int esegui_importa(const richiesta_importa& richiesta, std::ostream& uscita, std::ostream& errori);

void aggiungi_importa(CLI::App& app, azione_comando& azione);

} // namespace corvenna
