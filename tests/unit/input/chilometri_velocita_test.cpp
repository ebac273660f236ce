// The driver's kilometre of a route metre and back, and the train's speed per cell, on the
// built-in scenario (whose description gives the numbers) and on small models.

#include "input/chilometri_guida.hpp"
#include "input/velocita_effettiva.hpp"
#include "model/tipi_cella.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

// The built-in line: "uno" from 0 reads metre - 1500, "due" from 42300 reads metre - 42300,
// "tre" from 55000 descends from 91900.
TEST(ChilometriGuida, ReadingsOfTheBuiltInLineMatchItsBoards) {
    const auto sistemi = sistemi_progressiva(prova::scenario_incorporato());
    struct caso {
        double metro;
        const char* lettura;
    };
    for (const caso& k : std::vector<caso>{{0, "-1+500"},
                                           {32650, "31+150"},
                                           {42250, "40+750"},
                                           {42300, "0+000"},
                                           {44800, "2+500"},
                                           {55000, "36+900"},
                                           {55700, "36+200"}})
        EXPECT_EQ(testo_progressiva(progressiva_al_metro(sistemi, k.metro)), k.lettura) << k.metro;
}

TEST(ChilometriGuida, ReadingsAsTheBoardsWriteThem) {
    struct caso {
        double metri;
        const char* testo;
    };
    for (const caso& k :
         std::vector<caso>{{40800, "40+800"}, {-1500, "-1+500"}, {5, "0+005"}, {0.4, "0+000"}})
        EXPECT_EQ(testo_progressiva(k.metri), k.testo) << k.metri;
}

TEST(ChilometriGuida, ReadingBackFindsEveryPlaceAndTheStretchEnd) {
    const auto sistemi = sistemi_progressiva(prova::scenario_incorporato());
    // 5+000 is read under "uno" (6500), under "due" (47300) and, descending, under "tre"
    // (86900).
    EXPECT_EQ(metri_della_progressiva(sistemi, 5000, 88000),
              (std::vector<double>{6500, 47300, 86900}));
    // The last reading of "uno" stands where "due" takes over.
    EXPECT_EQ(metri_della_progressiva(sistemi, 40800, 88000), (std::vector<double>{42300}));
    EXPECT_TRUE(metri_della_progressiva(sistemi, 42300, 88000).empty());
    for (const double metro : {100.0, 30000.0, 50000.0, 70000.0}) {
        const auto ritorno =
            metri_della_progressiva(sistemi, progressiva_al_metro(sistemi, metro), 88000);
        EXPECT_NE(std::find(ritorno.begin(), ritorno.end(), metro), ritorno.end()) << metro;
    }
}

TEST(ChilometriGuida, NoSystemReadsTheMetreItself) {
    const std::vector<sistema_progressiva> nessuno(3);
    // Three systems all zero: the first rules from 0 with offset 0.
    EXPECT_EQ(progressiva_al_metro(nessuno, 1234), 1234);
    EXPECT_EQ(metri_della_progressiva({}, 700, 1000), (std::vector<double>{700}));
    EXPECT_TRUE(metri_della_progressiva({}, 1700, 1000).empty());
}

TEST(ChilometriGuida, KilometresAsUsersTypeThem) {
    struct caso {
        const char* testo;
        std::optional<double> metri;
    };
    for (const caso& k : std::vector<caso>{{"42.3", 42300},
                                           {"42,3", 42300},
                                           {"42+300", 42300},
                                           {"0+050", 50},
                                           {"-1+500", -1500},
                                           {"7", 7000},
                                           {"12.345", 12345},
                                           {"12.3456", std::nullopt},
                                           {"42+30", std::nullopt},
                                           {"+3", std::nullopt},
                                           {"", std::nullopt},
                                           {"4x", std::nullopt},
                                           {"1.", std::nullopt}})
        EXPECT_EQ(leggi_chilometro(k.testo), k.metri) << k.testo;
}

// The description: 60 km/h from 41300 to 43000, 125 before, 130 after.
TEST(VelocitaEffettiva, LineLimitOfTheBuiltInScenario) {
    const costruzione& c = prova::scenario_incorporato();
    const auto v = velocita_effettiva_celle(c, rallentamenti_celle(c));
    ASSERT_EQ(v.size(), c.celle.size());
    EXPECT_EQ(v[825], 125);
    EXPECT_EQ(v[826], 60);
    EXPECT_EQ(v[846], 60);
    EXPECT_EQ(v[860], 130);
    EXPECT_EQ(v[c.celle.size() - 1], 0);
}

TEST(VelocitaEffettiva, SlowdownsLowerTheLimitOverTheirCellsSlowestFirst) {
    costruzione c;
    c.celle.resize(60);
    for (cella& x : c.celle)
        x.velocita = 20; // 100 km/h
    // Two starts before one end: both run to it, the slower one rules where they overlap.
    const auto inizia = [&c](std::size_t k, int v) {
        c.celle[k].tipo = tipo_cella::inizio_rallentamento;
        c.celle[k].dato1 = static_cast<std::int16_t>(v);
    };
    inizia(11, 60);                                    // from 500 m: cells 10 to 19
    inizia(16, 30);                                    // from 750 m: cells 15 to 19
    c.celle[21].tipo = tipo_cella::fine_rallentamento; // to 1000 m
    c.celle[5].tipo = tipo_cella::avviso_rallentamento;
    c.celle[5].dato1 = 60;
    const auto r = rallentamenti_celle(c);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].inizio, 500);
    EXPECT_EQ(r[0].fine, 1000);
    EXPECT_EQ(r[1].fine, 1000);
    EXPECT_EQ(r[0].avviso, 200);
    EXPECT_FALSE(r[1].avviso);
    const auto v = velocita_effettiva_celle(c, r);
    std::vector<int> attese(60, 100);
    for (std::size_t i = 10; i < 20; ++i)
        attese[i] = i >= 15 ? 30 : 60;
    EXPECT_EQ(v, attese);
}

} // namespace
} // namespace corvenna
