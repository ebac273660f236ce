#include "support/compila_prova.hpp"

#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace corvenna {
namespace {

using prova::compila;
using prova::linea;
using prova::testo;
using prova::treno;

double coordinata(const costruzione& c, int asse, int metro) {
    return std::get<double>(c.planimetria[asse][metro]);
}

TEST(FaseLinea, RouteLengthSizesCellsAndPlanView) {
    const auto r = compila(linea({"pendenza,  0,  0"}, "88000"));
    const costruzione& c = r.c;
    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.lunghezza_totale, 95000);
    EXPECT_EQ(c.ultima_cella, 1900);
    EXPECT_EQ(c.celle.size(), 1901u);
    EXPECT_EQ(c.voci[voce_percorso].fine, 88000);
    ASSERT_EQ(c.planimetria[asse_x].size(), 95001u);
    EXPECT_EQ(std::get<std::int16_t>(c.planimetria[asse_y][1]), 1);
    EXPECT_EQ(coordinata(c, asse_y, 94998), 94998.0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(c.planimetria[asse_x][94999]));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(c.planimetria[asse_y][95000]));
    EXPECT_EQ(c.celle[1897].pendenza, 100);
    EXPECT_EQ(c.celle[1898].pendenza, 0);
    EXPECT_EQ(c.celle[1900].pendenza, 0);
}

TEST(FaseLinea, GradientHoldsFromItsPositionOn) {
    const auto r = compila(linea({"pendenza,  0,  0", "pendenza,  1500,  -5"}));
    EXPECT_EQ(r.c.celle[0].pendenza, 100);
    EXPECT_EQ(r.c.celle[29].pendenza, 100);
    EXPECT_EQ(r.c.celle[30].pendenza, 95);
    EXPECT_EQ(r.c.celle[r.c.ultima_cella - 3].pendenza, 95);
}

TEST(FaseLinea, LastLineWithValuesIsApplied) {
    // The description ends without "[fine]": its last value line is still read.
    const std::string t = testo({"[generale]", "lunghezza percorso,  10000", "[pendenze]",
                                 "pendenza,  0,  0", "pendenza,  1500,  -5"});
    const auto r = compila(t);
    EXPECT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[30].pendenza, 95);
}

TEST(FaseLinea, RepeatedGradientPositionsCannotPassTheLastCell) {
    std::string righe;
    for (int i = 0; i < 400; ++i)
        righe += "pendenza,  50,  1\r\n";
    const std::string t =
        testo({"[generale]", "lunghezza percorso,  10000", "[pendenze]"}) + righe + "[fine]\r\n";
    const auto r = compila(t);
    EXPECT_EQ(r.c.codice_errore, codice::celle_fuori_limite);
}

TEST(FaseLinea, CurveTurnsTowardMinusXWithAnS) {
    const auto s = compila(linea({"curvas4,  700,  950"}));
    const auto d = compila(linea({"curvad4,  700,  950"}));
    ASSERT_EQ(s.c.codice_errore, 0);
    for (int metro : {2, 350, 700}) {
        EXPECT_EQ(coordinata(s.c, asse_x, metro), 0.0);
        EXPECT_EQ(coordinata(s.c, asse_y, metro), metro);
    }
    EXPECT_DOUBLE_EQ(coordinata(s.c, asse_x, 701), -0.001);
    EXPECT_LT(coordinata(s.c, asse_x, 1650), -400.0);
    for (int metro : {701, 1000, 1650, 5000}) {
        EXPECT_EQ(coordinata(s.c, asse_x, metro), -coordinata(d.c, asse_x, metro));
        EXPECT_EQ(coordinata(s.c, asse_y, metro), coordinata(d.c, asse_y, metro));
    }
    // After the curve the line runs straight on in its new direction, with the longer step.
    const double passo_x = coordinata(s.c, asse_x, 1652) - coordinata(s.c, asse_x, 1651);
    EXPECT_NEAR(coordinata(s.c, asse_x, 4000) - coordinata(s.c, asse_x, 3999), passo_x, 1e-9);
}

