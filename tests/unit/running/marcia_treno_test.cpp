// The dry run against cases with closed-form answers, and against itself with a far finer step.

#include "model/tipi_cella.hpp"
#include "running/marcia_treno.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace corvenna {
namespace {

constexpr double g = 9.81;

// A straight line of `celle` cells at `velocita_kmh` on a gradient of `pendenza` per mille.
costruzione linea_piana(std::size_t celle, int velocita_kmh, int pendenza = 0) {
    costruzione c;
    c.celle.resize(celle);
    c.ultima_cella = static_cast<std::int32_t>(celle) - 1;
    for (cella& x : c.celle) {
        x.velocita = static_cast<std::uint8_t>(velocita_kmh / 5);
        x.pendenza = static_cast<std::uint8_t>(100 + pendenza);
    }
    return c;
}

// A stop of item `numero` at metre `metro` (a multiple of 50), at `orario` seconds, `b5` its
// item's value.
void fermata(costruzione& c, int numero, std::int64_t metro, std::int32_t orario, int b5 = 0) {
    const auto k = static_cast<std::size_t>(metro / 50 + 1);
    c.celle[k].tipo = tipo_cella::fermata;
    c.celle[k].dato1 = static_cast<std::int16_t>(numero);
    voce& v = c.voci[static_cast<std::size_t>(numero)];
    v.nome = "S" + std::to_string(numero);
    v.posizione = static_cast<std::int32_t>(metro);
    v.orario = orario;
    v.b5 = static_cast<std::uint8_t>(b5);
}

// A train pulled by a constant force, with no running resistance and no rotating mass: it
// accelerates at F / m.
modello_treno treno_costante(double accelerazione_ms2, double frenatura_ms2, double massimo_kmh) {
    modello_treno m;
    m.nome = "prova";
    m.massa_t = 100;
    m.lunghezza_m = 1;
    m.trazione = {{0, accelerazione_ms2 * 100}};
    m.velocita_massima_kmh = massimo_kmh;
    m.frenatura_servizio_ms2 = frenatura_ms2;
    return m;
}

// Time over `d` metres from rest to rest at constant acceleration `a` and braking `b`, held at
// `v` (m/s) between.
double tempo_trapezio(double d, double v, double a, double b) {
    return v / a + v / b + (d - v * v / (2 * a) - v * v / (2 * b)) / v;
}

// The step where the train reaches its limit or its braking curve is the only one not exact:
// within a hundredth of a second.
constexpr double esatto_s = 0.01;

TEST(MarciaTreno, FlatLineAcceleratesAndBrakesAtConstantRates) {
    const costruzione c = linea_piana(200, 100);
    const linea_marcia l = linea_di_marcia(c);
    const modello_treno m = treno_costante(0.5, 0.4, 200);
    const double v = 100 / 3.6;
    EXPECT_NEAR(tempo_minimo_s(l, m, 1000, 8000), tempo_trapezio(7000, v, 0.5, 0.4), esatto_s);
    // The top speed binds below the line's speed.
    const modello_treno lento = treno_costante(0.5, 0.4, 80);
    EXPECT_NEAR(tempo_minimo_s(l, lento, 1000, 8000), tempo_trapezio(7000, 80 / 3.6, 0.5, 0.4),
                esatto_s);
    EXPECT_NEAR(limite_inferiore_s(l, 1000, 8000), 7000 / v, 1e-9);
}

TEST(MarciaTreno, SingleLowerLimitIsBrakedIntoAndLeftWhenTheTailClears) {
    // 100 km/h, but 50 km/h on the cells from 4000 to 5000 m; a train of 200 m.
    costruzione c = linea_piana(300, 100);
    for (std::size_t k = 80; k < 100; ++k)
        c.celle[k].velocita = 10;
    const linea_marcia l = linea_di_marcia(c);
    modello_treno m = treno_costante(0.5, 0.5, 200);
    m.lunghezza_m = 200;
    const double v1 = 100 / 3.6, v2 = 50 / 3.6, a = 0.5, b = 0.5;
    // From 0 to 4000 m: up to v1, braked to v2 at 4000 m.
    const double frenata = (v1 * v1 - v2 * v2) / (2 * b);
    const double primo = v1 / a + (v1 - v2) / b + (4000 - v1 * v1 / (2 * a) - frenata) / v1;
    // At v2 until the tail leaves the slow cells at 5200 m.
    const double lento = 1200 / v2;
    // Up to v1 again, and braked to the stop at 12000 m.
    const double ripresa = (v1 * v1 - v2 * v2) / (2 * a);
    const double ultimo = (v1 - v2) / a + v1 / b + (6800 - ripresa - v1 * v1 / (2 * b)) / v1;
    EXPECT_NEAR(tempo_minimo_s(l, m, 0, 12000), primo + lento + ultimo, esatto_s);
    EXPECT_NEAR(limite_inferiore_s(l, 0, 12000), 11000 / v1 + 1000 / v2, 1e-9);
}

TEST(MarciaTreno, WeakTrainFallsToItsBalancingSpeedUphill) {
    // 10 per mille uphill; the force falls linearly from 60 kN at rest to 0 at 100 km/h, so the
    // train of 400 t balances where F(v) = m g i / 1000, below the line's 120 km/h.
    costruzione c = linea_piana(400, 120, 10);
    modello_treno m;
    m.massa_t = 400;
    m.lunghezza_m = 100;
    m.trazione = {{0, 60}, {100, 0}};
    m.velocita_massima_kmh = 160;
    m.frenatura_servizio_ms2 = 0.5;
    const double equilibrio_kmh = 100 * (1 - 400e3 * g * 10 / 1000 / 60e3);
    const linea_marcia l = linea_di_marcia(c);
    std::vector<punto_profilo> profilo;
    tempo_minimo_s(l, m, 0, 19000, passo_marcia_m, &profilo);
    ASSERT_FALSE(profilo.empty());
    double a_meta = 0;
    for (const punto_profilo& p : profilo)
        if (p.metro == 10000)
            a_meta = p.velocita_kmh;
    EXPECT_NEAR(a_meta, equilibrio_kmh, 0.05);
    EXPECT_LT(a_meta, 120);
}

TEST(MarciaTreno, SignalPairBrakingOnALevelAndOnAFallingGrade) {
    for (const int pendenza : {0, -15}) {
        costruzione c = linea_piana(100, 100, pendenza);
        // A distant signal at 1000 m, the main signal at 2000 m.
        c.celle[21].tipo = tipo_cella::segnale;
        c.celle[21].dato4 = 3;
        c.celle[41].tipo = tipo_cella::segnale;
        c.celle[41].dato4 = 6;
        const linea_marcia l = linea_di_marcia(c);
        modello_treno m = treno_costante(0.5, 0.5, 160);
        m.tempo_reazione_s = 3;
        const auto s = frenature_segnali(l, m, 0.7);
        ASSERT_EQ(s.size(), 1u);
        const double v = 100 / 3.6;
        const double d = v * 3 + v * v / (2 * (0.7 + g * pendenza / 1000.0));
        EXPECT_EQ(s[0].avviso_metro, 1000);
        EXPECT_EQ(s[0].principale_metro, 2000);
        EXPECT_NEAR(s[0].frenatura_m, d, 1e-9) << pendenza;
        EXPECT_NEAR(s[0].margine_m, 1000 - d, 1e-9) << pendenza;
    }
}

TEST(MarciaTreno, FirstTimeIsADepartureAndLaterOnesArrivalsLeftB5SecondsLater) {
    costruzione c = linea_piana(200, 90);
    fermata(c, 1, 0, 6 * 3600 + 41 * 60, 1);
    fermata(c, 2, 3000, 6 * 3600 + 45 * 60 + 30, 30);
    fermata(c, 3, 6000, 0); // no time: passed
    fermata(c, 4, 9000, 6 * 3600 + 54 * 60, 1);
    const std::vector<tratta_marcia> t = tratte_orario(linea_di_marcia(c));
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].da_metro, 0);
    EXPECT_EQ(t[0].a_metro, 3000);
    EXPECT_EQ(t[0].orario_s, 4 * 60 + 30);
    EXPECT_EQ(t[1].voce_da, 2);
    EXPECT_EQ(t[1].voce_a, 4);
    EXPECT_EQ(t[1].partenza_s, 6 * 3600 + 46 * 60);
    EXPECT_EQ(t[1].orario_s, 8 * 60);
    EXPECT_NEAR(t[1].limite_s, 6000 / 25.0, 1e-9);
}

