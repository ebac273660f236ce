#include "finishing/rifinitura.hpp"

#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"
#include "support/celle_di_prova.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

using namespace corvenna;

namespace {

constexpr std::uint8_t segnale = tipo_cella::segnale;
constexpr std::uint8_t fine = tipo_cella::fine_rallentamento;
constexpr std::uint8_t inizio = tipo_cella::inizio_rallentamento;
constexpr std::uint8_t avviso = tipo_cella::avviso_rallentamento;
constexpr std::uint8_t galleria = tipo_cella::marcatore_galleria;
constexpr std::uint8_t abbattimento = tipo_cella::abbattimento_valore;
// Any kind that takes a cell and that the pass does not act on.
constexpr std::uint8_t occupata = tipo_cella::indicatore_v_max;

void metti(costruzione& c, std::int32_t indice, std::uint8_t tipo, std::int16_t dato1 = 0) {
    c.celle[indice].tipo = tipo;
    c.celle[indice].dato1 = dato1;
}

// A slowdown start at s with the given speed, and its end at e (none when e < 0).
void metti_rallentamento(costruzione& c, std::int32_t s, std::int16_t velocita, std::int32_t e) {
    metti(c, s, inizio, velocita);
    if (e >= 0)
        metti(c, e, fine, velocita);
}

// The cells that hold an abbattimento with the value 180.
std::set<std::int32_t> marcatori(const costruzione& c) {
    std::set<std::int32_t> trovati;
    for (std::size_t i = 0; i < c.celle.size(); ++i)
        if (c.celle[i].tipo == abbattimento && c.celle[i].dato1 == valore_abbattimento)
            trovati.insert(static_cast<std::int32_t>(i));
    return trovati;
}

std::set<std::int32_t> marcatori_tra(const costruzione& c, std::int32_t da, std::int32_t a) {
    std::set<std::int32_t> trovati;
    for (std::int32_t i : marcatori(c))
        if (i >= da && i <= a)
            trovati.insert(i);
    return trovati;
}

} // namespace

TEST(Minimo, SmallerValueAndFirstWhenEqual) {
    EXPECT_EQ(minimo(180, 200), 180);
    EXPECT_EQ(minimo(180, 150), 150);
    EXPECT_EQ(minimo(180, 180), 180);
    EXPECT_EQ(minimo(180, -3), -3);
}

TEST(Rifinitura, WithoutSlowdownsLeavesEveryCellAsItWas) {
    costruzione c = prova::modello_vuoto(60);
    metti(c, 10, segnale, 53);
    metti(c, 11, tipo_cella::fermata, 4);
    metti(c, 20, galleria);
    metti(c, 30, abbattimento, 200);
    c.celle[31].montagna = 2;
    c.celle[32].velocita = 24;
    const std::vector<cella> prima = c.celle;

    rifinitura(c);

    ASSERT_EQ(c.celle.size(), prima.size());
    for (std::size_t i = 0; i < prima.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.celle[i].tipo, prima[i].tipo);
        EXPECT_EQ(c.celle[i].dato1, prima[i].dato1);
        EXPECT_EQ(c.celle[i].montagna, prima[i].montagna);
        EXPECT_EQ(c.celle[i].velocita, prima[i].velocita);
    }
    EXPECT_EQ(c.codice_errore, 0);
}

