#pragma once

// The answers read from the document's own text: hover on a field (with what the compile made
// of it, told by the caller), completion of sections, keywords and row snippets, and the
// document's symbols. Each returns its answer as a plain value (editor/risposte_lsp.hpp).

#include "base/descrizione.hpp"
#include "editor/posizioni_testo.hpp"
#include "editor/risposte_lsp.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The hover of the field at `p`, or none where the position holds no field.
std::optional<hover_lsp> hover_campo(std::string_view testo, descrizione d, posizione_lsp p,
                                     const compilazione_coppia& compilata);

// At a line's keyword field, the rows of `d` (each a snippet with its fields as named
// placeholders) and the section headers, each label once: the rows of the section the line
// stands in first, then the other rows, then the headers (only the headers once the word starts
// with '['). In a value, nothing.
std::vector<completamento_lsp> completamenti(std::string_view testo, descrizione d,
                                             posizione_lsp p);

// The sections, and in them the stations, signals, tunnels and reliefs and boards by name and
// position, with the driver's kilometre where the compiled pair gives it.
std::vector<simbolo_lsp> simboli_documento(std::string_view testo, descrizione d,
                                           const compilazione_coppia& compilata);

} // namespace corvenna
