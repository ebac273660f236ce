#pragma once

// One line of a description cut into its fields by the description's row cutter, as the reader
// cuts it when the line is a row: the keyword field, then each value by its type. Enough for
// hover, symbols and completion; the compile reads the file as one stream and has the last
// word.

#include "base/descrizione.hpp"
#include "editor/catalogo_righe.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvenna {

struct campo_letto {
    // Byte range of the field in the line, blanks around it excluded.
    std::size_t inizio = 0;
    std::size_t fine = 0;
    std::string_view testo;
};

struct riga_letta {
    std::vector<campo_letto> campi;
    // The row the keyword field (the first) names, or nullptr.
    const voce_riga* voce = nullptr;
};

riga_letta leggi_riga(std::string_view riga, descrizione d);

// The index of the field that holds byte `byte`, or that the blanks before it lead to; -1 for
// none (an empty line, a place past the last field).
int campo_a(const riga_letta& r, std::size_t byte);

} // namespace corvenna
