#pragma once

// The answers that need only the document's own text: hover on a field, completion of sections,
// keywords and row snippets, and the document's symbols. Each returns the "result" of its
// request as the protocol shapes it.

#include "base/descrizione.hpp"
#include "editor/posizioni_testo.hpp"

#include <nlohmann/json.hpp>

#include <string_view>

namespace corvenna {

// A Hover, or null where the position holds no field.
nlohmann::json hover_campo(std::string_view testo, descrizione d, posizione_lsp p);

// A CompletionList: at a line's keyword field, the sections and the rows of `d` (each row a
// snippet with its fields as named placeholders); in a value, nothing.
nlohmann::json completamenti(std::string_view testo, descrizione d, posizione_lsp p);

// DocumentSymbol[]: the sections, and in them the stations, signals, tunnels and reliefs and
// boards by name and position.
nlohmann::json simboli_documento(std::string_view testo, descrizione d);

// "km 2+800": a position in metres as a kilometre and metres from the route's start.
std::string chilometrica(long long metri);

} // namespace corvenna
