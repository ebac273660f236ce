#pragma once

// The scenario's train description: composition, clock, adhesion, speed limits, stations and
// signals, as the text lines the writer puts into the file.

#include <array>
#include <string_view>

namespace corvenna {

inline constexpr int numero_righe_treno = 67;

// The lines of the train description in file order, then the end marker.
extern const std::array<std::string_view, numero_righe_treno + 1> righe_treno;

} // namespace corvenna
