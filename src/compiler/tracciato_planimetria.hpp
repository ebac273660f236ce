#pragma once

// The plan view of the line: one point per metre, each computed from the two before it, in
// double precision. A curve turns the direction by about k radians per metre (toward +x for
// k > 0 when the line starts along +y); the step length is not renormalised. The curve
// keyword's rule (its class and hand) is the description's, included here for the compile.

#include "description/parola_curva.hpp"

#include <cstdint>

namespace corvenna {

struct costruzione;

// Metres 0 and 1: (0, 0) and (0, 1), as 16-bit integers; nothing without the points.
void inizia_planimetria(costruzione& c);

// Extends the plan view from metre `metro` while `metro` <= `fino_a`, straight or curved with
// curvature k; the straight step is its own formula, not a curve with k = 0. Returns false,
// without writing it, when the next metre would pass the last metre the plan view fills
// (`lunghezza_totale` - 2). Without the points (`punti_planimetria` false) only `metro` moves.
bool estendi_rettilineo(costruzione& c, std::int32_t& metro, std::int64_t fino_a);
bool estendi_curva(costruzione& c, std::int32_t& metro, std::int64_t fino_a, double k);

} // namespace corvenna
