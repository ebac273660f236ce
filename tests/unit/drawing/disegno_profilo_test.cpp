#include "modello_disegno.hpp"

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_profilo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

constexpr double larghezza_profilo = 1300;

bool contiene(const std::vector<punto>& punti, punto p) {
    return std::any_of(punti.begin(), punti.end(), [p](const punto& q) {
        return std::abs(q.x - p.x) < 1e-9 && std::abs(q.y - p.y) < 1e-9;
    });
}

::testing::AssertionResult passa_per(const std::vector<punto>& punti,
                                     std::initializer_list<punto> attesi) {
    for (const punto p : attesi)
        if (!contiene(punti, p))
            return ::testing::AssertionFailure() << "no point at " << p.x << ", " << p.y;
    return ::testing::AssertionSuccess();
}

TEST(DisegnoProfilo, DistanceAxisSpansTheRoute) {
    const costruzione c = modello(linea({}), treno({}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, larghezza_profilo);
    EXPECT_EQ(e.lunghezza_percorso, 10000);
    EXPECT_EQ(e.fine_asse, 10000);
    EXPECT_EQ(d.x(0), d.sinistra);
    EXPECT_EQ(d.x(10000), d.destra);
    EXPECT_LT(d.sinistra, d.destra);
    EXPECT_LE(d.destra, larghezza_profilo);
    ASSERT_FALSE(d.tacche_km.empty());
    EXPECT_EQ(d.tacche_km.front().valore, 0);
    EXPECT_EQ(d.tacche_km.back().valore, 10);
    EXPECT_EQ(d.tacche_km.back().posizione, d.destra);
}

TEST(DisegnoProfilo, ClimbAndDescentGiveElevationAndGradientSteps) {
    const costruzione c = modello(linea({"pendenza,  0,  0", "pendenza,  1000,  10",
                                         "pendenza,  3000,  -5", "pendenza,  5000,  0"}),
                                  treno({}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, larghezza_profilo);

    // Level to 1000 m, 20 m up to 3000 m, 10 m down to 5000 m, level to the end.
    const std::vector<double> quote = quote_celle(c, e);
    ASSERT_EQ(quote.size(), 201u);
    EXPECT_NEAR(quote[20], 0, 1e-9);
    EXPECT_NEAR(quote[60], 20, 1e-9);
    EXPECT_NEAR(quote[100], 10, 1e-9);
    EXPECT_NEAR(quote[200], 10, 1e-9);
    EXPECT_EQ(d.quota_minima, 0);
    EXPECT_NEAR(d.quota_massima, 20, 1e-9);

    // The scale runs from 0 to 20 m over the band; the line keeps every corner.
    EXPECT_EQ(d.y_quota(0), d.quota.basso);
    EXPECT_NEAR(d.y_quota(20), d.quota.alto, 1e-9);
    EXPECT_TRUE(passa_per(d.profilo_quota, {{d.x(0), d.y_quota(0)},
                                            {d.x(1000), d.y_quota(0)},
                                            {d.x(3000), d.y_quota(20)},
                                            {d.x(5000), d.y_quota(10)},
                                            {d.x(10000), d.y_quota(10)}}));
    EXPECT_EQ(d.profilo_quota.size(), 5u);

    // The gradient scale is symmetric, +-10 per mille here.
    EXPECT_EQ(d.y_pendenza(10), d.pendenza.alto);
    EXPECT_EQ(d.y_pendenza(-10), d.pendenza.basso);
    const std::vector<punto> gradini = {
        {d.x(0), d.y_pendenza(0)},     {d.x(1000), d.y_pendenza(0)},  {d.x(1000), d.y_pendenza(10)},
        {d.x(3000), d.y_pendenza(10)}, {d.x(3000), d.y_pendenza(-5)}, {d.x(5000), d.y_pendenza(-5)},
        {d.x(5000), d.y_pendenza(0)},  {d.x(10000), d.y_pendenza(0)},
    };
    ASSERT_EQ(d.gradini_pendenza.size(), gradini.size());
    for (std::size_t i = 0; i < gradini.size(); ++i) {
        EXPECT_NEAR(d.gradini_pendenza[i].x, gradini[i].x, 1e-9) << i;
        EXPECT_NEAR(d.gradini_pendenza[i].y, gradini[i].y, 1e-9) << i;
    }
}

TEST(DisegnoProfilo, SpeedChangeStepsTheLineAndASlowdownOnlyTheTrain) {
    const costruzione c =
        modello(linea({}), treno({"velocita,  0,  60", "velocita,  2000,  100",
                                  "rallentamento,  5000,  40,  600,  1,  0,  0"}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, larghezza_profilo);

    EXPECT_EQ(d.y_velocita(0), d.velocita.basso);
    const std::vector<punto> linea_attesa = {
        {d.x(0), d.y_velocita(60)},
        {d.x(2000), d.y_velocita(60)},
        {d.x(2000), d.y_velocita(100)},
        {d.x(10000), d.y_velocita(100)},
    };
    ASSERT_EQ(d.gradini_velocita_linea.size(), linea_attesa.size());
    for (std::size_t i = 0; i < linea_attesa.size(); ++i) {
        EXPECT_NEAR(d.gradini_velocita_linea[i].x, linea_attesa[i].x, 1e-9) << i;
        EXPECT_NEAR(d.gradini_velocita_linea[i].y, linea_attesa[i].y, 1e-9) << i;
    }
    EXPECT_TRUE(passa_per(d.gradini_velocita_treno, {{d.x(5000), d.y_velocita(100)},
                                                     {d.x(5000), d.y_velocita(40)},
                                                     {d.x(5600), d.y_velocita(40)},
                                                     {d.x(5600), d.y_velocita(100)}}));
    ASSERT_EQ(e.rallentamenti.size(), 1u);
    EXPECT_EQ(e.rallentamenti[0].inizio, 5000);
    EXPECT_EQ(e.rallentamenti[0].fine, 5600);
    EXPECT_EQ(e.rallentamenti[0].avviso, 3800);
    ASSERT_EQ(d.rallentamenti.size(), 1u);
    EXPECT_EQ(d.rallentamenti[0].x1, d.x(5000));
    EXPECT_EQ(d.rallentamenti[0].x2, d.x(5600));
}

TEST(DisegnoProfilo, StationsSignalsAndBoardsStandAtTheirPositions) {
    const costruzione c = modello(
        linea({"indicatori_vmax,  2050,  80,  90,  95,  1,    ,    ,    ,  0",
               "cartello_indicatore,  1200,     (   P.L.  )(km 3+200)"}),
        treno({"stazione,  4000,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  5,  0,  "
               " SECONDA",
               "segnale,  3600,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0"}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, larghezza_profilo);
    ASSERT_EQ(d.x_stazioni.size(), 1u);
    EXPECT_EQ(d.x_stazioni[0], d.x(4000));
    ASSERT_EQ(d.x_segnali.size(), 1u);
    EXPECT_EQ(d.x_segnali[0], d.x(3600));
    // Boards in cell order: the route sign, then the speed board.
    ASSERT_EQ(d.x_cartelli.size(), 2u);
    EXPECT_EQ(d.x_cartelli[0], d.x(1200));
    EXPECT_EQ(d.x_cartelli[1], d.x(2050));
}

} // namespace
} // namespace corvenna
