#pragma once

// The constant lines of the train card, in the order they are written.

#include <array>
#include <string_view>

namespace corvenna {

inline constexpr int numero_righe_scheda = 53;

// The card's lines followed by the end marker `fine_tabella`.
extern const std::array<std::string_view, numero_righe_scheda + 1> righe_scheda;

} // namespace corvenna
