#pragma once

// The scenario's line description: the route, its curves, gradients, tunnel, speed boards and
// text boards, as the text lines the writer puts into the file.

#include <array>
#include <string_view>

namespace corvenna {

inline constexpr int numero_righe_linea = 150;

// The lines of the line description in file order, then the end marker.
extern const std::array<std::string_view, numero_righe_linea + 1> righe_linea;

} // namespace corvenna
