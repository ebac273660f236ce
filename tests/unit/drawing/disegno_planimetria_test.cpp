#include "modello_disegno.hpp"

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_planimetria.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

constexpr double larghezza = 1300;
constexpr double altezza = 290;

punto metro_planimetria(const costruzione& c, int metro) {
    return *punto_planimetria(c, metro);
}

double distanza_dalla_polilinea(punto p, const std::vector<punto>& linea) {
    double minima = INFINITY;
    for (std::size_t i = 0; i + 1 < linea.size(); ++i) {
        const punto a = linea[i];
        const punto b = linea[i + 1];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double l2 = dx * dx + dy * dy;
        const double t =
            l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
        minima = std::min(minima, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return minima;
}

void expect_punto(punto effettivo, punto atteso) {
    EXPECT_NEAR(effettivo.x, atteso.x, 1e-9);
    EXPECT_NEAR(effettivo.y, atteso.y, 1e-9);
}

TEST(DisegnoPlanimetria, AStraightLineLiesAlongThePanelFromLeftToRightWithTwoPointsPerPart) {
    const costruzione c =
        modello(linea({}), treno({"stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  "
                                  "0,  0,  8,  0,  0,   MEZZO"}));
    const disegno_planimetria d = disegna_planimetria(c, estrai_elementi(c), larghezza, altezza);
    ASSERT_TRUE(d.presente);
    // 10000 m of route and 7000 m beyond it, filled up to metre 16998, all along +y.
    EXPECT_EQ(d.ultimo_metro, 16998);
    EXPECT_EQ(d.estensione.x_min, 0);
    EXPECT_EQ(d.estensione.x_max, 0);
    EXPECT_EQ(d.estensione.y_max, 16998);
    const trasformazione_piano& t = d.trasformazione;
    // Standing up the panel, the line would be 238 units tall: turned, it takes the panel's
    // width less the room for the names, from left to right across the middle.
    EXPECT_NEAR(t.in_svg({0, 16998}).x - t.in_svg({0, 0}).x, larghezza - 2 * 110, 1e-9);
    EXPECT_NEAR(t.in_svg({0, 0}).y, t.in_svg({0, 16998}).y, 1e-9);
    EXPECT_NEAR((t.in_svg({0, 0}).x + t.in_svg({0, 16998}).x) / 2, larghezza / 2, 1e-9);
    EXPECT_NEAR(t.gradi(), -90, 1e-9);
    ASSERT_EQ(d.percorso.size(), 2u);
    expect_punto(d.percorso[0], t.in_svg({0, 0}));
    expect_punto(d.percorso[1], t.in_svg({0, 10000}));
    ASSERT_EQ(d.oltre.size(), 2u);
    expect_punto(d.oltre[0], t.in_svg({0, 10000}));
    expect_punto(d.oltre[1], t.in_svg({0, 16998}));
    ASSERT_EQ(d.stazioni.size(), 1u);
    expect_punto(d.stazioni[0].posizione, t.in_svg({0, 5000}));
}

TEST(DisegnoPlanimetria, CurvesTurnLeftWithAnSAndRightWithoutAndStayWithinTheTolerance) {
    const costruzione c =
        modello(linea({"curvas4,  1000,  500", "curvad3,  4000,  800"}),
                treno({"segnale,  1400,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                       "segnale,  4700,  2,  2,  0,  0,  0,  0,  0,  0,  0,  0"}));
    const disegno_planimetria d = disegna_planimetria(c, estrai_elementi(c), larghezza, altezza);
    const trasformazione_piano& t = d.trasformazione;

    // "s" turns left and "d" right, as the page shows them however the plan is turned: on the
    // page (y down) a left turn is a counterclockwise one, a negative cross product.
    auto svolta = [&](int a, int b, int c_) {
        const punto p = t.in_svg(metro_planimetria(c, a));
        const punto q = t.in_svg(metro_planimetria(c, b));
        const punto r = t.in_svg(metro_planimetria(c, c_));
        return (q.x - p.x) * (r.y - q.y) - (q.y - p.y) * (r.x - q.x);
    };
    EXPECT_LT(svolta(500, 1000, 1500), 0);
    EXPECT_GT(svolta(3800, 4000, 4800), 0);

    // Equal scale on both axes, square, and the whole plan view inside the box.
    const punto o = t.in_svg({0, 0});
    const punto ex = t.in_svg({1, 0});
    const punto ey = t.in_svg({0, 1});
    EXPECT_NEAR(std::hypot(ex.x - o.x, ex.y - o.y), t.scala, 1e-12);
    EXPECT_NEAR(std::hypot(ey.x - o.x, ey.y - o.y), t.scala, 1e-12);
    EXPECT_NEAR((ex.x - o.x) * (ey.x - o.x) + (ex.y - o.y) * (ey.y - o.y), 0, 1e-12);
    for (int metro = 0; metro <= 16998; metro += 10) {
        const punto p = t.in_svg(metro_planimetria(c, metro));
        ASSERT_TRUE(p.x >= 0 && p.x <= larghezza && p.y >= 0 && p.y <= altezza) << metro;
    }

    // Thinned to a few points, yet every metre of the plan view within the tolerance.
    EXPECT_LT(d.percorso.size() + d.oltre.size(), 120u);
    expect_punto(d.percorso.front(), t.in_svg(metro_planimetria(c, 0)));
    expect_punto(d.percorso.back(), t.in_svg(metro_planimetria(c, 10000)));
    expect_punto(d.oltre.back(), t.in_svg(metro_planimetria(c, 16998)));
    for (int metro = 0; metro <= 16998; ++metro) {
        const punto p = t.in_svg(metro_planimetria(c, metro));
        const double distanza =
            std::min(distanza_dalla_polilinea(p, d.percorso), distanza_dalla_polilinea(p, d.oltre));
        ASSERT_LE(distanza, tolleranza_svg + 1e-9) << "metre " << metro;
    }

    // Signals stand on the track where their position is.
    ASSERT_EQ(d.segnali.size(), 2u);
    expect_punto(d.segnali[0].posizione, t.in_svg(metro_planimetria(c, 1400)));
    expect_punto(d.segnali[1].posizione, t.in_svg(metro_planimetria(c, 4700)));
}

TEST(DisegnoPlanimetria, TunnelsKilometrePostsAndScaleBar) {
    // Kilometre 1 at the start, rising; from 5000 m a system that descends from km 15.
    const std::string testo_linea = prova::testo({
        "[generale]",
        "lunghezza percorso,  10000",
        "progressiva chilometrica uno,  0,  1000,  0",
        "progressiva chilometrica due,  5000,  20000,  1",
        "[righe]",
        "montagna,  2000,  3000,  11",
        "montagna,  6000,  7000,  2",
        "[fine]",
    });
    const costruzione c = modello(testo_linea, treno({}));
    const disegno_planimetria d = disegna_planimetria(c, estrai_elementi(c), larghezza, altezza);
    const trasformazione_piano& t = d.trasformazione;

    // Only the tunnel is drawn on the plan, over its own stretch.
    ASSERT_EQ(d.gallerie.size(), 1u);
    EXPECT_EQ(d.gallerie[0].indice, 0);
    expect_punto(d.gallerie[0].punti.front(), t.in_svg({0, 2000}));
    expect_punto(d.gallerie[0].punti.back(), t.in_svg({0, 3000}));

    // A post at every kilometre of the reading, in either system (the page shows those that
    // find room at its zoom).
    struct atteso {
        double metro;
        double chilometro;
    };
    const atteso cippi[] = {{0, 1},     {1000, 2},  {2000, 3},  {3000, 4},  {4000, 5},  {5000, 15},
                            {6000, 14}, {7000, 13}, {8000, 12}, {9000, 11}, {10000, 10}};
    ASSERT_EQ(d.cippi.size(), std::size(cippi));
    for (std::size_t i = 0; i < std::size(cippi); ++i) {
        EXPECT_EQ(d.cippi[i].metro, cippi[i].metro);
        EXPECT_EQ(d.cippi[i].chilometro, cippi[i].chilometro);
        expect_punto(d.cippi[i].posizione, t.in_svg({0, cippi[i].metro}));
    }

    // The scale bar: the first round length of at least 80 units.
    EXPECT_EQ(d.barra_metri, 2000);
    EXPECT_GE(d.barra_svg, 80);
    EXPECT_NEAR(d.barra_svg, 2000 * t.scala, 1e-9);
}

TEST(DisegnoPlanimetria, ModelWithoutPlanViewHasNoPlan) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea({});
    sorgente.testi[descrizione::treno] = treno({});
    const scenario_costruito s = costruisci_scenario(sorgente, {"Prova", "42"}, 0);
    const disegno_planimetria d =
        disegna_planimetria(s.c, estrai_elementi(s.c), larghezza, altezza);
    EXPECT_FALSE(d.presente);
    EXPECT_TRUE(d.percorso.empty());
}

} // namespace
} // namespace corvenna
