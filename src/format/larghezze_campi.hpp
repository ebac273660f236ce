#pragma once

// The widths of the binary files' fields that the compile, the writers and the reader all
// respect.

#include <cstddef>

namespace corvenna {

// The longest text a text field's 2-byte signed length can say.
inline constexpr std::size_t lunghezza_testo_massima = 32767;

} // namespace corvenna
