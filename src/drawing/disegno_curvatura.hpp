#pragma once

// The curves of the line, read back from the plan view: where the track turns, which way and
// how sharply. The plan view holds a point a metre; the turn between two successive steps,
// divided by the step, is the curvature of that metre. Runs of metres with the same hand and
// the same radius (within 3 %) are one curve. The description's curve classes come back as
// their round radii (10000, 5000, 2500, 1000, 500 and 333 m).

#include "model/costruzione.hpp"

#include <cstdint>
#include <vector>

namespace corvenna {

struct curva_disegno {
    // Metres: from the last straight point to the last point that turned, as the description's
    // start and start plus length.
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
    double raggio = 0;   // metres
    bool destra = false; // turns to the right of the direction of travel
};

// The curves from metre 0 to `fino` (at most the plan view's last metre), in route order;
// none without a plan view.
std::vector<curva_disegno> curve_planimetria(const costruzione& c, std::int64_t fino);

} // namespace corvenna
