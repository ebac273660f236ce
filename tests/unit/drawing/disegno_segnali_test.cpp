#include "modello_disegno.hpp"

#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_segnali.hpp"

#include <gtest/gtest.h>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

TEST(DisegnoSegnali, CellValuesUnpackToTheLinesKindsAndAspects) {
    // The lines' values: sx, s1, s2, s3, rapp, dx, d1, d2, d3.
    struct caso {
        const char* riga;
        int sx, s[3], rapp, dx, d[3];
        tipo_segnale tipo;
    };
    const caso casi[] = {
        {"segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
         1,
         {4, 0, 0},
         0,
         0,
         {0, 0, 0},
         tipo_segnale::avviso},
        {"segnale,  4050,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0",
         2,
         {3, 0, 0},
         0,
         1,
         {2, 0, 0},
         tipo_segnale::protezione},
        {"segnale,  4050,  2,  2,  3,  0,  1,  2,  2,  1,  0,  0",
         2,
         {2, 3, 0},
         1,
         2,
         {2, 1, 0},
         tipo_segnale::protezione},
        {"segnale,  4050,  0,  9,  9,  9,  3,  2,  9,  9,  9,  0",
         0,
         {9, 9, 9},
         3,
         2,
         {9, 9, 9},
         tipo_segnale::altro},
    };
    for (const caso& k : casi) {
        const costruzione c = modello(linea({}), treno({k.riga}));
        const elementi_scenario e = estrai_elementi(c);
        ASSERT_EQ(e.segnali.size(), 1u) << k.riga;
        const segnale_letto l = leggi_segnale(e.segnali[0]);
        EXPECT_EQ(l.sx, k.sx) << k.riga;
        EXPECT_EQ(l.dx, k.dx) << k.riga;
        EXPECT_EQ(l.rapp, k.rapp) << k.riga;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(l.aspetti_sx[i], k.s[i]) << k.riga;
            EXPECT_EQ(l.aspetti_dx[i], k.d[i]) << k.riga;
        }
        EXPECT_EQ(tipo_di(l), k.tipo) << k.riga;
    }
}

TEST(DisegnoSegnali, TooltipNamesKindAndAspectsNeverThePackedValues) {
    const costruzione c =
        modello(linea({}), treno({"segnale,  4050,  2,  2,  3,  0,  1,  2,  2,  1,  0,  0"}));
    const elementi_scenario e = estrai_elementi(c);
    ASSERT_EQ(e.segnali.size(), 1u);
    EXPECT_EQ(descrizione_segnale(e, e.segnali[0], riga_origine{descrizione::treno, 3}),
              "Segnale di protezione\nkm 4,050 · progressiva 4+050\naspetti: giallo, verde\n"
              "accanto, segnale di protezione: giallo, rosso\nrapp 1\nriga 3 della descrizione "
              "del treno");
    // A damaged cell with negative values shows them whole.
    segnale_disegno rotto;
    rotto.dato4 = -7;
    rotto.dato1 = -12;
    const segnale_letto l = leggi_segnale(rotto);
    EXPECT_EQ(l.sx, -7);
    EXPECT_EQ(l.aspetti_sx[0], -12);
    EXPECT_EQ(nome_tipo_segnale(l.sx), "segnale di tipo -7");
    EXPECT_EQ(nome_aspetto(-12), "aspetto -12");
}

} // namespace
} // namespace corvenna
