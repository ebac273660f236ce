#pragma once

// The curves of the line, read back from the plan view: where the track turns, which way, how
// sharply and with which of the description's classes. The plan view holds a point a metre; the
// turn between two successive steps, divided by the step, is the curvature of that metre. Runs
// of metres with the same hand and the same curvature (within 3 %) are one curve, from the
// last straight point to the last point that turned: the description's start and start plus
// length.

#include "model/costruzione.hpp"

#include <cstdint>
#include <vector>

namespace corvenna {

struct curva_planimetria {
    std::int64_t da_metro = 0;
    std::int64_t a_metro = 0;
    bool destra = false; // turns to the right of the direction of travel
    // The description's class 1 to 6 whose curvature the run has (within 3 %); 0 for none.
    int classe = 0;
    double raggio_m = 0; // the class's round radius, or the run's own
};

// The curves from metre 0 to `fino` (at most the plan view's last metre), in route order; none
// without a plan view.
std::vector<curva_planimetria> curve_lette_planimetria(const costruzione& c, std::int64_t fino);

} // namespace corvenna
