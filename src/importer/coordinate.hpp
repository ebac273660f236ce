#pragma once

// The checks every map reader makes on a coordinate pair before it trusts it.

#include <cmath>

namespace corvenna {

inline bool coordinate_valide(double longitudine, double latitudine) {
    return std::isfinite(longitudine) && std::isfinite(latitudine) && longitudine >= -180 &&
           longitudine <= 180 && latitudine >= -90 && latitudine <= 90;
}

} // namespace corvenna
