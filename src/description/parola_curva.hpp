#pragma once

// The curve keyword's rule: what a curve row's keyword field says by its letters, and the
// curvature of each class. The compiler, the checking pass and the language server read a curve
// through it.

#include <string_view>

namespace corvenna {

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

} // namespace corvenna
