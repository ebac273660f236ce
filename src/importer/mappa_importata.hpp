#pragma once

// What a map reader takes from a map: one path in running order (already chained from the map's
// ways) and the features along it, each with the map element it came from, so that everything
// the import drops or changes can be told with the input's own element id or point index.

#include "importer/geometria_importata.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

// A note on something the import dropped or changed: the map element ("nodo 123", "via 45",
// "punto 7") and what happened to it.
struct nota_importazione {
    std::string elemento;
    std::string messaggio;
};

// A station named on the map, at its own coordinates: a station beside the track is projected
// onto the path when the descriptions are built. `marciapiede` is the platform length in metres
// when the map gives it.
struct stazione_mappa {
    std::string nome;
    double longitudine = 0;
    double latitudine = 0;
    std::optional<double> marciapiede;
    std::string elemento;
};

// A point feature on the path itself (a level crossing), at the path point `indice`.
struct punto_mappa {
    std::size_t indice = 0;
    std::string elemento;
};

// A stretch of the path (a tunnel), from point `da` to point `a`.
struct tratto_mappa {
    std::size_t da = 0;
    std::size_t a = 0;
    std::string elemento;
};

// A speed limit in km/h that holds from the path point `da` on.
struct limite_mappa {
    std::size_t da = 0;
    double kmh = 0;
    std::string elemento;
};

struct mappa_importata {
    std::vector<punto_geografico> percorso;
    // The map element of each path point ("nodo 123", "punto 7"), for messages.
    std::vector<std::string> elementi_punti;
    // When the track passed each path point, in seconds since 1970-01-01 UTC (a GPX point's
    // time): one per point, or none when the map gives no times.
    std::vector<std::optional<double>> tempi_punti;
    std::vector<stazione_mappa> stazioni;
    std::vector<punto_mappa> passaggi_livello;
    std::vector<tratto_mappa> gallerie;
    std::vector<limite_mappa> velocita;
    std::vector<nota_importazione> note;
};

// Why a map cannot be imported: what is wrong and where (an element id, a point index, a line
// and column of the text, a byte offset).
struct errore_mappa {
    std::string dove;
    std::string messaggio;
};

struct esito_mappa {
    std::optional<mappa_importata> mappa;
    std::optional<errore_mappa> errore;
};

inline esito_mappa mappa_fallita(std::string dove, std::string messaggio) {
    return {std::nullopt, errore_mappa{std::move(dove), std::move(messaggio)}};
}

} // namespace corvenna
