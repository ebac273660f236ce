#include "modello_disegno.hpp"

#include "drawing/disegno_elementi.hpp"

#include <gtest/gtest.h>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

TEST(DisegnoElementi, StationsSignsBoardsAndStretchesFromTheModel) {
    const costruzione c = modello(
        linea({"montagna,  2500,  3500,  12", "montagna,  7000,  8000,  2",
               "indicatori_vmax,  2050,  80,  90,  95,  1,    ,    ,    ,  0",
               "cartello_indicatore,  1200,     (   P.L.  )(km 3+200)",
               "cartello_indicatore,  6500,     (Fiume )(ADIGE)"}),
        treno({"stazione,  0,  2,  400,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  0,  0,   "
               "PRIMA",
               "stazione,  7500,  28,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
               " TRANSITO",
               "segnale,  3600,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0"}));
    const elementi_scenario e = estrai_elementi(c);

    // Two stations (items 1 and 2); the signs hold items 80 and 79 and are not stations.
    ASSERT_EQ(e.stazioni.size(), 2u);
    EXPECT_EQ(e.stazioni[0].nome, "PRIMA");
    EXPECT_EQ(e.stazioni[0].voce, 1);
    EXPECT_EQ(e.stazioni[0].orario, 8 * 3600);
    EXPECT_EQ(e.stazioni[0].cella_fermata, 3);
    EXPECT_EQ(e.stazioni[1].nome, "TRANSITO");
    EXPECT_FALSE(e.stazioni[1].cella_fermata.has_value());

    ASSERT_EQ(e.segnali.size(), 1u);
    EXPECT_EQ(e.segnali[0].metro, 3600);
    EXPECT_EQ(e.segnali[0].cella, 73);

    ASSERT_EQ(e.cartelli.size(), 3u);
    const cartello_disegno& indicatore = e.cartelli[0];
    EXPECT_EQ(indicatore.tipo, tipo_cartello::indicatore);
    EXPECT_EQ(indicatore.metro, 1200);
    EXPECT_EQ(indicatore.voce, 80);
    EXPECT_EQ(indicatore.testo, "(   P.L.  )(km 3+200)");
    const cartello_disegno& velocita = e.cartelli[1];
    EXPECT_EQ(velocita.tipo, tipo_cartello::velocita);
    EXPECT_EQ(velocita.metro, 2050);
    EXPECT_EQ(velocita.velocita_s[0], 80);
    EXPECT_EQ(velocita.velocita_s[1], 90);
    EXPECT_EQ(velocita.velocita_s[2], 95);
    EXPECT_EQ(velocita.strisce_s, 1);
    EXPECT_EQ(e.cartelli[2].voce, 79);

    // The tunnel (type 12: tunnel of relief type 2) and the plain relief stretch.
    ASSERT_EQ(e.rilievi.size(), 2u);
    EXPECT_EQ(e.rilievi[0].inizio, 2500);
    EXPECT_EQ(e.rilievi[0].fine, 3500);
    EXPECT_EQ(e.rilievi[0].tipo, 2);
    EXPECT_TRUE(e.rilievi[0].galleria);
    EXPECT_EQ(e.rilievi[1].inizio, 7000);
    EXPECT_FALSE(e.rilievi[1].galleria);
}

TEST(DisegnoElementi, KilometricReadingsFollowTheSystemThatRulesEachStretch) {
    const std::string testo_linea = prova::testo({
        "[generale]",
        "lunghezza percorso,  20000",
        "progressiva chilometrica uno,  0,  -1500,  0",
        "progressiva chilometrica due,  8000,  -8000,  0",
        "progressiva chilometrica tre,  12000,  30000,  1",
        "[fine]",
    });
    const costruzione c = modello(testo_linea, treno({}));
    const elementi_scenario e = estrai_elementi(c);
    struct caso {
        double metro;
        double lettura;
    };
    const caso casi[] = {{0, -1500},
                         {7999, 6499},
                         {8000, 0},
                         {11950, 3950},
                         // The descending system holds 30100; the boards read 30000 - p.
                         {12000, 18000},
                         {20000, 10000}};
    for (const caso& k : casi)
        EXPECT_EQ(progressiva_al_metro(e.sistemi, k.metro), k.lettura) << k.metro;

    const std::vector<tratto_progressiva> tratti =
        tratti_progressiva(e.sistemi, static_cast<double>(e.fine_asse));
    ASSERT_EQ(tratti.size(), 3u);
    EXPECT_EQ(tratti[0].inizio, 0);
    EXPECT_EQ(tratti[1].inizio, 8000);
    EXPECT_EQ(tratti[2].inizio, 12000);
    EXPECT_EQ(tratti[2].fine, 20000);
    EXPECT_TRUE(tratti[2].sistema->decrescente);
}

TEST(DisegnoElementi, DamagedValuesAreLeftOutNotFollowed) {
    costruzione c;
    c.celle.resize(40);
    c.celle[5].tipo = 14; // a route sign pointing past the item table
    c.celle[5].dato1 = 500;
    c.celle[6].tipo = 3; // a slowdown start with no end
    c.celle[6].dato1 = 30;
    c.voci[voce_percorso].fine = 999999; // beyond the cells
    const elementi_scenario e = estrai_elementi(c);
    ASSERT_EQ(e.cartelli.size(), 1u);
    EXPECT_EQ(e.cartelli[0].testo, "");
    ASSERT_EQ(e.rallentamenti.size(), 1u);
    EXPECT_EQ(e.rallentamenti[0].fine, metro_elemento(39));
    EXPECT_EQ(e.lunghezza_percorso, 37 * 50);
    EXPECT_TRUE(e.stazioni.empty());
}

} // namespace
} // namespace corvenna
