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

// What the compile of the document's pair made, for the hovers: at a route metre, the account
// of its cell, and the kilometre the driver reads there ("km 2+600"). Each gives an empty text
// when it has nothing to tell (no compiled pair, a metre past the cells); either may be unset.
struct compilazione_coppia {
    std::function<std::string(long long)> descrivi_metro;
    std::function<std::string(long long)> chilometro;
    // What the dry run says of the row on a line (from 1) of this document (hover_marcia).
    std::function<std::string(int)> marcia_riga;
};

// A Hover, or null where the position holds no field.
nlohmann::json hover_campo(std::string_view testo, descrizione d, posizione_lsp p,
                           const compilazione_coppia& compilata);

// A CompletionList: at a line's keyword field, the sections and the rows of `d` (each row a
// snippet with its fields as named placeholders); in a value, nothing.
nlohmann::json completamenti(std::string_view testo, descrizione d, posizione_lsp p);

// DocumentSymbol[]: the sections, and in them the stations, signals, tunnels and reliefs and
// boards by name and position, with the driver's kilometre where the compiled pair gives it.
nlohmann::json simboli_documento(std::string_view testo, descrizione d,
                                 const compilazione_coppia& compilata);

} // namespace corvenna