TEST(FaseLinea, CurveFailures) {
    struct caso {
        const char* riga;
        std::int32_t codice_errore;
    };
    for (const caso& k :
         {caso{"curvas,  700,  100", codice::curva_non_valida},
          caso{"curvad7,  700,  100", codice::curva_non_valida}, caso{"curvad4,  16000,  990", 0},
          caso{"curvad4,  16000,  1000", codice::curva_non_valida}}) {
        const auto r = compila(linea({k.riga}));
        EXPECT_EQ(r.c.codice_errore, k.codice_errore) << k.riga;
    }
}

TEST(FaseLinea, CurvesAreIgnoredWithoutPlanView) {
    prova::risultato r;
    r.c.genera_planimetria = 0;
    r.sorgente.testi[descrizione::linea] = linea({"curvas,  700,  100"});
    r.sorgente.testi[descrizione::treno] = treno({});
    memorizza_dati(r.c, r.sorgente);
    EXPECT_EQ(r.c.codice_errore, 0);
    EXPECT_TRUE(r.c.planimetria[asse_x].empty());
}

TEST(FaseLinea, RouteSignsTakeItemsFromEightyDown) {
    const auto r = compila(linea({"cartello_indicatore,  350,     (   P.L.  )(km 1+522)",
                                  "cartello_indicatore,  1000,     ( Casello)(12 + 600)"}));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.celle[8].tipo, tipo_cella::cartello);
    EXPECT_EQ(r.c.celle[8].dato1, 80);
    EXPECT_EQ(r.c.voci[80].nome, "(   P.L.  )(km 1+522)");
    EXPECT_EQ(r.c.celle[21].dato1, 79);
    EXPECT_EQ(r.c.voci[79].nome, "( Casello)(12 + 600)");
}

TEST(FaseLinea, RouteSignOnATakenCellFails) {
    const auto r = compila(linea({"indicatori_vmax,  1000,  100,  105,  105,  2,    ,    ,    ,  0",
                                  "cartello_indicatore,  1000,     (x)"}));
    EXPECT_EQ(r.c.codice_errore, codice::cartello_occupato);
    EXPECT_EQ(r.c.posizione_errore, 1000);
}

TEST(FaseLinea, MoreSignsThanItemsFail) {
    std::string righe;
    for (int i = 0; i < 81; ++i)
        righe += "cartello_indicatore,  " + std::to_string(1000 + 100 * i) + ",  (x)\r\n";
    const std::string t =
        testo({"[generale]", "lunghezza percorso,  20000", "[indicazioni]"}) + righe + "[fine]\r\n";
    const auto r = compila(t);
    EXPECT_EQ(r.c.codice_errore, codice::voci_esaurite);
    EXPECT_EQ(r.c.posizione_errore, 9000);
    EXPECT_EQ(r.c.voci[1].nome, "(x)");
    EXPECT_TRUE(r.c.voci[0].nome.empty());
}

TEST(FaseLinea, NamesLongerThanTheItemFileHoldsFail) {
    const std::string sta = "cartello_indicatore,  1000,  " + std::string(32767, 'x');
    EXPECT_EQ(compila(linea({sta})).c.codice_errore, 0);
    const std::string troppo = "cartello_indicatore,  1000,  " + std::string(32768, 'x');
    EXPECT_EQ(compila(linea({troppo})).c.codice_errore, codice::lettura_fallita);
}

