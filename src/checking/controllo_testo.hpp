#pragma once

// The checking pass over the text of both descriptions, row by row, apart from the compile: it
// goes on after any fault (at the next row) and reports, at the field that causes it, what the
// compile reads otherwise than written or drops without a word: a row short of values (which
// takes them from the next row), separators that are not commas, unknown keywords and headers
// (with the nearest known one), a keyword read by its letters in another sense, features past
// the route's end, wrapped values, cleared kilometric systems, times that cannot be, an empty
// train.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace corvenna {

struct esito_controllo_testo {
    elenco_diagnostiche diagnostiche;
    // The route length the line description gives, when it gives one that reads.
    std::optional<std::int32_t> lunghezza_percorso;
    // Rows whose fields the compile reads across other rows (values taken from the next row, a
    // keyword read out of a comment): a compile run again to find later faults leaves them out.
    std::map<descrizione, std::set<int>> righe_guaste;
    // The margin the compile's range check gives each row with a position (100 m, a station
    // 800 m), by description and line: the message of a refused position names the real limit.
    std::map<std::pair<descrizione, int>, int> margini;
    // What a row whose value does not read (the compile's code 25) most likely lacks, by
    // description and line: a time written in one field, a value missing before a text.
    std::map<std::pair<descrizione, int>, std::string> letture_fallite;
};

esito_controllo_testo controlla_testi(std::string_view linea, std::string_view treno);

// The last position a row may give before the compile refuses it (code 15): the track runs
// 7000 m past the route's end, and a row needs `margine` metres of it.
std::int64_t ultima_posizione(std::int32_t lunghezza_percorso, int margine);

} // namespace corvenna
