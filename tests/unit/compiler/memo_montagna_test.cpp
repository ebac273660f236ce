#include "compiler/memo_montagna.hpp"

#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"
#include "support/celle_di_prova.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace corvenna {
namespace {

using prova::modello_vuoto;
using prova::prima_cella_diversa;

TEST(MemoMontagna, TunnelStretchMarksEveryCellAndEveryFourthWithATunnelMarker) {
    costruzione c = modello_vuoto();
    memo_montagna(c, 8700, 11050, 11);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.num_montagne, 1);
    EXPECT_EQ(c.inizio_montagne[1], 8700);
    EXPECT_EQ(c.fine_montagne[1], 11050);
    for (int i = 0; i <= c.ultima_cella; ++i) {
        const bool nel_tratto = i >= 174 && i <= 220;
        EXPECT_EQ(c.celle[i].montagna, nel_tratto ? 1 : 0) << "cell " << i;
        const bool marcatore = nel_tratto && i >= 177 && (i - 177) % 4 == 0 && i <= 217;
        EXPECT_EQ(c.celle[i].tipo, marcatore ? tipo_cella::marcatore_galleria : 0) << "cell " << i;
    }
}

TEST(MemoMontagna, PlainStretchPutsNoMarkersAndOverwritesRelief) {
    costruzione c = modello_vuoto();
    c.celle[175].montagna = 9;
    memo_montagna(c, 8700, 11050, 4);

    EXPECT_EQ(c.celle[175].montagna, 4);
    EXPECT_EQ(prova::celle_con_tipo(c), 0);
}

TEST(MemoMontagna, TunnelKeepsKindsAlreadyOnItsCells) {
    costruzione c = modello_vuoto();
    c.celle[177].tipo = tipo_cella::cartello;
    c.celle[177].dato1 = 80;
    c.celle[178].tipo = tipo_cella::segnale;
    memo_montagna(c, 8700, 11050, 12);

    EXPECT_EQ(c.celle[177].tipo, tipo_cella::cartello);
    EXPECT_EQ(c.celle[177].dato1, 80);
    EXPECT_EQ(c.celle[177].montagna, 2);
    EXPECT_EQ(c.celle[178].tipo, tipo_cella::segnale);
    EXPECT_EQ(c.celle[181].tipo, tipo_cella::marcatore_galleria);
}

struct caso_vicinanza {
    std::int32_t inizio;
    std::int32_t tipo;
    std::uint8_t montagna_attesa;
};

// The previous stretch ends at 2000 m.
class MemoMontagnaVicinanza : public testing::TestWithParam<caso_vicinanza> {};

TEST_P(MemoMontagnaVicinanza, StretchCloseAfterThePreviousOneBecomesType3) {
    const caso_vicinanza caso = GetParam();
    costruzione c = modello_vuoto();
    memo_montagna(c, 1000, 2000, 5);
    memo_montagna(c, caso.inizio, caso.inizio + 1000, caso.tipo);

    const auto prima = cella_di(caso.inizio);
    EXPECT_EQ(c.celle[prima].montagna, caso.montagna_attesa);
    EXPECT_EQ(c.num_montagne, 2);
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoMontagnaVicinanza,
                         testing::Values(caso_vicinanza{2150, 7, 3}, caso_vicinanza{2151, 7, 7},
                                         caso_vicinanza{1500, 7, 3}, caso_vicinanza{2000, 7, 3},
                                         caso_vicinanza{2150, 17, 3}, caso_vicinanza{2151, 17, 7}));

TEST(MemoMontagna, ClosenessComparesWithThePreviousLineNotThePreviousPosition) {
    costruzione c = modello_vuoto();
    memo_montagna(c, 10000, 12000, 5);
    memo_montagna(c, 1000, 2000, 6); // starts long before the previous stretch ends
    memo_montagna(c, 20000, 21000, 7);

    EXPECT_EQ(c.celle[20].montagna, 3);
    EXPECT_EQ(c.celle[400].montagna, 7);
}

