#pragma once

// The constant lines of the slowdown order, in the order they are written.

#include <array>
#include <string_view>

namespace corvenna {

inline constexpr int numero_righe_rallentamenti = 46;

// The form's lines followed by the end marker `fine_tabella`.
extern const std::array<std::string_view, numero_righe_rallentamenti + 1> righe_rallentamenti;

} // namespace corvenna
