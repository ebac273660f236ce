#pragma once

// The plan of a path in the plane expressed as curve rows. A row can only say one of six
// curvatures per metre, with a hand, from a whole metre over whole metres, and the compiler
// integrates the plan one metre at a time from the two metres before. So the fit integrates the
// same way and chooses every metre's curvature by steering toward a reference: a closed loop on
// the heading and the lateral offset. A radius between two classes comes out as the two classes
// in turn, with the track held on the reference within the tolerance, and nothing that a
// rounding loses at one metre is lost for the rest of the line.
//
// The reference depends on the points. Points that lie on a smooth curve (a drawn or surveyed
// line) are the alignment: the reference is a narrow smoothing of them. Points scattered about
// it (a track a receiver recorded) are not: the alignment is fitted as a railway is built, out of
// straights and circular arcs. The heading of a smoothed copy of the path, every 10 m, is cut by
// a penalised least-squares segmentation (`segmentazione.hpp`) into pieces of constant
// curvature, the penalty from the heading's own noise; a piece whose curvature the noise could
// make is a straight. Each piece is laid on the points by least squares, and neighbouring pieces
// are joined by a short linear change of curvature.

#include "importer/geometria_importata.hpp"
#include "importer/proiezione.hpp"

#include <cstdint>
#include <optional>
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
    // The point where the plan lies farthest from the points (an index into them).
    std::size_t punto_scarto_massimo = 0;
    // The scatter of the points about the fitted alignment (root mean square, metres): the noise
    // of the path.
    double rumore = 0;
    // Whether the points were taken as scattered about the alignment.
    bool disperso = false;
    // The tolerance the classes were held to, in metres.
    double tolleranza = 0;
    // Curves tighter than the tightest class: where they start (the plan's metre) and their
    // radius.
    struct curva_stretta {
        double metro = 0;
        double raggio = 0;
    };
    std::vector<curva_stretta> curve_strette;
};

struct regole_planimetria {
    // How far the plan may lie from the alignment while a radius between two classes alternates
    // them, in metres: more gives fewer rows. Without it, from the points' noise.
    std::optional<double> tolleranza;
};

// Fits the path: points in the plane, at least two, consecutive points distinct.
planimetria_adattata adatta_planimetria(std::span<const punto_piano> punti,
                                        const regole_planimetria& regole = {});

// The plan view the compiler draws from the rows, metres 0 to `lunghezza`: metre 0 at (0, 0),
// metre 1 at (0, 1), each further metre from the two before it, straight or turned by the
// row's curvature (toward +x for a right-hand row), the step never renormalised.
std::vector<punto_piano> integra_curve(std::span<const riga_curva> curve, std::int32_t lunghezza);

} // namespace corvenna
