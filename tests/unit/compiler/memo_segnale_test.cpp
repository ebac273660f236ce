#include "compiler/memo_segnale.hpp"

#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"
#include "support/celle_di_prova.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace corvenna {
namespace {

using prova::modello_vuoto;
using prova::prima_cella_diversa;

// The eleven values of one signal line, in the order of the line.
struct riga_segnale {
    std::int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};

void registra(costruzione& c, const riga_segnale& r) {
    memo_segnale(c, r.posizione, r.sx, r.s1, r.s2, r.s3, r.rapp, r.dx, r.d1, r.d2, r.d3, r.tempo);
}

struct caso_segnale {
    riga_segnale riga;
    int cella;
    std::array<std::int16_t, 4> dati;
    std::uint8_t tempo;
    std::array<int, 4> celle_avviso;
    std::uint8_t primo_avviso;
};

class MemoSegnaleRighe : public testing::TestWithParam<caso_segnale> {};

TEST_P(MemoSegnaleRighe, PlacesTheSignalAndItsApproachMarkers) {
    const caso_segnale caso = GetParam();
    costruzione c = modello_vuoto();
    registra(c, caso.riga);

    EXPECT_EQ(c.codice_errore, 0);
    const cella& s = c.celle[caso.cella];
    EXPECT_EQ(s.tipo, tipo_cella::segnale);
    EXPECT_EQ(s.dato1, caso.dati[0]);
    EXPECT_EQ(s.dato2, caso.dati[1]);
    EXPECT_EQ(s.dato3, caso.dati[2]);
    EXPECT_EQ(s.dato4, caso.dati[3]);
    EXPECT_EQ(s.tempo, caso.tempo);
    int scritte = 0;
    for (int i = 0; i <= c.ultima_cella; ++i) {
        scritte += c.celle[i].avviso != 0 ? 1 : 0;
    }
    EXPECT_EQ(scritte, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.celle[caso.celle_avviso[i]].avviso, caso.primo_avviso + i)
            << "cell " << caso.celle_avviso[i];
        EXPECT_EQ(c.celle[caso.celle_avviso[i]].tipo, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoSegnaleRighe,
                         testing::Values(caso_segnale{{40050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0},
                                                      802,
                                                      {53, 61, 0, 4},
                                                      0,
                                                      {800, 798, 796, 794},
                                                      41},
                                         caso_segnale{{41300, 2, 2, 3, 0, 1, 2, 2, 1, 0, 0},
                                                      827,
                                                      {22, 31, 0, 18},
                                                      0,
                                                      {825, 823, 821, 819},
                                                      81}));

struct caso_tempo {
    std::int32_t sx;
    std::int32_t tempo;
    std::uint8_t tempo_cella;
};

class MemoSegnaleTempo : public testing::TestWithParam<caso_tempo> {};

TEST_P(MemoSegnaleTempo, OnlySx2KeepsTheTimeRaisedTo101) {
    const caso_tempo caso = GetParam();
    costruzione c = modello_vuoto();
    registra(c, {40050, caso.sx, 5, 6, 0, 0, 1, 3, 1, 0, caso.tempo});

    EXPECT_EQ(c.celle[802].tempo, caso.tempo_cella);
}

INSTANTIATE_TEST_SUITE_P(Casi, MemoSegnaleTempo,
                         testing::Values(caso_tempo{2, 50, 101}, caso_tempo{2, 0, 0},
                                         caso_tempo{2, 1, 101}, caso_tempo{2, 100, 101},
                                         caso_tempo{2, 101, 101}, caso_tempo{2, 200, 200},
                                         caso_tempo{2, 300, 300 - 256}, caso_tempo{2, -1, 255},
                                         caso_tempo{1, 50, 0}, caso_tempo{1, 200, 0},
                                         caso_tempo{0, 50, 0}, caso_tempo{3, 150, 0}));

TEST(MemoSegnale, PackedValuesKeepTheirLowBits) {
    costruzione c = modello_vuoto();
    // dato1 = 4000 * 10 = 40000; the first marker (10 * 3 + 0) * 10 + 1 = 301.
    registra(c, {40050, 10, 4000, 0, 0, 0, 0, 0, 0, 0, 0});

    EXPECT_EQ(c.celle[802].dato1, 40000 - 65536);
    EXPECT_EQ(c.celle[802].dato4, 30);
    EXPECT_EQ(c.celle[800].avviso, 301 - 256);
    EXPECT_EQ(c.celle[794].avviso, 304 - 256);

    costruzione d = modello_vuoto();
    registra(d, {40050, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(d.celle[800].avviso, 256 - 29);
}

TEST(MemoSegnale, MarkersReplaceWhateverTheCellsHeld) {
    costruzione c = modello_vuoto();
    c.celle[800].tipo = tipo_cella::fermata;
    c.celle[800].avviso = 82;
    c.celle[794].tipo = tipo_cella::segnale;
    registra(c, {40050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[800].tipo, tipo_cella::fermata);
    EXPECT_EQ(c.celle[800].avviso, 41);
    EXPECT_EQ(c.celle[794].tipo, tipo_cella::segnale);
    EXPECT_EQ(c.celle[794].avviso, 44);
}

TEST(MemoSegnale, TakesOverATunnelMarker) {
    costruzione c = modello_vuoto();
    c.celle[802].tipo = tipo_cella::marcatore_galleria;
    registra(c, {40050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});

    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(c.celle[802].tipo, tipo_cella::segnale);
    EXPECT_EQ(c.celle[802].dato1, 53);
}

TEST(MemoSegnale, OccupiedCellFailsWith16AndWritesNothing) {
    for (std::uint8_t tipo : {tipo_cella::segnale, tipo_cella::fine_rallentamento,
                              tipo_cella::fermata, tipo_cella::abbattimento}) {
        costruzione c = modello_vuoto();
        c.celle[802].tipo = tipo;
        const std::vector<cella> prima = c.celle;
        registra(c, {40050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});

        EXPECT_EQ(c.codice_errore, codice::segnale_occupato) << "kind " << int{tipo};
        EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1) << "kind " << int{tipo};
    }
}

TEST(MemoSegnale, SuccessLeavesAnEarlierCodeInPlace) {
    costruzione c = modello_vuoto();
    c.codice_errore = codice::avviso_occupato;
    registra(c, {40050, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});

    EXPECT_EQ(c.codice_errore, codice::avviso_occupato);
    EXPECT_EQ(c.celle[802].tipo, tipo_cella::segnale);
}

struct caso_limite {
    std::int32_t posizione;
    bool accettato;
};

class MemoSegnaleLimiti : public testing::TestWithParam<caso_limite> {};

TEST_P(MemoSegnaleLimiti, MarkersOrSignalOutsideTheCellsAreRefused) {
    const caso_limite caso = GetParam();
    costruzione c = modello_vuoto();
    const std::vector<cella> prima = c.celle;
    registra(c, {caso.posizione, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0});

    if (caso.accettato) {
        EXPECT_EQ(c.codice_errore, 0);
        EXPECT_EQ(c.celle[cella_puntuale(caso.posizione)].tipo, tipo_cella::segnale);
    } else {
        EXPECT_EQ(c.codice_errore, codice::celle_fuori_limite);
        EXPECT_EQ(prima_cella_diversa(prima, c.celle), -1);
    }
}

// 325 / 50 + 1 = 7.5 rounds to 8, so the last marker lands on cell 0; 324 gives cell 7 and a
// marker at -1. Cells end at 1900.
INSTANTIATE_TEST_SUITE_P(Casi, MemoSegnaleLimiti,
                         testing::Values(caso_limite{324, false}, caso_limite{325, true},
                                         caso_limite{350, true}, caso_limite{-5000, false},
                                         caso_limite{94950, true}, caso_limite{95000, false},
                                         caso_limite{2147483647, false}));

} // namespace
} // namespace corvenna