// A signal at cell 10 before a warning board at 15: the two cells before it, p = 9 and q = 8.
TEST(Rifinitura, SignalBeforeWarningBoardTakesTheFirstCaseThatHolds) {
    struct caso {
        const char* nome;
        std::uint8_t tipo_p;
        std::int16_t dato1_p;
        std::uint8_t tipo_q;
        std::int16_t dato1_q;
        std::uint8_t atteso_tipo_p;
        std::int16_t atteso_dato1_p;
        std::uint8_t atteso_tipo_q;
        std::int16_t atteso_dato1_q;
        std::int32_t atteso_errore;
    };
    const caso casi[] = {
        {"p free", 0, 0, 0, 0, abbattimento, 180, 0, 0, 0},
        {"p tunnel counts as free", galleria, 0, 0, 0, abbattimento, 180, 0, 0, 0},
        {"p taken, q free", occupata, 7, 0, 0, occupata, 7, abbattimento, 180, 0},
        {"free q wins over lowering p", abbattimento, 200, 0, 0, abbattimento, 200, abbattimento,
         180, 0},
        {"q taken by a signal: p lowered", abbattimento, 200, segnale, 0, abbattimento, 180,
         segnale, 0, 0},
        {"p below 180 stays", abbattimento, 150, occupata, 0, abbattimento, 150, occupata, 0, 0},
        {"p taken, q lowered", occupata, 0, abbattimento, 300, occupata, 0, abbattimento, 180, 0},
        {"neither usable", occupata, 0, tipo_cella::abbattimento, 0, occupata, 0,
         tipo_cella::abbattimento, 0, codice::abbattimento_segnale},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c = prova::modello_vuoto(40);
        metti(c, 10, segnale);
        metti(c, 15, avviso, 60);
        metti(c, 9, k.tipo_p, k.dato1_p);
        metti(c, 8, k.tipo_q, k.dato1_q);
        c.celle[9].montagna = 3;

        rifinitura(c);

        EXPECT_EQ(c.celle[9].tipo, k.atteso_tipo_p);
        EXPECT_EQ(c.celle[9].dato1, k.atteso_dato1_p);
        EXPECT_EQ(c.celle[9].montagna, 3) << "a marker changes only tipo and dato1";
        EXPECT_EQ(c.celle[8].tipo, k.atteso_tipo_q);
        EXPECT_EQ(c.celle[8].dato1, k.atteso_dato1_q);
        EXPECT_EQ(c.codice_errore, k.atteso_errore);
        if (k.atteso_errore != 0) {
            EXPECT_EQ(c.posizione_errore, 10 * 50);
        }
    }
}

TEST(Rifinitura, EverySignalInTheTwentyCellsBeforeTheBoardIsHandled) {
    costruzione c = prova::modello_vuoto(60);
    metti(c, 40, avviso, 60);
    metti(c, 38, segnale); // 2 cells before
    metti(c, 20, segnale); // 20 cells before
    metti(c, 18, segnale); // 22 cells before: out of reach

    rifinitura(c);

    EXPECT_EQ(marcatori(c), (std::set<std::int32_t>{19, 37}));
}

TEST(Rifinitura, SignalsOnTheFirstThreeCellsAreNeverLookedAt) {
    struct caso {
        std::int32_t cella_avviso;
        std::int32_t cella_segnale;
        std::set<std::int32_t> attesi;
    };
    const caso casi[] = {
        {5, 2, {}}, {5, 1, {}}, {3, 2, {}}, {5, 3, {2}}, {4, 3, {2}},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(testing::Message()
                     << "board " << k.cella_avviso << ", signal " << k.cella_segnale);
        costruzione c = prova::modello_vuoto(30);
        metti(c, k.cella_avviso, avviso, 60);
        metti(c, k.cella_segnale, segnale);

        rifinitura(c);

        EXPECT_EQ(marcatori(c), k.attesi);
        EXPECT_EQ(c.codice_errore, 0);
    }
}

TEST(Rifinitura, MainLoopStopsTwoCellsBeforeTheLastCell) {
    struct caso {
        std::int32_t cella_avviso;
        bool trattato;
    };
    const caso casi[] = {{28, true}, {29, false}, {30, false}};
    for (const caso& k : casi) {
        SCOPED_TRACE(k.cella_avviso);
        costruzione c = prova::modello_vuoto(30);
        metti(c, k.cella_avviso, avviso, 60);
        metti(c, k.cella_avviso - 3, segnale);

        rifinitura(c);

        EXPECT_EQ(marcatori(c).size(), k.trattato ? 1u : 0u);
    }
}

