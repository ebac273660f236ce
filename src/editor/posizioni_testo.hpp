#pragma once

// Positions in an editor's document. The editor counts a position as a line (from 0) and a
// character offset in UTF-16 code units of the line's UTF-8 text; the compile counts a line (from
// 1) and a column in single-byte characters. Lines end with LF, CR LF or a lone CR, as the editor
// ends them.

#include <cstddef>
#include <string_view>

namespace corvenna {

struct posizione_lsp {
    int riga = 0;
    int carattere = 0;
    friend bool operator==(const posizione_lsp&, const posizione_lsp&) = default;
};

// The byte offset where line `riga` begins; the text's size when the text has fewer lines.
std::size_t inizio_riga(std::string_view testo, int riga);

// Line `riga` without its line end; empty past the last line.
std::string_view riga_di(std::string_view testo, int riga);

// The byte offset in `testo` of `p`. A character past the line's end stands at its end, a line
// past the text's end at the text's end, so any position an editor sends names a place.
std::size_t offset_di(std::string_view testo, posizione_lsp p);

// The byte offset in `riga` of `carattere` UTF-16 units, and the reverse. A unit in the middle of
// a surrogate pair or a byte inside a UTF-8 sequence rounds down to the character's start.
std::size_t byte_da_utf16(std::string_view riga, int carattere);
int utf16_da_byte(std::string_view riga, std::size_t byte);

// The UTF-16 offset of the character (from 0) `indice` characters into `riga`; a malformed byte
// counts as one character, as it does once converted to a single-byte character.
int utf16_da_caratteri(std::string_view riga, int indice);

// Whether `testo` is well-formed UTF-8 throughout.
bool utf8_valido(std::string_view testo);

} // namespace corvenna
