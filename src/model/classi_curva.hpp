#pragma once

// The six curve classes of the line description: the turn each class gives the plan view per
// metre, class 1 first (radii 10000 m down to about 333 m).

#include <array>

namespace corvenna {

inline constexpr std::array<double, 6> curvature_classi{0.0001, 0.0002, 0.0004,
                                                        0.001,  0.002,  0.003};

} // namespace corvenna
