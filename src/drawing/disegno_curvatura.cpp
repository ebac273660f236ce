#include "drawing/disegno_curvatura.hpp"

#include "drawing/disegno_planimetria.hpp"

#include <array>
#include <cmath>
#include <optional>

namespace corvenna {

namespace {

// A turn below this per metre (a radius above 50 km) is straight track, and the noise of the
// plan view's arithmetic stays below it.
constexpr double curvatura_minima = 2e-5;

// The radius of a curvature, snapped to a description class when it is within 3 % of one.
double raggio_di(double curvatura) {
    static constexpr std::array<double, 6> classi{0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
    for (const double k : classi)
        if (std::abs(curvatura - k) <= 0.03 * k)
            return std::round(1 / k);
    return std::round(1 / curvatura);
}

} // namespace

std::vector<curva_disegno> curve_planimetria(const costruzione& c, std::int64_t fino) {
    std::vector<curva_disegno> curve;
    std::optional<punto> a, b;
    std::optional<curva_disegno> aperta;
    const auto chiudi = [&](std::int64_t m) {
        if (aperta) {
            aperta->fine = m;
            curve.push_back(*aperta);
            aperta.reset();
        }
    };
    for (std::int64_t m = 0; m <= fino; ++m) {
        const std::optional<punto> p = punto_planimetria(c, m);
        if (!p) {
            chiudi(m);
            a.reset();
            b.reset();
            continue;
        }
        if (a && b) {
            const double x1 = b->x - a->x, y1 = b->y - a->y;
            const double x2 = p->x - b->x, y2 = p->y - b->y;
            const double l = std::hypot(x1, y1) * std::hypot(x2, y2);
            // A damaged plan view's huge values may overflow: such a turn is no curve.
            double k = l > 0 ? (x1 * y2 - y1 * x2) / l : 0;
            if (!std::isfinite(k))
                k = 0;
            // The step into metre m turned: the curve holds metre m - 1 on.
            if (std::abs(k) < curvatura_minima) {
                chiudi(m - 1);
            } else {
                const double raggio = raggio_di(std::abs(k));
                const bool destra = k < 0;
                if (aperta && (aperta->destra != destra ||
                               std::abs(aperta->raggio - raggio) > 0.03 * aperta->raggio))
                    chiudi(m - 1);
                if (!aperta)
                    aperta = curva_disegno{m - 1, m - 1, raggio, destra};
            }
        }
        a = b;
        b = p;
    }
    chiudi(fino);
    return curve;
}

} // namespace corvenna
