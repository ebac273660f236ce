#pragma once

// The one way the tool reads a JSON text it is given (a language server's message, a GeoJSON
// map): nlohmann-json's parser, with a bound on nesting checked while it parses. A value nested
// deeper than the bound is refused at its opening bracket, before the value is built, so a
// hostile text of a million brackets costs neither stack (copying, printing or comparing a value
// recurses once a level) nor memory.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace corvenna {

// Arrays and objects one inside another: a language server's message needs under ten, a
// GeoJSON geometry under six.
inline constexpr int profondita_massima_json = 64;

// Why a text is no value the tool reads.
enum class difetto_json {
    nessuno,
    // Not JSON: a syntax error, at `byte`.
    sintassi,
    // Arrays and objects nested deeper than profondita_massima_json.
    profondita,
    // A number beyond a double's range (1e9999).
    numero,
};

struct json_letto {
    // The value; null unless `difetto` is `nessuno`.
    nlohmann::json valore;
    difetto_json difetto = difetto_json::nessuno;
    // For a syntax error, the byte where the parser stopped, counted from 1 as it counts them.
    std::size_t byte = 0;

    bool riuscito() const { return difetto == difetto_json::nessuno; }
};

json_letto leggi_json(std::string_view testo);

// The reason in words: "JSON non valido al byte 12", "JSON annidato oltre 64 livelli", "JSON con
// un numero fuori dall'intervallo"; empty for a value read.
std::string testo_difetto(const json_letto& letto);

} // namespace corvenna