TEST(MemoMontagna, CloseTunnelStaysATunnel) {
    costruzione c = modello_vuoto();
    memo_montagna(c, 1000, 2000, 5);
    memo_montagna(c, 2100, 3100, 18);

    EXPECT_EQ(c.celle[42].montagna, 3);
    EXPECT_EQ(c.celle[45].tipo, tipo_cella::marcatore_galleria);
}

TEST(MemoMontagna, StretchThatRoundsToNoCellIsStillCounted) {
    costruzione c = modello_vuoto();
    const std::vector<cella> prima = c.celle;
    memo_montagna(c, 1000, 1020, 11);

    EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
    EXPECT_EQ(c.num_montagne, 1);
    EXPECT_EQ(c.inizio_montagne[1], 1000);
    EXPECT_EQ(c.fine_montagne[1], 1020);
    EXPECT_EQ(c.codice_errore, 0);
}

TEST(MemoMontagna, LastCellRoundsTheWholeQuotientHalfToEven) {
    // 1075 / 50 = 21.5 rounds to 22; 1125 / 50 - 1 = 21.5 rounds to 22 too.
    costruzione c = modello_vuoto();
    memo_montagna(c, 1075, 1125, 2);

    EXPECT_EQ(c.celle[21].montagna, 0);
    EXPECT_EQ(c.celle[22].montagna, 2);
    EXPECT_EQ(c.celle[23].montagna, 0);
}

TEST(MemoMontagna, EightyFirstStretchIsRefusedWithNothingWritten) {
    costruzione c = modello_vuoto();
    for (int n = 0; n < numero_montagne_max; ++n) {
        memo_montagna(c, n * 1000, n * 1000 + 500, 1);
    }
    ASSERT_EQ(c.codice_errore, 0);
    ASSERT_EQ(c.num_montagne, 80);
    const std::vector<cella> prima = c.celle;

    memo_montagna(c, 85000, 86000, 11);

    EXPECT_EQ(c.codice_errore, codice::troppe_montagne);
    EXPECT_EQ(c.num_montagne, 80);
    EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
}

class MemoMontagnaFuoriLimite : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MemoMontagnaFuoriLimite, StretchBeyondTheCellsIsRefusedWithNothingWritten) {
    const auto [inizio, fine] = GetParam();
    costruzione c = modello_vuoto();
    const std::vector<cella> prima = c.celle;
    memo_montagna(c, inizio, fine, 11);

    EXPECT_EQ(c.codice_errore, codice::celle_fuori_limite);
    EXPECT_EQ(c.num_montagne, 0);
    EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
}

// Cells 0 to 1900 exist: a last cell of 1901 or a first cell of -1 is outside.
INSTANTIATE_TEST_SUITE_P(Casi, MemoMontagnaFuoriLimite,
                         testing::Values(std::pair{94000, 95100}, std::pair{-50, 500},
                                         std::pair{96000, 99000}));

TEST(MemoMontagna, StretchReachingTheLastCellIsAccepted) {
    costruzione c = modello_vuoto();
    memo_montagna(c, 94000, 95050, 1);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[1900].montagna, 1);
}

TEST(MemoMontagna, EmptyStretchBeyondTheCellsTouchesNothingAndIsAccepted) {
    costruzione c = modello_vuoto();
    memo_montagna(c, 99000, 99000, 1);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.num_montagne, 1);
}

TEST(MemoMontagna, SuccessLeavesAnEarlierCodeInPlace) {
    costruzione c = modello_vuoto();
    c.codice_errore = codice::segnale_occupato;
    memo_montagna(c, 8700, 11050, 11);

    EXPECT_EQ(c.codice_errore, codice::segnale_occupato);
    EXPECT_EQ(c.celle[174].montagna, 1);
}

} // namespace
} // namespace corvenna
