#pragma once

// The answers read from the document's own text: hover on a field (with what the compile made
// of it, told by the caller), completion of sections, keywords and row snippets, and the
// document's symbols. Each returns the "result" of its
// request as the protocol shapes it.

#include "base/descrizione.hpp"
#include "editor/posizioni_testo.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>

namespace corvenna {

// A Hover, or null where the position holds no field.
// `descrivi_metro` tells what the compile made at a route metre (empty: nothing to tell).
nlohmann::json hover_campo(std::string_view testo, descrizione d, posizione_lsp p,
                           const std::function<std::string(long long)>& descrivi_metro);

// A CompletionList: at a line's keyword field, the sections and the rows of `d` (each row a
// snippet with its fields as named placeholders); in a value, nothing.
nlohmann::json completamenti(std::string_view testo, descrizione d, posizione_lsp p);

// DocumentSymbol[]: the sections, and in them the stations, signals, tunnels and reliefs and
// boards by name and position.
nlohmann::json simboli_documento(std::string_view testo, descrizione d);

} // namespace corvenna
