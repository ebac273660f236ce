#pragma once

// The plan view of the line: one point per metre, each computed from the two before it, in
// double precision. A curve turns the direction by about k radians per metre (toward +x for
// k > 0 when the line starts along +y); the step length is not renormalised.

#include <cstdint>
#include <string_view>

namespace corvenna {

struct costruzione;

// Curvature per metre of the classes 1 to 6 (radii 10000 m down to about 333 m).
double curvatura_classe(int classe);

// What a curve keyword field says, read by its letters: the class is the lowest digit 1 to 6
// anywhere in it (0 for none), `cifre` how many different class digits it holds, and any "s"
// or "S" turns the curve to the left ("curva destra 1000" is a class-1 left curve).
struct curva_letta {
    int classe = 0;
    int cifre = 0;
    bool sinistra = false;
};
curva_letta leggi_curva(std::string_view campo);

// Metres 0 and 1: (0, 0) and (0, 1), as 16-bit integers; nothing without the points.
void inizia_planimetria(costruzione& c);

// Extends the plan view from metre `metro` while `metro` <= `fino_a`, straight or curved with
// curvature k; the straight step is its own formula, not a curve with k = 0. Returns false,
// without writing it, when the next metre would pass the last metre the plan view fills
// (`lunghezza_totale` - 2). Without the points (`punti_planimetria` false) only `metro` moves.
bool estendi_rettilineo(costruzione& c, std::int32_t& metro, std::int64_t fino_a);
bool estendi_curva(costruzione& c, std::int32_t& metro, std::int64_t fino_a, double k);

} // namespace corvenna