// A fast slowdown (no walk) without an end cell isolates the bands.
TEST(Rifinitura, BandsBeforeASlowdownStartDependOnTheStartCell) {
    struct caso {
        std::int32_t s;
        std::set<std::int32_t> attesi;
    };
    const caso casi[] = {
        {7, {}},       {8, {3}},          {13, {8}},          {14, {9, 3}},
        {20, {15, 9}}, {21, {16, 10, 3}}, {40, {35, 29, 22}},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.s);
        costruzione c = prova::modello_vuoto(80);
        metti_rallentamento(c, k.s, 120, -1);

        rifinitura(c);

        EXPECT_EQ(marcatori(c), k.attesi);
        EXPECT_EQ(c.codice_errore, 0);
    }
}

TEST(Rifinitura, BandTakesItsFirstFreeCellAndNeverLowersAValue) {
    struct caso {
        const char* nome;
        std::vector<std::pair<std::int32_t, std::uint8_t>> prese;
        std::int32_t atteso;
    };
    // Start at 30: the first band is tried as cells 25, 24, 23.
    const caso casi[] = {
        {"first free", {}, 25},
        {"tunnel counts as free", {{25, galleria}}, 25},
        {"second", {{25, occupata}}, 24},
        {"third", {{25, occupata}, {24, segnale}}, 23},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c = prova::modello_vuoto(80);
        metti_rallentamento(c, 30, 120, -1);
        for (const auto& [indice, tipo] : k.prese)
            metti(c, indice, tipo);

        rifinitura(c);

        EXPECT_EQ(marcatori_tra(c, 23, 25), (std::set<std::int32_t>{k.atteso}));
    }

    costruzione c = prova::modello_vuoto(80);
    metti_rallentamento(c, 30, 120, -1);
    metti(c, 25, abbattimento, 200);
    rifinitura(c);
    EXPECT_EQ(c.celle[25].dato1, 200);
    EXPECT_EQ(marcatori_tra(c, 23, 25), (std::set<std::int32_t>{24}));
}

TEST(Rifinitura, FullBandRecordsError12AndTheOtherBandsStillGetTheirMarker) {
    costruzione c = prova::modello_vuoto(80);
    metti_rallentamento(c, 30, 120, -1);
    metti(c, 25, occupata);
    metti(c, 24, occupata);
    metti(c, 23, abbattimento, 150);
    // An earlier error is overwritten by the later one.
    c.codice_errore = codice::abbattimento_segnale;
    c.posizione_errore = 1;

    rifinitura(c);

    EXPECT_EQ(c.codice_errore, codice::abbattimento_fasce);
    EXPECT_EQ(c.posizione_errore, 30 * 50);
    EXPECT_EQ(c.celle[23].dato1, 150);
    EXPECT_EQ(marcatori_tra(c, 0, 29), (std::set<std::int32_t>{19, 12}));
}

TEST(Rifinitura, SlowWalkPlacesAMarkerEveryEightCells) {
    costruzione c = prova::modello_vuoto(100);
    metti_rallentamento(c, 10, 60, 40);

    rifinitura(c);

    EXPECT_EQ(marcatori_tra(c, 11, 100), (std::set<std::int32_t>{18, 26, 34}));
    EXPECT_EQ(c.codice_errore, 0);
}

TEST(Rifinitura, WalkFallbacksShiftTheRhythm) {
    struct caso {
        const char* nome;
        std::vector<std::int32_t> prese;
        std::set<std::int32_t> attesi;
        std::int32_t errore_alla_cella; // -1: no error
    };
    const caso casi[] = {
        {"k taken: k - 1", {18}, {17, 25, 33}, -1},
        {"k and k - 1 taken: k + 1", {18, 17}, {19, 27, 35}, -1},
        {"all three taken: error and no further marker", {18, 17, 19}, {}, 18},
        {"second due cell blocked", {26, 25, 27}, {18}, 26},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c = prova::modello_vuoto(100);
        metti_rallentamento(c, 10, 60, 40);
        for (std::int32_t indice : k.prese)
            metti(c, indice, occupata);

        rifinitura(c);

        EXPECT_EQ(marcatori_tra(c, 11, 100), k.attesi);
        if (k.errore_alla_cella < 0) {
            EXPECT_EQ(c.codice_errore, 0);
        } else {
            EXPECT_EQ(c.codice_errore, codice::abbattimento_percorso);
            EXPECT_EQ(c.posizione_errore, k.errore_alla_cella * 50);
        }
    }
}

