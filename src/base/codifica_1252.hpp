#pragma once

// Conversion between UTF-8 and the single-byte Windows-1252 code page in which every text file
// and every name in the binary files is written.

#include <stdexcept>
#include <string>
#include <string_view>

namespace corvenna {

class errore_codifica : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws errore_codifica for malformed UTF-8 and for a character that has no single byte.
std::string in_1252(std::string_view utf8);

// The UTF-8 text of Windows-1252 bytes, for showing names read from the files. The five bytes
// the code page leaves unassigned become U+FFFD.
std::string da_1252(std::string_view byte_1252);

// Whether `b` is one of the five bytes the code page leaves without a character.
constexpr bool senza_carattere_1252(unsigned char b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Appends `b` as the text every output shows for a byte that must not reach it raw: a backslash,
// "x" and two lower-case hex digits ("\x1b").
void aggiungi_byte_escapato(std::string& uscita, unsigned char b);

} // namespace corvenna
