#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;

// The value of every abbattimento cell that the finishing pass places.
inline constexpr std::int16_t valore_abbattimento = 180;

// The smaller of two values; with equal values, `x`.
inline std::int16_t minimo(std::int16_t x, std::int16_t y) {
    return x > y ? y : x;
}

// The finishing pass over the cells: the abbattimento cells around signals before a slowdown
// warning board, before and along each slowdown, and before the first signal after it.
void rifinitura(costruzione& c);

} // namespace corvenna