TEST(Rifinitura, WalkMarkerOnATunnelCellKeepsItsRelief) {
    costruzione c = prova::modello_vuoto(100);
    metti_rallentamento(c, 10, 60, 30);
    metti(c, 18, galleria);
    c.celle[18].montagna = 1;

    rifinitura(c);

    EXPECT_EQ(c.celle[18].tipo, abbattimento);
    EXPECT_EQ(c.celle[18].dato1, 180);
    EXPECT_EQ(c.celle[18].montagna, 1);
}

TEST(Rifinitura, WalkEndingOnADueCellUsesTheCellsAroundTheEnd) {
    costruzione c = prova::modello_vuoto(100);
    metti_rallentamento(c, 10, 60, 18);
    rifinitura(c);
    EXPECT_EQ(marcatori_tra(c, 11, 100), (std::set<std::int32_t>{17}));

    costruzione d = prova::modello_vuoto(100);
    metti_rallentamento(d, 10, 60, 18);
    metti(d, 17, occupata);
    rifinitura(d);
    EXPECT_EQ(marcatori_tra(d, 11, 100), (std::set<std::int32_t>{19}));
}

TEST(Rifinitura, SlowdownSpeedDecidesTheWalk) {
    struct caso {
        std::int16_t velocita;
        bool percorso;
    };
    const caso casi[] = {{60, true}, {109, true}, {-5, true}, {110, false}, {200, false}};
    for (const caso& k : casi) {
        SCOPED_TRACE(k.velocita);
        costruzione c = prova::modello_vuoto(100);
        metti_rallentamento(c, 30, k.velocita, 60);
        metti(c, 65, segnale);

        rifinitura(c);

        // The bands and the marker before the next signal come either way.
        EXPECT_EQ(marcatori_tra(c, 0, 29), (std::set<std::int32_t>{25, 19, 12}));
        EXPECT_EQ(marcatori_tra(c, 61, 100), (std::set<std::int32_t>{64}));
        EXPECT_EQ(marcatori_tra(c, 31, 60),
                  k.percorso ? (std::set<std::int32_t>{38, 46, 54}) : std::set<std::int32_t>{});
    }
}

// A slow slowdown from 10 to 20: its walk leaves a marker on 18.
TEST(Rifinitura, FirstSignalAfterTheEndGetsAMarkerBeforeIt) {
    struct caso {
        const char* nome;
        std::vector<std::int32_t> segnali;
        std::vector<std::int32_t> prese;
        std::set<std::int32_t> attesi;
        bool errore;
    };
    const caso casi[] = {
        {"m - 1", {25}, {}, {24}, false},
        {"m - 2", {25}, {24}, {23}, false},
        {"neither free", {25}, {24, 23}, {}, true},
        {"signal on e + 12", {32}, {}, {31}, false},
        {"signal on e + 13 is too far", {33}, {}, {}, false},
        {"only the first signal", {25, 28}, {}, {24}, false},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c = prova::modello_vuoto(100);
        metti_rallentamento(c, 10, 60, 20);
        for (std::int32_t indice : k.segnali)
            metti(c, indice, segnale);
        for (std::int32_t indice : k.prese)
            metti(c, indice, occupata);

        rifinitura(c);

        EXPECT_EQ(marcatori_tra(c, 19, 100), k.attesi);
        if (k.errore) {
            EXPECT_EQ(c.codice_errore, codice::abbattimento_percorso);
            EXPECT_EQ(c.posizione_errore, 20 * 50) << "the error names the slowdown end";
        } else {
            EXPECT_EQ(c.codice_errore, 0);
        }
    }
}

TEST(Rifinitura, StartWithoutEndWalksToTheLastCellAndStops) {
    costruzione c = prova::modello_vuoto(40);
    metti_rallentamento(c, 20, 60, -1);

    rifinitura(c);

    EXPECT_EQ(marcatori_tra(c, 21, 40), (std::set<std::int32_t>{28, 36}));
    EXPECT_EQ(c.codice_errore, 0);
}

