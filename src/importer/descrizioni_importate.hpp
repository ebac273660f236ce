#pragma once

// The two descriptions of an imported line: the line (length, one kilometric system from the
// start, curves and gradients from the fitted geometry, tunnels as relief stretches of the tunnel
// variant, level crossings as route signs) and a train skeleton (speed limits, stations with
// their platforms and times). Every feature lands on a position the compiler accepts: multiples
// of 50, within the route, stations 350 m apart, at most 78 stations and route signs, no two
// point features on one cell. What had to be dropped or moved is told as a note naming the map
// element.

#include "importer/geometria_importata.hpp"
#include "importer/mappa_importata.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvenna {

struct opzioni_descrizioni {
    // The platform length of a station whose map gives none, in metres (a multiple of 100).
    std::int32_t marciapiede = 300;
    // The speed limit where the map gives none, in km/h (a multiple of 5).
    std::int32_t velocita = 100;
    // How far from the path a station may lie and still be one of its stops, in metres.
    double distanza_stazione = 300;
};

struct descrizioni_importate {
    // Windows-1252 text with CR LF line ends, as the files hold it.
    std::string linea;
    std::string treno;
    std::size_t stazioni = 0;
    std::size_t passaggi_livello = 0;
    std::size_t gallerie = 0;
    std::size_t limiti_velocita = 0;
    std::vector<nota_importazione> note;
};

// Builds the descriptions of `mappa`'s path from its fitted `geometria` (whose `progressiva`
// gives each path point's position).
descrizioni_importate componi_descrizioni(const mappa_importata& mappa,
                                          const geometria_importata& geometria,
                                          const opzioni_descrizioni& opzioni);

} // namespace corvenna
