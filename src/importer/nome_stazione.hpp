#pragma once

// A station name from a map as the train description holds it: Windows-1252 capitals, one text
// field (no comma, no quote, no control byte), never empty.

#include <string>
#include <string_view>

namespace corvenna {

struct nome_convertito {
    std::string testo; // Windows-1252 bytes
    // What was changed beyond the capitals, for a note; empty when nothing.
    std::string cambiamenti;
};

// Converts the UTF-8 name `utf8`: letters to capitals (accented ones too), a character without a
// Windows-1252 byte to "?", commas and quotes to blanks, control characters dropped, blanks
// trimmed; `riserva` when nothing is left.
nome_convertito nome_stazione(std::string_view utf8, std::string_view riserva);

} // namespace corvenna
