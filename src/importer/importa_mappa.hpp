#pragma once

// The import of a map, from its bytes to the two descriptions: the reader of its format, the
// heights of an elevation raster when one is given, the fit of the path and the layout of the
// descriptions. What it dropped or changed comes back as notes, each on the file it concerns;
// what stops it comes back as an error on that file. The command line, the files and the
// printing are the tool's.

#include "importer/descrizioni_importate.hpp"
#include "importer/geometria_importata.hpp"
#include "importer/mappa_importata.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

enum class formato_mappa { gpx, geojson, osm_xml, osm_pbf };

struct richiesta_importazione {
    formato_mappa formato = formato_mappa::gpx;
    std::string_view mappa;
    // The bytes of an elevation raster whose heights replace the map's, when one is given.
    std::optional<std::string_view> raster;
    // The stations between which the path of a network map is taken (both or none).
    std::string da;
    std::string a;
    regole_geometria regole;
    opzioni_descrizioni opzioni;
};

// The file a note or an error concerns.
enum class file_importazione { mappa, raster };

struct nota_file {
    file_importazione file = file_importazione::mappa;
    nota_importazione nota;
};

struct importazione {
    mappa_importata mappa;
    geometria_importata geometria;
    descrizioni_importate descrizioni;
    // How many points took the raster's height (none without a raster).
    std::size_t punti_dal_raster = 0;
    // In the order they are told: the map's, the fit's, the layout's, the raster's.
    std::vector<nota_file> note;
};

struct errore_importazione {
    file_importazione file = file_importazione::mappa;
    // Where in the file: an element, a point, a line and column, "file" for the whole file.
    std::string dove;
    std::string messaggio;
};

struct esito_importazione {
    std::optional<importazione> importata;
    std::optional<errore_importazione> errore;
};

esito_importazione importa_mappa(const richiesta_importazione& richiesta);

} // namespace corvenna