TEST(FaseLinea, SignalRepetition) {
    struct caso {
        const char* riga;
        std::int32_t codice_errore;
        std::int32_t codici;
    };
    for (const caso& k : {caso{"ripetizione segnali 4 codici,  0,  0", 0, 0},
                          caso{"ripetizione segnali 4 codici,  0,  45000", 0, 4},
                          caso{"ripetizione segnali 9 codici,  1000,  45000", 0, 9},
                          caso{"ripetizione segnali codici,  1000,  45000", 5, 0},
                          caso{"ripetizione segnali 4 codici,  1025,  2000", 3, 0},
                          caso{"ripetizione segnali 4 codici,  1000,  2025", 4, 0}}) {
        const std::string t = testo({"[generale]", "lunghezza percorso,  10000", k.riga, "[x]",
                                     "pendenza,  0,  0", "[fine]"});
        const auto r = compila(t);
        EXPECT_EQ(r.c.codice_errore, k.codice_errore) << k.riga;
        if (k.codice_errore == 0) {
            EXPECT_EQ(r.c.voci[voce_treno].posizione, k.codici) << k.riga;
        } else {
            EXPECT_FALSE(r.sorgente.esiste(descrizione::linea));
        }
    }
}

TEST(FaseLinea, GeneralSectionValuesReachTheHeaderItems) {
    const std::string t = testo(
        {"[generale]", "lunghezza percorso,  88000", "progressiva chilometrica uno,  0,  -1500,  0",
         "progressiva chilometrica due,  42300,  -42300,  0",
         "progressiva chilometrica tre,  55000,  91900,  1", "sfondo uno,  1", "sfondo due,  2",
         "sfondo tre,  3", "ripetizione segnali 4 codici,  0,  0", "[curve]", "[fine]"});
    const auto r = compila(t);
    const auto& v = r.c.voci;
    EXPECT_EQ(v[voce_progressiva_tre].inizio, 55000);
    EXPECT_EQ(v[voce_progressiva_tre].fine, 92000);
    EXPECT_EQ(v[voce_progressiva_due].fine, -42300);
    EXPECT_EQ(v[voce_progressiva_uno].fine, -1500);
    EXPECT_EQ(v[voce_scenario].inizio, 1);
    EXPECT_EQ(v[voce_scenario].posizione, 2);
    EXPECT_EQ(v[voce_scenario].fine, 3);
    EXPECT_EQ(v[voce_scenario].nome, "Corvenna");
    EXPECT_EQ(v[voce_treno].nome, "7381");
}

TEST(FaseLinea, GeneralKeywordCaseRules) {
    const std::string t = testo({"[generale]", "LUNGHEZZA PERCORSO,  10000",
                                 "PROGRESSIVA CHILOMETRICA UNO,  0,  1500,  1", "[fine]"});
    const auto r = compila(t);
    EXPECT_EQ(r.c.ultima_cella, 340);
    // The capitalised "progressiva" line is skipped field by field, so no system is stored.
    EXPECT_EQ(r.c.voci[voce_progressiva_tre].fine, 0);
    EXPECT_EQ(r.c.voci[voce_progressiva_uno].fine, 0);
}

TEST(FaseLinea, DashFieldsAreDropped) {
    // One dash line before the curve is dropped; of three, the third is read as a keyword
    // field that matches nothing, and the curve is still read next.
    for (const char* trattini : {"----", "----\r\n----\r\n----"}) {
        const std::string t = testo({"[generale]", "lunghezza percorso,  10000", "[curve]"}) +
                              trattini + "\r\n" + testo({"curvas4,  700,  950", "[fine]"});
        const auto r = compila(t);
        EXPECT_EQ(r.c.codice_errore, 0);
        EXPECT_DOUBLE_EQ(coordinata(r.c, asse_x, 701), -0.001) << trattini;
    }
}

TEST(FaseLinea, RangeCheckEndsOnlyTheLineDescription) {
    const auto r =
        compila(linea({"pendenza,  0,  0", "pendenza,  16950,  3", "pendenza,  100,  5"}),
                treno({"velocita,  0,  75", "velocita,  1500,  125"}));
    EXPECT_EQ(r.c.codice_errore, codice::fuori_tracciato);
    EXPECT_EQ(r.c.posizione_errore, 16950);
    EXPECT_EQ(r.c.celle[5].pendenza, 100);
    EXPECT_EQ(r.c.celle[30].velocita, 25);
    EXPECT_FALSE(r.sorgente.esiste(descrizione::linea));
    EXPECT_FALSE(r.sorgente.esiste(descrizione::treno));
}

