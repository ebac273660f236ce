#pragma once

// The lines of the scenario notes, the free-form text the driver reads before the run.

#include <array>
#include <cstddef>
#include <string_view>

namespace corvenna {

inline constexpr std::size_t numero_righe_note = 170;

// One line per element, in the order written, followed by the end marker.
extern const std::array<std::string_view, numero_righe_note + 1> righe_note;

} // namespace corvenna
