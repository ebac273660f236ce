#include "support/compila_prova.hpp"

#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

using prova::compila;
using prova::linea;
using prova::treno;

// A station line: position, kind, platform length, b3, and name; the other values fixed.
std::string stazione(int posizione, int tipo, int lunghezza, int b3 = 0,
                     const std::string& nome = "STAZIONE") {
    return "stazione,  " + std::to_string(posizione) + ",  " + std::to_string(tipo) + ",  " +
           std::to_string(lunghezza) + ",  1,  2,  " + std::to_string(b3) +
           ",  1,  1,  0,  3,  4,  1,  30,  6,  41,  0,   " + nome;
}

prova::risultato compila_stazioni(std::initializer_list<std::string> righe,
                                  std::initializer_list<std::string_view> cartelli = {}) {
    std::string t = "[generale]\r\n";
    for (const auto& riga : righe)
        t += riga + "\r\n";
    return compila(linea(cartelli, "88000"), t + "[fine]\r\n");
}

TEST(Stazione, FirstStationOfKind8) {
    const auto r = compila_stazioni({stazione(0, 8, 400, 1, "PRIMA STAZIONE")});
    ASSERT_EQ(r.c.codice_errore, 0);
    const voce& v = r.c.voci[1];
    EXPECT_EQ(v.inizio, -400);
    EXPECT_EQ(v.fine, 400);
    EXPECT_EQ(v.nome, "PRIMA STAZIONE");
    EXPECT_EQ(v.orario, (6 * 60 + 41) * 60);
    EXPECT_EQ(v.b2, 0);
    EXPECT_EQ(v.b3, 0);
    EXPECT_EQ(v.b5, 30);
    EXPECT_EQ(r.c.celle[7].tipo, tipo_cella::fermata);
    EXPECT_EQ(r.c.celle[7].dato1, 1);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(r.c.celle[7 - i].avviso, 80 + i);
}

TEST(Stazione, CentredPlatformAndTheLongerEnd) {
    const auto senza = compila_stazioni({stazione(0, 8, 400), stazione(8050, 12, 300)});
    ASSERT_EQ(senza.c.codice_errore, 0);
    EXPECT_EQ(senza.c.voci[2].inizio, 7900);
    EXPECT_EQ(senza.c.voci[2].fine, 8200);
    EXPECT_EQ(senza.c.celle[163].tipo, tipo_cella::fermata);
    EXPECT_EQ(senza.c.celle[163].dato1, 2);
    EXPECT_EQ(senza.c.celle[162].avviso, 81);
    EXPECT_EQ(senza.c.celle[159].avviso, 84);

    const auto con = compila_stazioni({stazione(0, 8, 400), stazione(8050, 12, 300, 1)});
    EXPECT_EQ(con.c.voci[2].fine, 8250);
    EXPECT_EQ(con.c.voci[2].b3, 1);
    EXPECT_EQ(con.c.celle[164].tipo, tipo_cella::fermata);
}

TEST(Stazione, KindRules) {
    struct caso {
        int tipo;
        int inizio, fine;
        int cella_fermata; // -1: none
        bool avvisi;
    };
    for (const caso& k : {caso{5, 9600, 10150, 202, false}, caso{6, 9600, 10150, 202, false},
                          caso{7, 9600, 10400, 207, true}, caso{24, 9800, 10200, 203, true},
                          caso{25, 9800, 10200, -1, false}, caso{28, 9800, 10200, -1, false}}) {
        const auto r = compila_stazioni({stazione(0, 8, 400), stazione(10000, k.tipo, 400, 1)});
        ASSERT_EQ(r.c.codice_errore, 0) << k.tipo;
        EXPECT_EQ(r.c.voci[2].inizio, k.inizio) << k.tipo;
        EXPECT_EQ(r.c.voci[2].fine, k.fine + (k.tipo >= 24 ? 50 : 0)) << k.tipo;
        int fermate = 0;
        int avvisi = 0;
        for (std::size_t i = 10; i < r.c.celle.size(); ++i) {
            fermate += r.c.celle[i].tipo == tipo_cella::fermata;
            avvisi += r.c.celle[i].avviso != 0;
        }
        EXPECT_EQ(fermate, k.cella_fermata < 0 ? 0 : 1) << k.tipo;
        if (k.cella_fermata >= 0) {
            EXPECT_EQ(r.c.celle[k.cella_fermata + (k.tipo >= 24 ? 1 : 0)].tipo, tipo_cella::fermata)
                << k.tipo;
        }
        EXPECT_EQ(avvisi, k.avvisi ? 4 : 0) << k.tipo;
    }
}

