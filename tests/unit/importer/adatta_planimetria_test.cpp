#include "adatta_prova.hpp"

#include "importer/adatta_planimetria.hpp"
#include "importer/geometria_importata.hpp"
#include "model/costruzione.hpp"
#include "support/compila_prova.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <set>

namespace corvenna {
namespace {

// A stretch of track whose curvature (1/m, positive to the left) goes linearly from `inizio`
// to `fine` over `lunghezza` metres: an arc when they are equal, a transition curve when not.
struct tratto {
    double lunghezza;
    double inizio;
    double fine;
};

// The track in the plane, one point per metre of its length, integrated finely from the
// heading `direzione` (radians from +x).
std::vector<punto_piano> traccia(std::initializer_list<tratto> tratti, double direzione) {
    constexpr int suddivisioni = 20;
    std::vector<punto_piano> punti{{0, 0}};
    punto_piano p{0, 0};
    for (const tratto& t : tratti)
        for (int m = 0; m < static_cast<int>(t.lunghezza); ++m) {
            for (int k = 0; k < suddivisioni; ++k) {
                const double s = (m + (k + 0.5) / suddivisioni) / t.lunghezza;
                const double curvatura = t.inizio + s * (t.fine - t.inizio);
                const double passo = 1.0 / suddivisioni;
                direzione += curvatura * passo / 2;
                p.x += std::cos(direzione) * passo;
                p.y += std::sin(direzione) * passo;
                direzione += curvatura * passo / 2;
            }
            punti.push_back(p);
        }
    return punti;
}

struct adattamento {
    geometria_importata g;
    prova::scarti scarto;
    std::vector<punto_piano> compilato;
};

// Samples the track every `passo` metres, fits the samples, compiles the rows and compares
// the compiled plan view with the track.
adattamento adatta_e_confronta(const std::vector<punto_piano>& traccia, int passo) {
    std::vector<punto_piano> campioni;
    std::vector<double> metri;
    for (std::size_t m = 0; m < traccia.size(); m += static_cast<std::size_t>(passo)) {
        campioni.push_back(traccia[m]);
        metri.push_back(static_cast<double>(m));
    }
    const esito_geometria esito = adatta_geometria(prova::sul_globo(campioni));
    EXPECT_FALSE(esito.errore);
    if (!esito.geometria)
        return {};
    adattamento a{*esito.geometria, {}, {}};
    prova::controlla_righe(a.g);
    const auto compilata = prova::compila(prova::descrizione_adattata(a.g));
    EXPECT_EQ(compilata.c.codice_errore, 0);
    a.compilato = prova::piano_compilato(compilata.c, a.g.lunghezza);
    std::vector<prova::corrispondenza> corrispondenze;
    for (std::size_t i = 0; i < metri.size(); ++i)
        corrispondenze.push_back({metri[i], a.g.progressiva[i]});
    a.scarto = prova::scarto_tra_piani(traccia, a.compilato, corrispondenze);
    std::cout << "plan view: max " << a.scarto.massimo << " m, mean " << a.scarto.medio << " m; "
              << a.g.curve.size() << " curve rows; reported deviation "
              << a.g.scarto_planimetria_massimo << " / " << a.g.scarto_planimetria_medio << " m\n";
    return a;
}

TEST(AdattaPlanimetria, TransitionCurvesAndArcsOfAnyRadiusStayWithin3m) {
    // Radii from 10000 m down to 300 m, none of them a class's own, joined by transition
    // curves, reversing curves and a curve that tightens into the opposite hand. The 300 m
    // arc is short: no class turns that tightly, and the fit can only make up for it after.
    const std::vector<punto_piano> t = traccia({{500, 0, 0},
                                                {150, 0, 1 / 1200.0},
                                                {600, 1 / 1200.0, 1 / 1200.0},
                                                {150, 1 / 1200.0, 0},
                                                {300, 0, 0},
                                                {120, 0, -1 / 700.0},
                                                {500, -1 / 700.0, -1 / 700.0},
                                                {120, -1 / 700.0, 0},
                                                {200, 0, 0},
                                                {1500, 1 / 10000.0, 1 / 10000.0},
                                                {100, 0, -1 / 450.0},
                                                {300, -1 / 450.0, -1 / 450.0},
                                                {100, -1 / 450.0, 0},
                                                {400, 0, 0},
                                                {100, 0, 1 / 300.0},
                                                {60, 1 / 300.0, 1 / 300.0},
                                                {100, 1 / 300.0, 0},
                                                {300, 0, 0},
                                                {100, 0, -1 / 2000.0},
                                                {1000, -1 / 2000.0, -1 / 2000.0},
                                                {100, -1 / 2000.0, 0},
                                                {800, 1 / 5000.0, 1 / 5000.0},
                                                {200, 1 / 5000.0, -1 / 1000.0},
                                                {400, -1 / 1000.0, -1 / 1000.0},
                                                {150, -1 / 1000.0, 0},
                                                {500, 0, 0}},
                                               1.0);
    const adattamento a = adatta_e_confronta(t, 20);
    EXPECT_LT(a.scarto.massimo, 3.0);
    EXPECT_LT(a.g.scarto_planimetria_massimo, 3.0);
}

TEST(AdattaPlanimetria, RadiusBetweenTwoClassesAlternatesThem) {
    // 700 m lies between the classes of 1000 m and 500 m: the arc is made of the two, the
    // line stays on it, and nothing else turns it.
    const std::vector<punto_piano> t =
        traccia({{300, 0, 0}, {1500, -1 / 700.0, -1 / 700.0}, {400, 0, 0}}, 0.3);
    const adattamento a = adatta_e_confronta(t, 10);
    EXPECT_LT(a.scarto.massimo, 0.5);
    std::set<int> classi_dell_arco;
    for (const riga_curva& c : a.g.curve)
        if (c.inizio > 400 && c.inizio + c.lunghezza < 1700) {
            classi_dell_arco.insert(c.classe);
            EXPECT_FALSE(c.sinistra);
        }
    EXPECT_EQ(classi_dell_arco, (std::set<int>{4, 5}));
}

TEST(AdattaPlanimetria, IntegrationIsTheCompilers) {
    // The fit is checked against its own integration of the rows; that must be the compiler's
    // plan view to the last bit, or the check would measure another line.
    const std::vector<punto_piano> t = traccia(
        {{200, 0, 0}, {700, 1 / 600.0, 1 / 600.0}, {300, 0, 0}, {500, -1 / 3000.0, -1 / 3000.0}},
        2.0);
    const adattamento a = adatta_e_confronta(t, 20);
    const std::vector<punto_piano> integrato = integra_curve(a.g.curve, a.g.lunghezza);
    ASSERT_EQ(integrato.size(), a.compilato.size());
    for (std::size_t m = 0; m < integrato.size(); ++m) {
        ASSERT_EQ(integrato[m].x, a.compilato[m].x) << "metre " << m;
        ASSERT_EQ(integrato[m].y, a.compilato[m].y) << "metre " << m;
    }
}

TEST(AdattaPlanimetria, StraightLineHasNoCurveRows) {
    const adattamento a = adatta_e_confronta(traccia({{5000, 0, 0}}, -2.5), 50);
    EXPECT_TRUE(a.g.curve.empty());
    EXPECT_EQ(a.g.lunghezza, 5000);
    EXPECT_NEAR(a.g.progressiva.back(), 5000, 0.5);
    EXPECT_LT(a.scarto.massimo, 0.01);
}

} // namespace
} // namespace corvenna