TEST(MarciaTreno, EmergencyBrakingFromTheBrakedMassPercentage) {
    costruzione c;
    c.voci[voce_percorso].inizio = 90;
    modello_treno m;
    EXPECT_NEAR(frenatura_emergenza(m, c), 0.0075 * 90 + 0.076, 1e-12);
    m.frenatura_emergenza_ms2 = 1.2;
    EXPECT_EQ(frenatura_emergenza(m, c), 1.2);
}

TEST(MarciaTreno, AFarFinerStepChangesNoSectionByATenthOfASecond) {
    const costruzione& c = prova::scenario_incorporato();
    for (const char* nome : {"locomotiva", "regionale", "merci"}) {
        const modello_treno m = *modello_di_nome(nome, c);
        const esito_marcia passo = marcia(c, m);
        const esito_marcia meta = marcia(c, m, passo_marcia_m / 2);
        const esito_marcia fine = marcia(c, m, passo_marcia_m / 20);
        ASSERT_EQ(passo.tratte.size(), fine.tratte.size());
        ASSERT_FALSE(passo.tratte.empty());
        for (std::size_t i = 0; i < passo.tratte.size(); ++i) {
            EXPECT_NEAR(*passo.tratte[i].minimo_s, *meta.tratte[i].minimo_s, 0.1) << nome << i;
            EXPECT_NEAR(*passo.tratte[i].minimo_s, *fine.tratte[i].minimo_s, 0.1) << nome << i;
        }
    }
}

} // namespace
} // namespace corvenna
