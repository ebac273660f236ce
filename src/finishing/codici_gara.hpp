#pragma once

#include <cstdint>
#include <string_view>

namespace corvenna {

struct costruzione;

inline constexpr std::string_view alfabeto_codice = "kkllppqqrrssttuuvvwwxxyyzz";

// The position-weighted and the plain sum of the character codes of the first 25 characters
// of the train number, the scenario name (both lower-cased) and the fill text. Each leaves its
// working text in `linea`.
std::int32_t codice_gara_st(costruzione& c);
std::int16_t codice_gara_og(costruzione& c);

} // namespace corvenna
