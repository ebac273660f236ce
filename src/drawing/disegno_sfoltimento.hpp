#pragma once

// Thinning of a polyline to what a screen can show: the points that keep the line within a
// tolerance of the original, found by recursive subdivision (keep the point farthest from the
// chord while it lies beyond the tolerance). The line is cut into chunks of bounded length
// first, so a line of a million points costs the same per point as a short one; a chunk
// boundary the line does not need is dropped again at the end.

#include <cstddef>
#include <span>
#include <vector>

namespace corvenna {

// How far, in SVG units, the thinning may move a drawn line: below a pixel even at twice the
// page's normal size.
inline constexpr double tolleranza_svg = 0.2;

struct punto {
    double x = 0;
    double y = 0;
};

// The indices of the points kept, ascending: always the first and the last, and every point
// in `obbligati` (indices that must stay, such as the ends of a stretch drawn differently).
// Every dropped point lies within `tolleranza` of the segment between its kept neighbours.
std::vector<std::size_t> sfoltisci(std::span<const punto> punti, double tolleranza,
                                   std::span<const std::size_t> obbligati = {});

} // namespace corvenna
