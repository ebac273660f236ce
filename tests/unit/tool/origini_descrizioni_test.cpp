#include "tool/origini_descrizioni.hpp"

#include "compiler/sorgente_descrizioni.hpp"
#include "pipeline/costruisci_scenario.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

// Each feature's line is the one the compile recorded when it placed the feature: a point
// feature on the cell it went to, stations in item order, stretches by their start.
TEST(OriginiDescrizioni, FeatureLinesByCellStationOrderAndStretchStart) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] =
        "[generale]\r\n"
        "lunghezza percorso,  10000\r\n"
        "[righe]\r\n"
        "pendenza,  0,  5\r\n"
        "CurvaS4,  700,  950\r\n"
        "montagna,  8725,  9850,  11\r\n"
        "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0\r\n"
        "cartello_indicatore,  2900,     (P.L.)\r\n"
        "[fine]\r\n";
    sorgente.testi[descrizione::treno] =
        "[generale]\r\n"
        "velocita,  0,  75\r\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  "
        "41,  0,   A\r\n"
        "segnale,  2825,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\r\n"
        "rallentamento,  4000,  60,  500,  1,  1,  0\r\n"
        "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  "
        "30,  6,  45,  30,   B\r\n"
        "[fine]\r\n";
    const scenario_costruito s = costruisci_scenario(sorgente, {"Prova", "1"}, 1);
    ASSERT_TRUE(s.riuscito());
    const origini_disegno o = origini_descrizioni(s.righe);
    EXPECT_EQ(o.curve.size(), 1u);
    EXPECT_EQ(o.curve.at(700).riga, 5);
    EXPECT_EQ(o.rilievi.size(), 1u);
    EXPECT_EQ(o.rilievi.at(8700).riga, 6); // 8725 / 50 rounds half to even: cell 174
    EXPECT_EQ(o.celle.at(32).riga, 7);     // 1550 / 50 + 1
    EXPECT_EQ(o.celle.at(59).riga, 8);     // 2900 / 50 + 1
    // A point feature goes to the cell (p / 50 + 1) rounded: 57.5 rounds half to even, 58.
    EXPECT_EQ(o.celle.at(58).riga, 4);
    EXPECT_EQ(o.celle.at(58).file, descrizione::treno);
    EXPECT_EQ(o.celle.at(81).riga, 5); // the slowdown's start
    EXPECT_EQ(o.celle.at(4).riga, 3);  // the first station's stop
    ASSERT_EQ(o.stazioni.size(), 2u);
    EXPECT_EQ(o.stazioni[0].riga, 3);
    EXPECT_EQ(o.stazioni[1].riga, 6);
    EXPECT_EQ(testo_origine(o.stazioni[1]), "riga 6 della descrizione del treno");
}

} // namespace
} // namespace corvenna
