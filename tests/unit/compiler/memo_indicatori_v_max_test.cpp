#include "compiler/memo_indicatori_v_max.hpp"

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

TEST(MemoIndicatoriVMax, PlacesTheBoardWithItsValues) {
    costruzione c = modello_vuoto();
    memo_indicatori_v_max(c, 64100, 100, 105, 105, 2, 0, 0, 0, 0);

    EXPECT_EQ(c.codice_errore, 0);
    const cella& k = c.celle[1283];
    EXPECT_EQ(k.tipo, tipo_cella::indicatore_v_max);
    EXPECT_EQ(k.dato1, 2000);
    EXPECT_EQ(k.dato2, 2100);
    EXPECT_EQ(k.dato3, 2100);
    EXPECT_EQ(k.dato4, 20);
    EXPECT_EQ(prova::celle_con_tipo(c), 1);
}

struct caso_valore {
    std::int32_t sinistra;
    std::int32_t destra;
    std::int16_t atteso;
};

class MemoIndicatoriVMaxValori : public testing::TestWithParam<caso_valore> {};

TEST_P(MemoIndicatoriVMaxValori, ValueIsRightOverFivePlusLeftTimesTwentyRounded) {
    const caso_valore caso = GetParam();
    costruzione c = modello_vuoto();
    // The same pair in each of the three positions.
    memo_indicatori_v_max(c, 64100, caso.sinistra, caso.sinistra, caso.sinistra, 0, caso.destra,
                          caso.destra, caso.destra, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[1283].dato1, caso.atteso);
    EXPECT_EQ(c.celle[1283].dato2, caso.atteso);
    EXPECT_EQ(c.celle[1283].dato3, caso.atteso);
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoIndicatoriVMaxValori,
                         testing::Values(caso_valore{0, 12, 2}, caso_valore{0, 13, 3},
                                         caso_valore{0, -12, -2}, caso_valore{0, -13, -3},
                                         caso_valore{3, 80, 76}, caso_valore{1638, 35, 32767},
                                         caso_valore{-1638, -40, -32768},
                                         caso_valore{-2, 100, -20}));

TEST(MemoIndicatoriVMax, StripeValuesKeepTheirLow16Bits) {
    costruzione c = modello_vuoto();
    memo_indicatori_v_max(c, 64100, 0, 0, 0, 4000, 0, 0, 0, 7);

    EXPECT_EQ(c.celle[1283].dato4, 40007 - 65536);
}

struct caso_conversione {
    std::int32_t vas, vbs, vcs, vad, vbd, vcd;
};

class MemoIndicatoriVMaxConversione : public testing::TestWithParam<caso_conversione> {};

TEST_P(MemoIndicatoriVMaxConversione, ValueBeyond16BitsFailsWith25AndWritesNothing) {
    const caso_conversione caso = GetParam();
    costruzione c = modello_vuoto();
    const std::vector<cella> prima = c.celle;
    memo_indicatori_v_max(c, 64100, caso.vas, caso.vbs, caso.vcs, 2, caso.vad, caso.vbd, caso.vcd,
                          0);

    EXPECT_EQ(c.codice_errore, codice::lettura_fallita);
    EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoIndicatoriVMaxConversione,
                         testing::Values(caso_conversione{1638, 0, 0, 40, 0, 0},   // 32768
                                         caso_conversione{-1638, 0, 0, -45, 0, 0}, // -32769
                                         caso_conversione{0, 1639, 0, 0, 0, 0},    // second value
                                         caso_conversione{0, 0, 0, 0, 0,
                                                          2147483647}, // third value only
                                         caso_conversione{2147483647, 0, 0, 0, 0, 0}));

TEST(MemoIndicatoriVMax, TakesOverATunnelMarker) {
    costruzione c = modello_vuoto();
    c.celle[1283].tipo = tipo_cella::marcatore_galleria;
    memo_indicatori_v_max(c, 64100, 100, 105, 105, 2, 0, 0, 0, 0);

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[1283].tipo, tipo_cella::indicatore_v_max);
}

TEST(MemoIndicatoriVMax, OccupiedCellFailsWith21AndWritesNothing) {
    for (std::uint8_t tipo : {tipo_cella::indicatore_v_max, tipo_cella::cartello}) {
        costruzione c = modello_vuoto();
        c.celle[1283].tipo = tipo;
        const std::vector<cella> prima = c.celle;
        memo_indicatori_v_max(c, 64100, 100, 105, 105, 2, 0, 0, 0, 0);

        EXPECT_EQ(c.codice_errore, codice::indicatore_occupato) << "kind " << int{tipo};
        EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1) << "kind " << int{tipo};
    }
}

TEST(MemoIndicatoriVMax, SuccessLeavesAnEarlierCodeInPlace) {
    costruzione c = modello_vuoto();
    c.codice_errore = codice::fine_occupata;
    memo_indicatori_v_max(c, 64100, 100, 105, 105, 2, 0, 0, 0, 0);

    EXPECT_EQ(c.codice_errore, codice::fine_occupata);
    EXPECT_EQ(c.celle[1283].tipo, tipo_cella::indicatore_v_max);
}

TEST(MemoIndicatoriVMax, BoardOutsideTheCellsIsRefusedWithNothingWritten) {
    for (std::int32_t posizione : {-100, 95000, 2147483647}) {
        costruzione c = modello_vuoto();
        const std::vector<cella> prima = c.celle;
        memo_indicatori_v_max(c, posizione, 100, 105, 105, 2, 0, 0, 0, 0);

        EXPECT_EQ(c.codice_errore, codice::celle_fuori_limite) << posizione;
        EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1) << posizione;
    }
}

} // namespace
} // namespace corvenna
