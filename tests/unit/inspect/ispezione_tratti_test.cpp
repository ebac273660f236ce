// The stretches of the built-in scenario as an author asks about them: what binds the train,
// what stands there, at the metre the description wrote.

#include "inspect/ispezione_tratti.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

const elemento_tratto* cerca(const tratto_ispezione& t, const std::string& cosa) {
    for (const elemento_tratto& e : t.elementi)
        if (e.cosa == cosa)
            return &e;
    return nullptr;
}

// "segnale,  41300,  2,  2,  3,  0,  1,  2,  2,  1,  0,  0" and "velocita,  41300,  60".
TEST(IspezioneTratti, SignalBeforeMeridolaStandsWhereTheDescriptionPutsIt) {
    const ispezione i = ispeziona_tratti(prova::scenario_incorporato());
    const auto k = tratto_al_metro(i, 41300);
    ASSERT_TRUE(k);
    const tratto_ispezione& t = i.tratti[*k];
    EXPECT_EQ(t.da_metro, 41300);
    EXPECT_EQ(t.velocita_treno_kmh, 60);
    const elemento_tratto* s = cerca(t, "segnale");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->metro, 41300);
    EXPECT_EQ(s->cella, 827);
    EXPECT_EQ(s->descrizione, "segnale principale a 41300 m (km 39+800): aspetti 2/3/0, seconda "
                              "serie tipo 2 aspetti 2/1/0, ripetizione si");
    EXPECT_FALSE(s->fonte);
    // Nothing else claims the signal: the stretch of its cell holds no feature.
    EXPECT_EQ(cerca(i.tratti[827], "segnale"), nullptr);
}

TEST(IspezioneTratti, StationsStopOrPassAndBoardsReadAsWritten) {
    const ispezione i = ispeziona_tratti(prova::scenario_incorporato());
    const elemento_tratto* meridola = cerca(i.tratti[*tratto_al_metro(i, 42300)], "stazione");
    ASSERT_NE(meridola, nullptr);
    EXPECT_EQ(meridola->descrizione, "stazione MERIDOLA a 42300 m (km 0+000): fermata alle "
                                     "07:16:00, marciapiede da 42000 a 42600 m");
    const elemento_tratto* fossamerla = cerca(i.tratti[*tratto_al_metro(i, 11800)], "stazione");
    ASSERT_NE(fossamerla, nullptr);
    EXPECT_EQ(fossamerla->descrizione, "stazione FOSSAMERLA a 11800 m (km 10+300): transito "
                                       "senza fermata, marciapiede da 11650 a 11950 m");
    const elemento_tratto* pl = cerca(i.tratti[*tratto_al_metro(i, 2900)], "cartello");
    ASSERT_NE(pl, nullptr);
    EXPECT_EQ(pl->descrizione, "cartello \"P.L. / km 1+522\" a 2900 m (km 1+400)");
    // "indicatori_vmax,  64100,  100,  105,  105,  2, ..." is in force after it.
    const auto& b = i.tratti[*tratto_al_metro(i, 64200)].cartello_velocita;
    ASSERT_TRUE(b);
    EXPECT_EQ(b->metro, 64100);
    EXPECT_EQ(serie_kmh(b->prima_serie_kmh), "100/105/105");
}

TEST(IspezioneTratti, QueriesStayWithinTheCells) {
    const ispezione i = ispeziona_tratti(prova::scenario_incorporato());
    EXPECT_EQ(tratto_al_metro(i, 0), 0u);
    EXPECT_EQ(tratto_al_metro(i, 49.9), 0u);
    EXPECT_EQ(tratto_al_metro(i, 95049), 1900u);
    EXPECT_FALSE(tratto_al_metro(i, 95050));
    EXPECT_FALSE(tratto_al_metro(i, -1));
    EXPECT_EQ(tratti_tra(i, 41350, 41250), (std::vector<std::size_t>{825, 826, 827}));
    EXPECT_EQ(tratti_tra(i, 95000, 1e9), (std::vector<std::size_t>{1900}));
    EXPECT_TRUE(tratti_tra(i, 1e9, 2e9).empty());
}

} // namespace
} // namespace corvenna
