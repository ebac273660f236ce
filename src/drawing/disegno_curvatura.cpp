#include "drawing/disegno_curvatura.hpp"

#include "input/curve_planimetria.hpp"

namespace corvenna {

// The page draws the curves that `ispeziona` lists: one reading of the plan view.
std::vector<curva_disegno> curve_planimetria(const costruzione& c, std::int64_t fino) {
    std::vector<curva_disegno> curve;
    for (const curva_planimetria& k : curve_lette_planimetria(c, fino))
        curve.push_back(curva_disegno{k.da_metro, k.a_metro, k.raggio_m, k.destra});
    return curve;
}

} // namespace corvenna
