#pragma once

// Conversion of real values and positions to integers and cells. Every rounding in the build
// goes to the nearest integer with halves to the even neighbour (the default rounding mode),
// never away from zero.

#include <cmath>
#include <cstdint>

namespace corvenna {

inline constexpr double lunghezza_cella = 50.0;

inline std::int64_t arrotonda(double q) {
    return static_cast<std::int64_t>(std::nearbyint(q));
}

// The cell a stretch or fill boundary at position p falls on: p / 50.
inline std::int64_t cella_di(std::int64_t p) {
    return arrotonda(static_cast<double>(p) / lunghezza_cella);
}

// The cell a point feature at position p goes to: the whole quotient p / 50 + 1, rounded. At a
// half this differs from cella_di(p) + 1.
inline std::int64_t cella_puntuale(std::int64_t p) {
    return arrotonda(static_cast<double>(p) / lunghezza_cella + 1.0);
}

inline bool multiplo_di(std::int64_t valore, std::int64_t passo) {
    return valore % passo == 0;
}

} // namespace corvenna
