#include "compiler/memo_rallentamento.hpp"

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

TEST(MemoRallentamento, PlacesStartEndBoardAndNumberedCells) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[201].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c.celle[201].dato1, 60);
    EXPECT_EQ(c.celle[201].dato3, 1);
    EXPECT_EQ(c.celle[211].tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(c.celle[211].dato1, 60);
    EXPECT_EQ(c.celle[211].dato3, 1);
    EXPECT_EQ(c.celle[177].tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(c.celle[177].dato1, 60);
    EXPECT_EQ(c.celle[177].dato3, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.celle[176 - i].tipo, tipo_cella::preavviso_numerato) << "cell " << 176 - i;
        EXPECT_EQ(c.celle[176 - i].dato1, i + 1) << "cell " << 176 - i;
    }
    EXPECT_EQ(prova::celle_con_tipo(c), 7);
    for (const cella& cl : c.celle) {
        EXPECT_EQ(cl.dato2, 0);
    }
}

TEST(MemoRallentamento, ZeroValueLeavesDato2AsItWas) {
    costruzione c = modello_vuoto();
    for (int k : {173, 174, 175, 176, 177, 201, 211}) {
        c.celle[k].dato2 = 99;
    }
    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    for (int k : {173, 174, 175, 176, 177, 201, 211}) {
        EXPECT_EQ(c.celle[k].dato2, 99) << "cell " << k;
    }
}

TEST(MemoRallentamento, NonZeroValueGoesToDato2AndNumbersTheApproachCells) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10000, 60, 500, 0, 1, 7);

    EXPECT_EQ(c.celle[201].dato2, 7);
    EXPECT_EQ(c.celle[211].dato2, 7);
    EXPECT_EQ(c.celle[177].dato2, 7);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.celle[176 - i].dato2, i + 1) << "cell " << 176 - i;
    }
}

TEST(MemoRallentamento, NoNumberedCellsWithoutTheFlag) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10000, 60, 500, 1, 0, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[177].tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(prova::celle_con_tipo(c), 3);
}

TEST(MemoRallentamento, NearTheOriginOnlyStartAndEndAreWritten) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 1500, 30, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[31].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c.celle[41].tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(prova::celle_con_tipo(c), 2);

    costruzione d = modello_vuoto();
    memo_rallentamento(d, 1501, 30, 500, 1, 1, 0);
    EXPECT_EQ(d.celle[7].tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(prova::celle_con_tipo(d), 7);
}

TEST(MemoRallentamento, ShortSlowdownEndsAsAStartCell) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10000, 60, 20, 1, 0, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[201].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c.celle[201].dato1, 60);
    EXPECT_EQ(c.celle[201].dato3, 1);
    EXPECT_EQ(prova::celle_con_tipo(c), 2); // the cell and the warning board
}

TEST(MemoRallentamento, ValuesKeepTheirLow16Bits) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10000, 70000, 500, -1, 0, 65537);

    EXPECT_EQ(c.celle[201].dato1, 70000 - 65536);
    EXPECT_EQ(c.celle[201].dato2, 1);
    EXPECT_EQ(c.celle[201].dato3, -1);
    EXPECT_EQ(c.celle[177].dato1, 70000 - 65536);
}

struct caso_occupato {
    int cella_occupata;
    std::int32_t codice_atteso;
};

// The slowdown at 10000 m over 500 m: board 177, start 201, end 211, numbered 176 to 173.
class MemoRallentamentoOccupato : public testing::TestWithParam<caso_occupato> {};

