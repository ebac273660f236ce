#pragma once

// The plan of a path in the plane expressed as curve rows. A row can only say one of six
// curvatures per metre, with a hand, from a whole metre over whole metres, and the compiler
// integrates the plan one metre at a time from the two metres before. So the fit integrates the
// same way and chooses every metre's curvature by steering toward the path: a closed loop on
// the heading and the lateral offset from a smoothed copy of the path. A radius between two
// classes comes out as the two classes in turn, with the track held on the path, and nothing
// that a rounding loses at one metre is lost for the rest of the line.

#include "importer/geometria_importata.hpp"
#include "importer/proiezione.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace corvenna {

struct planimetria_adattata {
    // The route length: the plan's metre that first reaches the end of the path. A curved step
    // of the compiler is a little longer than a metre (it is never renormalised), so on a
    // winding line this is a little less than the path's length on the ground.
    std::int32_t lunghezza = 0;
    // The along-track position of every point given: the plan's metre, fractional, nearest to
    // it, the position a feature at that point takes in a description.
    std::vector<double> progressiva;
    // Ascending, non-overlapping, each within metres 1 to `lunghezza`.
    std::vector<riga_curva> curve;
    // The distance of each point given from the fitted plan, in the plan's frame (the start
    // at the origin, the start direction along +y).
    double scarto_massimo = 0;
    double scarto_medio = 0;
};

// Fits the path: points in the plane, at least two, consecutive points distinct.
planimetria_adattata adatta_planimetria(std::span<const punto_piano> punti);

// The plan view the compiler draws from the rows, metres 0 to `lunghezza`: metre 0 at (0, 0),
// metre 1 at (0, 1), each further metre from the two before it, straight or turned by the
// row's curvature (toward +x for a right-hand row), the step never renormalised.
std::vector<punto_piano> integra_curve(std::span<const riga_curva> curve, std::int32_t lunghezza);

} // namespace corvenna
