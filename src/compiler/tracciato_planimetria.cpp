#include "compiler/tracciato_planimetria.hpp"

#include "model/costruzione.hpp"

#include <array>

namespace corvenna {

namespace {

struct punti_precedenti {
    double x1, y1, dx, dy;
};

punti_precedenti precedenti(const costruzione& c, std::int32_t metro) {
    const auto& px = c.planimetria[asse_x];
    const auto& py = c.planimetria[asse_y];
    const double x1 = px.numero(metro - 1);
    const double y1 = py.numero(metro - 1);
    return {x1, y1, x1 - px.numero(metro - 2), y1 - py.numero(metro - 2)};
}

bool metro_ammesso(const costruzione& c, std::int32_t metro) {
    return metro >= 2 && metro <= c.lunghezza_totale - 2;
}

// Without the points (`punti_planimetria` false): the metres pass and stop at the same bound as
// they do while the points are computed, in one step.
bool avanza_senza_punti(const costruzione& c, std::int32_t& metro, std::int64_t fino_a) {
    if (metro > fino_a)
        return true;
    if (!metro_ammesso(c, metro))
        return false;
    const std::int64_t ultimo = static_cast<std::int64_t>(c.lunghezza_totale) - 2;
    if (fino_a <= ultimo) {
        metro = static_cast<std::int32_t>(fino_a + 1);
        return true;
    }
    metro = static_cast<std::int32_t>(ultimo + 1);
    return false;
}

} // namespace

void inizia_planimetria(costruzione& c) {
    if (c.planimetria[asse_x].empty())
        return;
    c.planimetria[asse_x][0] = std::int16_t{0};
    c.planimetria[asse_y][0] = std::int16_t{0};
    c.planimetria[asse_x][1] = std::int16_t{0};
    c.planimetria[asse_y][1] = std::int16_t{1};
}

bool estendi_rettilineo(costruzione& c, std::int32_t& metro, std::int64_t fino_a) {
    if (!c.punti_planimetria)
        return avanza_senza_punti(c, metro, fino_a);
    for (; metro <= fino_a; ++metro) {
        if (!metro_ammesso(c, metro))
            return false;
        const punti_precedenti p = precedenti(c, metro);
        c.planimetria[asse_x].imposta_doppio(metro, p.x1 + p.dx);
        c.planimetria[asse_y].imposta_doppio(metro, p.y1 + p.dy);
    }
    return true;
}

bool estendi_curva(costruzione& c, std::int32_t& metro, std::int64_t fino_a, double k) {
    if (!c.punti_planimetria)
        return avanza_senza_punti(c, metro, fino_a);
    for (; metro <= fino_a; ++metro) {
        if (!metro_ammesso(c, metro))
            return false;
        const punti_precedenti p = precedenti(c, metro);
        c.planimetria[asse_x].imposta_doppio(metro, p.x1 + p.dx + k * p.dy);
        c.planimetria[asse_y].imposta_doppio(metro, p.y1 + p.dy - k * p.dx);
    }
    return true;
}

} // namespace corvenna