TEST(FaseLinea, LongestRouteCompiles) {
    const auto r = compila(linea({"curvad6,  999000,  900"}, "1000000"));
    EXPECT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.lunghezza_totale, 1007000);
    EXPECT_EQ(r.c.ultima_cella, 20140);
    EXPECT_TRUE(std::holds_alternative<double>(r.c.planimetria[asse_x][1006998]));
}

TEST(FaseLinea, FailuresDeleteTheRightDescriptions) {
    struct caso {
        const char* nome;
        std::optional<std::string> linea;
        std::int32_t codice_errore;
        bool linea_resta;
        bool treno_resta;
    };
    const caso casi[] = {
        {"no line description", std::nullopt, codice::linea_mancante, false, true},
        {"no [generale]", testo({"lunghezza percorso,  10000", "[fine]"}),
         codice::generale_mancante, false, true},
        {"route too long", linea({}, "1000001"), codice::lunghezza_eccessiva, false, true},
        {"negative route", linea({}, "-8000"), codice::lunghezza_eccessiva, false, true},
        {"no route length", testo({"[generale]", "sfondo uno,  1", "[fine]"}),
         codice::lettura_fallita, false, false},
        {"letters in a number", linea({"pendenza,  1x00,  0"}), codice::lettura_fallita, false,
         false},
        {"value past the end",
         testo({"[generale]", "lunghezza percorso,  10000", "[p]", "pendenza,  1000"}),
         codice::lettura_fallita, false, false},
        {"curve without class", linea({"curvas,  700,  100"}), codice::curva_non_valida, false,
         true},
    };
    for (const caso& k : casi) {
        const auto r = compila(k.linea);
        EXPECT_EQ(r.c.codice_errore, k.codice_errore) << k.nome;
        EXPECT_EQ(r.sorgente.esiste(descrizione::linea), k.linea_resta) << k.nome;
        EXPECT_EQ(r.sorgente.esiste(descrizione::treno), k.treno_resta) << k.nome;
    }
}

TEST(FaseLinea, ReadFailureSaysWhichDescriptionAndLine) {
    struct caso {
        std::optional<std::string> linea;
        std::optional<std::string> treno;
        std::string luogo;
    };
    const caso casi[] = {
        {linea({"pendenza,  0,  0", "pendenza,  1x00,  0"}), treno({}),
         "descrizione della linea, riga 5"},
        {linea({}), prova::testo({"[generale]", "sabbia,  300", "velocita,  0,  75x"}),
         "descrizione del treno, riga 3"},
        {testo({"[generale]", "sfondo uno,  1", "[fine]"}), treno({}), "descrizione della linea"},
        {linea({}), std::nullopt, "descrizione del treno: non si legge"},
    };
    for (const caso& k : casi) {
        const auto r = compila(k.linea, k.treno);
        EXPECT_EQ(r.c.codice_errore, codice::lettura_fallita) << k.luogo;
        EXPECT_EQ(r.c.luogo_errore, k.luogo);
    }
}

TEST(FaseLinea, ReliefStretchAndBoardReachTheRecorders) {
    const auto r =
        compila(linea({"montagna,  8700,  11050,  11",
                       "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0"},
                      "20000"));
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.num_montagne, 1);
    EXPECT_EQ(r.c.celle[174].montagna, 1);
    EXPECT_EQ(r.c.celle[177].tipo, tipo_cella::marcatore_galleria);
    EXPECT_EQ(r.c.celle[32].tipo, tipo_cella::indicatore_v_max);
    EXPECT_EQ(r.c.celle[32].dato1, 2500);
}

} // namespace
} // namespace corvenna