TEST(Stazione, B2NeedsALongPlatformAndIsNeverKeptOnTheFirst) {
    const auto r =
        compila_stazioni({stazione(0, 8, 600), stazione(10000, 12, 500), stazione(20000, 12, 600)});
    ASSERT_EQ(r.c.codice_errore, 0);
    EXPECT_EQ(r.c.voci[1].b2, 0);
    EXPECT_EQ(r.c.voci[2].b2, 0);
    EXPECT_EQ(r.c.voci[3].b2, 2);
}

TEST(Stazione, PlatformsMustBe350mApart) {
    // Platform ends are multiples of 50: 300 m apart fails, 350 m passes.
    const auto vicine = compila_stazioni({stazione(0, 8, 400), stazione(900, 12, 400)});
    EXPECT_EQ(vicine.c.codice_errore, codice::stazioni_vicine);
    EXPECT_EQ(vicine.c.posizione_errore, 900);
    const auto distanti = compila_stazioni({stazione(0, 8, 400), stazione(950, 12, 400)});
    EXPECT_EQ(distanti.c.codice_errore, 0);
}

TEST(Stazione, LineFailures) {
    struct caso {
        const char* nome;
        std::string riga;
        std::int32_t codice_errore;
        std::int32_t posizione;
    };
    const caso casi[] = {
        {"position not a multiple of 50", stazione(10025, 12, 400), codice::stazione_non_multipla,
         10025},
        {"platform not a multiple of 100", stazione(10000, 12, 450),
         codice::marciapiede_non_multiplo, 10000},
        {"platform end at 100 m", stazione(0, 12, 200), codice::fermata_iniziale, 0},
        {"past the range margin", stazione(94250, 12, 400), codice::fuori_tracciato, 94250},
        {"platform end past the cells", stazione(90000, 8, 20000), codice::celle_fuori_limite,
         90000},
        {"kind out of its byte", "stazione,  10000,  256,  400", codice::lettura_fallita, 0},
    };
    for (const caso& k : casi) {
        const auto r = compila_stazioni({k.riga});
        EXPECT_EQ(r.c.codice_errore, k.codice_errore) << k.nome;
        if (k.posizione != 0) {
            EXPECT_EQ(r.c.posizione_errore, k.posizione) << k.nome;
        }
        EXPECT_FALSE(r.sorgente.esiste(descrizione::treno)) << k.nome;
    }
}

TEST(Stazione, StationsStopBeforeTheRouteSignItems) {
    std::string t = "[generale]\r\n";
    for (int i = 0; i < 77; ++i)
        t += stazione(1000 + 1000 * i, 12, 400) + "\r\n";
    const auto r = compila(
        linea({"cartello_indicatore,  200,  (a)", "cartello_indicatore,  300,  (b)"}, "88000"),
        t + "[fine]\r\n");
    EXPECT_EQ(r.c.codice_errore, codice::voci_esaurite);
    EXPECT_EQ(r.c.voci[76].posizione, 76000);
    EXPECT_EQ(r.c.voci[79].nome, "(b)");
    EXPECT_EQ(r.c.voci[80].nome, "(a)");
}

} // namespace
} // namespace corvenna
