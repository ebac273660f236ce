#pragma once

// A station name from a map as the train description holds it: Windows-1252 capitals, one text
// field (no comma, no quote, no control byte), never empty.

#include <cstddef>
#include <optional>
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

// The longest station name a map may give, in characters: the map data's own limit for a tag
// value. The readers refuse a longer one, naming its element, before it is kept.
inline constexpr std::size_t caratteri_nome_massimi = 255;

// Why the UTF-8 name `utf8` cannot be a station's name (it is longer than
// caratteri_nome_massimi), or std::nullopt when it can.
std::optional<std::string> nome_troppo_lungo(std::string_view utf8);

// The longest platform length a map may give, in metres; a length outside (0, this] is left out
// with a note, never rounded into the description.
inline constexpr double marciapiede_massimo_m = 10000;

// `metri` when it is a platform length a map may give, std::nullopt otherwise.
std::optional<double> marciapiede_plausibile(std::optional<double> metri);

// The note for a platform length the map writes as `testo` that is out of range.
std::string marciapiede_fuori_intervallo(std::string_view testo);

} // namespace corvenna