TEST_P(MemoRallentamentoOccupato, OccupiedCellFailsWithItsCode) {
    const caso_occupato caso = GetParam();
    costruzione c = modello_vuoto();
    c.celle[caso.cella_occupata].tipo = tipo_cella::cartello;
    const std::vector<cella> prima = c.celle;

    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, caso.codice_atteso);
    if (caso.codice_atteso == codice::preavvisi_occupati) {
        // The slowdown's own cells stay written; no numbered cell is.
        EXPECT_EQ(c.celle[201].tipo, tipo_cella::inizio_rallentamento);
        EXPECT_EQ(c.celle[211].tipo, tipo_cella::fine_rallentamento);
        EXPECT_EQ(c.celle[177].tipo, tipo_cella::avviso_rallentamento);
        EXPECT_EQ(prova::celle_con_tipo(c), 4);
    } else {
        EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoRallentamentoOccupato,
                         testing::Values(caso_occupato{177, codice::avviso_occupato},
                                         caso_occupato{201, codice::inizio_occupato},
                                         caso_occupato{211, codice::fine_occupata},
                                         caso_occupato{176, codice::preavvisi_occupati},
                                         caso_occupato{173, codice::preavvisi_occupati}));

TEST(MemoRallentamento, ChecksTheBoardBeforeTheStart) {
    costruzione c = modello_vuoto();
    c.celle[177].tipo = tipo_cella::segnale;
    c.celle[201].tipo = tipo_cella::segnale;
    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, codice::avviso_occupato);
}

TEST(MemoRallentamento, TakesOverTunnelMarkers) {
    costruzione c = modello_vuoto();
    for (int k : {173, 177, 201, 211}) {
        c.celle[k].tipo = tipo_cella::marcatore_galleria;
    }
    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[173].tipo, tipo_cella::preavviso_numerato);
    EXPECT_EQ(c.celle[177].tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(c.celle[201].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c.celle[211].tipo, tipo_cella::fine_rallentamento);
}

TEST(MemoRallentamento, BoardRoundedOntoItsOwnNumberedCellsFailsWith20) {
    // (10075 - 1200) / 50 = 177.5: the board goes to round(178.5) = 178 and the first numbered
    // cell to round(177.5) = 178, the board's own cell.
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 10075, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, codice::preavvisi_occupati);
    EXPECT_EQ(c.celle[178].tipo, tipo_cella::avviso_rallentamento);
    EXPECT_EQ(c.celle[202].tipo, tipo_cella::inizio_rallentamento);
    EXPECT_EQ(c.celle[212].tipo, tipo_cella::fine_rallentamento);
    EXPECT_EQ(prova::celle_con_tipo(c), 3);
}

TEST(MemoRallentamento, SuccessLeavesAnEarlierCodeInPlace) {
    costruzione c = modello_vuoto();
    c.codice_errore = codice::cartello_occupato;
    memo_rallentamento(c, 10000, 60, 500, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, codice::cartello_occupato);
    EXPECT_EQ(c.celle[201].tipo, tipo_cella::inizio_rallentamento);
}

struct caso_fuori_limite {
    std::int32_t x;
    std::int32_t l;
    std::int32_t ultima_cella;
};

class MemoRallentamentoFuoriLimite : public testing::TestWithParam<caso_fuori_limite> {};

TEST_P(MemoRallentamentoFuoriLimite, CellsBeyondTheArrayAreRefusedWithNothingWritten) {
    const caso_fuori_limite caso = GetParam();
    costruzione c = modello_vuoto(caso.ultima_cella);
    const std::vector<cella> prima = c.celle;

    memo_rallentamento(c, caso.x, 60, caso.l, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, codice::celle_fuori_limite);
    EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoRallentamentoFuoriLimite,
                         testing::Values(caso_fuori_limite{94000, 1000, 1900}, // end cell 1901
                                         caso_fuori_limite{95000, 0,
                                                           1900}, // start and end cell 1901
                                         caso_fuori_limite{10000, -10100, 1900}, // end cell -1
                                         caso_fuori_limite{-100, 500, 1900},     // start cell -1
                                         caso_fuori_limite{2147483000, 1000, 1900}));

TEST(MemoRallentamento, SlowdownEndingOnTheLastCellIsAccepted) {
    costruzione c = modello_vuoto();
    memo_rallentamento(c, 94000, 60, 950, 1, 1, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[1900].tipo, tipo_cella::fine_rallentamento);
}

} // namespace
} // namespace corvenna
