#pragma once

// Where each line of a description starts, found once, so that any number of diagnostics can
// show their source line without reading the text again from its start: a diagnostic knows its
// line number, so each look-up is one step into the table of starts.

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvenna {

// Lines end at CR LF, a lone CR or a lone LF, as the reader counts them. The text is not owned:
// it must outlive the index.
struct indice_righe {
    std::string_view testo;
    // The offset of each line's first byte: line n (from 1) starts at inizi[n - 1]. A text that
    // ends with a line end has one more, empty, line after it.
    std::vector<std::size_t> inizi;
};

indice_righe indicizza_righe(std::string_view testo);

// Line `riga` (from 1) without its line end; empty when there is no such line.
std::string_view riga_indicizzata(const indice_righe& indice, int riga);

} // namespace corvenna
