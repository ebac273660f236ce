#include "support/compila_prova.hpp"

#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <gtest/gtest.h>

namespace corvenna {
namespace {

using prova::compila;
using prova::linea;
using prova::testo;
using prova::treno;

TEST(FaseTreno, SpeedLimitsFillTheCells) {
    const auto r = compila(linea({}), treno({"velocita,  0,  75", "velocita,  1500,  125"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[0].velocita, 15);
    EXPECT_EQ(r.c.celle[29].velocita, 15);
    EXPECT_EQ(r.c.celle[30].velocita, 25);
    EXPECT_EQ(r.c.celle[r.c.ultima_cella - 3].velocita, 25);
    EXPECT_EQ(r.c.celle[r.c.ultima_cella - 2].velocita, 0);
}

TEST(FaseTreno, SpeedMustFitItsByte) {
    const auto sta = compila(linea({}), treno({"velocita,  0,  1277"}));
    EXPECT_EQ(sta.c.codice_errore, 0);
    EXPECT_EQ(sta.c.celle[0].velocita, 255);
    const auto non_sta = compila(linea({}), treno({"velocita,  0,  1278"}));
    EXPECT_EQ(non_sta.c.codice_errore, codice::lettura_fallita);
}

TEST(FaseTreno, AdhesionFillKeepsTheLowByte) {
    const auto r = compila(linea({}), treno({"aderenza,  0,  100", "aderenza,  500,  300"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[9].aderenza, 100);
    EXPECT_EQ(r.c.celle[10].aderenza, 300 & 0xFF);
    EXPECT_EQ(r.c.celle[r.c.ultima_cella - 3].aderenza, 300 & 0xFF);
}

TEST(FaseTreno, RepeatedAdhesionPositionsCannotPassTheLastCell) {
    std::string righe;
    for (int i = 0; i < 400; ++i)
        righe += "aderenza,  50,  1\r\n";
    const auto r = compila(linea({}), testo({"[generale]"}) + righe + "[fine]\r\n");
    EXPECT_EQ(r.c.codice_errore, codice::celle_fuori_limite);
}

TEST(FaseTreno, GeneralValuesReachItems84And86) {
    const auto r = compila(
        linea({}), treno({"numero vetture,  12", "percentuale massa frenata,  90", "sabbia,  300",
                          "orologio,     6               40            50"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.voci[voce_percorso].posizione, 12);
    EXPECT_EQ(r.c.voci[voce_percorso].inizio, 90);
    EXPECT_EQ(r.c.voci[voce_treno].i1, 300);
    EXPECT_EQ(r.c.voci[voce_treno].i3, 6);
    EXPECT_EQ(r.c.voci[voce_treno].i4, 40);
    EXPECT_EQ(r.c.voci[voce_treno].i5, 50);
}

TEST(FaseTreno, AbbattimentoPoints) {
    const auto r =
        compila(linea({}), treno({"abbattimento,  350,  90", "abbattimento,  1000,  0"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[7].tipo, tipo_cella::abbattimento_valore);
    EXPECT_EQ(r.c.celle[7].dato1, 90);
    EXPECT_EQ(r.c.celle[20].tipo, tipo_cella::abbattimento);

    const auto occupata =
        compila(linea({}), treno({"abbattimento,  350,  90", "abbattimento,  350,  1"}));
    EXPECT_EQ(occupata.c.codice_errore, codice::abbattimento_occupato);
    EXPECT_EQ(occupata.c.posizione_errore, 350);
    EXPECT_FALSE(occupata.sorgente.esiste(descrizione::treno));
}

TEST(FaseTreno, SignalsAndSlowdownsReachTheRecorders) {
    const auto r = compila(linea({}, "50000"),
                           treno({"segnale,  40050,  1,  5,  6,  0,  0,  1,  3,  1,  0,  0",
                                  "rallentamento,  10000,  60,  500,  1,  1,  0"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[802].tipo, tipo_cella::segnale);
    EXPECT_EQ(r.c.celle[201].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(r.c.celle[211].tipo, tipo_cella::fine_rallentamento);
}

TEST(FaseTreno, RecorderCodeEndsTheCompileWithThePosition) {
    const auto r = compila(linea({}, "50000"),
                           treno({"segnale,  40050,  1,  5,  6,  0,  0,  1,  3,  1,  0,  0",
                                  "segnale,  40050,  2,  5,  6,  0,  0,  1,  3,  1,  0,  0",
                                  "velocita,  1000,  100"}));
    EXPECT_EQ(r.c.codice_errore, codice::segnale_occupato);
    EXPECT_EQ(r.c.posizione_errore, 40050);
    EXPECT_EQ(r.c.celle[0].velocita, 0);
    EXPECT_FALSE(r.sorgente.esiste(descrizione::treno));
}

TEST(FaseTreno, LineRangeCodeStopsAtTheFirstSignalLine) {
    const auto r = compila(
        linea({"pendenza,  99000,  0"}),
        treno({"velocita,  0,  75", "velocita,  1500,  125",
               "segnale,  4000,  1,  5,  6,  0,  0,  1,  3,  1,  0,  0", "velocita,  3000,  50"}));
    EXPECT_EQ(r.c.codice_errore, codice::fuori_tracciato);
    EXPECT_EQ(r.c.posizione_errore, 4000);
    EXPECT_EQ(r.c.celle[29].velocita, 15);
    // The recorder places the signal; the test after it ends the compile: no tail fill.
    EXPECT_EQ(r.c.celle[81].tipo, tipo_cella::segnale);
    EXPECT_EQ(r.c.celle[31].velocita, 0);
}

TEST(FaseTreno, KilometricSystemsMustBeMultiplesOf50) {
    const std::string t = testo({"[generale]", "lunghezza percorso,  10000",
                                 "progressiva chilometrica uno,  1000,  -1525,  0", "[fine]"});
    const auto r = compila(t, treno({"velocita,  0,  75"}));
    EXPECT_EQ(r.c.codice_errore, codice::progressiva_non_multipla);
    EXPECT_EQ(r.c.celle[10].velocita, 15);
}

TEST(FaseTreno, MissingHeaderReadsNothing) {
    const auto r = compila(linea({}), testo({"velocita,  0,  75", "[fine]"}));
    EXPECT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[0].velocita, 0);
    EXPECT_FALSE(r.sorgente.esiste(descrizione::treno));
}

TEST(FaseTreno, MissingTrainDescriptionFails) {
    const auto r = compila(linea({}), std::nullopt);
    EXPECT_EQ(r.c.codice_errore, codice::lettura_fallita);
    EXPECT_FALSE(r.sorgente.esiste(descrizione::linea));
}

} // namespace
} // namespace corvenna
