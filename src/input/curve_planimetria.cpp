#include "input/curve_planimetria.hpp"

#include "model/classi_curva.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace corvenna {

namespace {

// A turn below this per metre (a radius above 50 km) is straight track, and the noise of the
// plan view's arithmetic stays below it.
constexpr double curvatura_minima = 2e-5;

struct punto_piano {
    double x = 0;
    double y = 0;
};

std::optional<punto_piano> punto_al_metro(const costruzione& c, std::int64_t metro) {
    const asse_planimetria& x = c.planimetria[asse_x];
    const asse_planimetria& y = c.planimetria[asse_y];
    if (metro < 0 || static_cast<std::size_t>(metro) >= std::min(x.size(), y.size()))
        return std::nullopt;
    const auto m = static_cast<std::size_t>(metro);
    if (x.tipo(m) == tipo_valore::vuoto || y.tipo(m) == tipo_valore::vuoto)
        return std::nullopt;
    const punto_piano p{x.numero(m), y.numero(m)};
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::nullopt;
    return p;
}

// The class whose curvature is within 3 % of `curvatura`, 0 for none.
int classe_di(double curvatura) {
    for (std::size_t i = 0; i < curvature_classi.size(); ++i)
        if (std::abs(curvatura - curvature_classi[i]) <= 0.03 * curvature_classi[i])
            return static_cast<int>(i) + 1;
    return 0;
}

double raggio_di(double curvatura, int classe) {
    return std::round(
        1 / (classe != 0 ? curvature_classi[static_cast<std::size_t>(classe - 1)] : curvatura));
}

} // namespace

std::vector<curva_planimetria> curve_lette_planimetria(const costruzione& c, std::int64_t fino) {
    std::vector<curva_planimetria> curve;
    std::optional<punto_piano> a, b;
    std::optional<curva_planimetria> aperta;
    const auto chiudi = [&](std::int64_t m) {
        if (aperta) {
            aperta->a_metro = m;
            curve.push_back(*aperta);
            aperta.reset();
        }
    };
    for (std::int64_t m = 0; m <= fino; ++m) {
        const std::optional<punto_piano> p = punto_al_metro(c, m);
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
                const int classe = classe_di(std::abs(k));
                const double raggio = raggio_di(std::abs(k), classe);
                const bool destra = k < 0;
                if (aperta && (aperta->destra != destra ||
                               std::abs(aperta->raggio_m - raggio) > 0.03 * aperta->raggio_m))
                    chiudi(m - 1);
                if (!aperta)
                    aperta = curva_planimetria{m - 1, m - 1, destra, classe, raggio};
            }
        }
        a = b;
        b = p;
    }
    chiudi(fino);
    return curve;
}

} // namespace corvenna
