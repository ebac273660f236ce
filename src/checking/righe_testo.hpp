#pragma once

// A description cut into its lines as the reader counts them (CR LF, a lone CR and a lone LF each
// end a line), so that a check can look at one row at a time and name its line and columns.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

struct riga_testo {
    // Where the line's bytes begin in the text, and how many there are (without the line end).
    std::size_t inizio = 0;
    std::size_t lunghezza = 0;
};

std::vector<riga_testo> righe_di(std::string_view testo);

// The text with line `riga` (from 1) emptied: its bytes go, its line end stays, so every other
// line keeps its number.
std::string senza_riga(std::string_view testo, const std::vector<riga_testo>& righe, int riga);

} // namespace corvenna
