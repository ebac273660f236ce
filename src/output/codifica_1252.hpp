#pragma once

// Conversion of the program's UTF-8 source texts to the single-byte Windows-1252 code page in
// which every text file and every name in the binary files is written.

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

} // namespace corvenna