TEST(Rifinitura, LookAheadAndSearchNeverLeaveTheArray) {
    // The due walk cell is the last cell, it and the one before taken: there is no k + 1.
    costruzione c = prova::modello_vuoto(30);
    metti_rallentamento(c, 22, 60, -1);
    metti(c, 30, occupata);
    metti(c, 29, occupata);
    rifinitura(c);
    EXPECT_EQ(c.codice_errore, codice::abbattimento_percorso);
    EXPECT_EQ(c.posizione_errore, 30 * 50);
    EXPECT_EQ(marcatori_tra(c, 23, 30), (std::set<std::int32_t>{}));

    // The end one cell before the last: the signal search reaches only the last cell.
    costruzione d = prova::modello_vuoto(30);
    metti_rallentamento(d, 20, 120, 29);
    metti(d, 30, segnale);
    rifinitura(d);
    EXPECT_EQ(marcatori_tra(d, 21, 30), (std::set<std::int32_t>{28}));

    // A start on the last cell the main loop looks at, without end.
    costruzione e = prova::modello_vuoto(30);
    metti_rallentamento(e, 28, 60, -1);
    rifinitura(e);
    EXPECT_EQ(e.codice_errore, 0);
}

TEST(Rifinitura, TinyOrMissingCellArrayIsLeftAlone) {
    for (std::int32_t ultima : {-1, 0, 1, 2, 3}) {
        SCOPED_TRACE(ultima);
        costruzione c;
        c.ultima_cella = ultima;
        if (ultima >= 0)
            c.celle.assign(static_cast<std::size_t>(ultima) + 1, cella{});
        for (cella& x : c.celle)
            x.tipo = inizio;
        rifinitura(c);
        EXPECT_TRUE(marcatori(c).empty());
    }

    // `ultima_cella` larger than the array: the array bounds the pass.
    costruzione c = prova::modello_vuoto(20);
    c.ultima_cella = 1000;
    metti_rallentamento(c, 15, 60, -1);
    rifinitura(c);
    EXPECT_EQ(marcatori(c), (std::set<std::int32_t>{10, 4}));
}

// The model's two counters stay where the pass's walks left them: `indice` one past the last
// cell of the main walk, `contatore` where the latest inner walk stopped (cells back from a
// board, or a slowdown's end cell), untouched when none ran. A start's dato1 is its speed.
TEST(Rifinitura, ModelCountersKeepWhereTheWalksStopped) {
    struct posata {
        std::int32_t indice;
        std::uint8_t tipo;
        std::int16_t dato1 = 0;
    };
    struct caso {
        const char* nome;
        std::int32_t ultima;
        std::vector<posata> celle;
        std::int32_t indice;
        std::int32_t contatore;
    };
    constexpr std::int32_t prima = -9;
    const caso casi[] = {
        {"too few cells", 2, {}, prima, prima},
        {"nothing to finish", 30, {}, 29, prima},
        {"board whose look-back reaches cell 3", 30, {{15, avviso}}, 29, 13},
        {"board with the whole look-back", 40, {{30, avviso}}, 39, 21},
        {"slow slowdown", 40, {{10, inizio, 60}, {20, fine}}, 39, 20},
        {"fast slowdown", 40, {{10, inizio, 120}, {25, fine}}, 39, 25},
        {"slowdown without an end", 40, {{20, inizio, 60}}, 39, 40},
        {"board after a slowdown", 40, {{10, inizio, 60}, {20, fine}, {30, avviso}}, 39, 21},
        {"slowdown after a board", 40, {{26, avviso}, {30, inizio, 120}, {33, fine}}, 39, 33},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c = prova::modello_vuoto(k.ultima);
        for (const posata& p : k.celle)
            metti(c, p.indice, p.tipo, p.dato1);
        c.indice = prima;
        c.contatore = prima;

        rifinitura(c);

        EXPECT_EQ(c.indice, k.indice);
        EXPECT_EQ(c.contatore, k.contatore);
    }
}
