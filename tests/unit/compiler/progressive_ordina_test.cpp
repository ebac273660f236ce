#include "compiler/progressive_ordina.hpp"

#include "model/costruzione.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>

namespace corvenna {
namespace {

// One system as (inizio, fine, posizione).
using terna = std::tuple<std::int32_t, std::int32_t, std::int32_t>;
// The systems of items 81, 82 and 83, in that order.
using terne = std::array<terna, 3>;

constexpr terna zeri{0, 0, 0};

terne ordina(const terne& ingresso) {
    costruzione c;
    for (int i = 0; i < 3; ++i) {
        voce& v = c.voci[voce_progressiva_tre + i];
        std::tie(v.inizio, v.fine, v.posizione) = ingresso[i];
    }
    progressive_ordina(c);
    terne uscita;
    for (int i = 0; i < 3; ++i) {
        const voce& v = c.voci[voce_progressiva_tre + i];
        uscita[i] = {v.inizio, v.fine, v.posizione};
    }
    return uscita;
}

TEST(ProgressiveOrdina, SampleSystemsStayAndTheDescendingOneMovesOn100) {
    const terne uscita =
        ordina({terna{55000, 91900, 1}, terna{42300, -42300, 0}, terna{0, -1500, 0}});

    EXPECT_EQ(uscita, (terne{terna{55000, 92000, 1}, terna{42300, -42300, 0}, terna{0, -1500, 0}}));
}

TEST(ProgressiveOrdina, AnyAssignmentToTheKeywordsGivesTheSameOrder) {
    terne ingresso{terna{0, -1500, 0}, terna{42300, -42300, 0}, terna{55000, 91900, 1}};
    std::sort(ingresso.begin(), ingresso.end());
    const terne attese{terna{55000, 92000, 1}, terna{42300, -42300, 0}, terna{0, -1500, 0}};
    int permutazioni = 0;
    do {
        EXPECT_EQ(ordina(ingresso), attese) << "permutation " << permutazioni;
        ++permutazioni;
    } while (std::next_permutation(ingresso.begin(), ingresso.end()));
    EXPECT_EQ(permutazioni, 6);
}

struct caso_ordine {
    const char* nome;
    terne ingresso;
    terne atteso;
};

class ProgressiveOrdinaCasi : public testing::TestWithParam<caso_ordine> {};

TEST_P(ProgressiveOrdinaCasi, OrdersTheThreeSystems) {
    const caso_ordine caso = GetParam();
    EXPECT_EQ(ordina(caso.ingresso), caso.atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ProgressiveOrdinaCasi,
    testing::Values(
        // Equal starts below a unique greatest: the one from the higher-numbered item first.
        caso_ordine{"PariSottoIn82e83",
                    {terna{50000, 1, 0}, terna{1000, 2, 0}, terna{1000, 3, 0}},
                    {terna{50000, 1, 0}, terna{1000, 3, 0}, terna{1000, 2, 0}}},
        caso_ordine{"PariSottoIn81e82",
                    {terna{1000, 1, 0}, terna{1000, 2, 0}, terna{50000, 3, 0}},
                    {terna{50000, 3, 0}, terna{1000, 2, 0}, terna{1000, 1, 0}}},
        caso_ordine{"PariSottoIn81e83",
                    {terna{0, 1, 0}, terna{50000, 2, 0}, terna{0, 3, 0}},
                    {terna{50000, 2, 0}, terna{0, 3, 0}, terna{0, 1, 0}}},
        // Two or three sharing the greatest start: all zeros.
        caso_ordine{"DuePariInCima",
                    {terna{5000, 1, 1}, terna{5000, 2, 0}, terna{0, 3, 0}},
                    {zeri, zeri, zeri}},
        caso_ordine{"TrePari",
                    {terna{5000, 1, 0}, terna{5000, 2, 0}, terna{5000, 3, 1}},
                    {zeri, zeri, zeri}},
        // Starts adding up to 0: the order comes from the offsets, item 83 tested first.
        caso_ordine{"SoloUnoNegativo", {zeri, zeri, terna{0, -1500, 0}}, {zeri, zeri, zeri}},
        caso_ordine{"SoloUnoPositivoDiscendente",
                    {zeri, zeri, terna{0, 1500, 1}},
                    {terna{0, 1600, 1}, zeri, zeri}},
        caso_ordine{"Fine83Positiva",
                    {terna{0, 10, 0}, terna{0, 20, 0}, terna{0, 30, 0}},
                    {terna{0, 30, 0}, terna{0, 20, 0}, terna{0, 10, 0}}},
        caso_ordine{"Fine82Positiva",
                    {terna{0, 10, 0}, terna{0, 20, 0}, terna{0, -30, 0}},
                    {terna{0, 20, 0}, terna{0, 10, 0}, terna{0, -30, 0}}},
        caso_ordine{"Fine81Positiva",
                    {terna{0, 10, 0}, terna{0, -20, 0}, terna{0, -30, 0}},
                    {terna{0, 10, 0}, terna{0, -20, 0}, terna{0, -30, 0}}},
        caso_ordine{"NessunaFinePositiva",
                    {terna{0, 0, 1}, terna{0, -20, 0}, terna{0, -30, 1}},
                    {zeri, zeri, zeri}},
        // Starts of opposite sign that cancel out also take the offset branch.
        caso_ordine{"IniziCheSiAnnullano",
                    {terna{1000, -10, 0}, terna{-1000, 20, 0}, terna{0, -30, 0}},
                    {terna{-1000, 20, 0}, terna{1000, -10, 0}, terna{0, -30, 0}}},
        // Only a flag of exactly 1 adds 100, wherever the system ends up.
        caso_ordine{"SoloBandieraUno",
                    {terna{1000, 50, 2}, terna{3000, 150, 1}, terna{2000, 250, -1}},
                    {terna{3000, 250, 1}, terna{2000, 250, -1}, terna{1000, 50, 2}}}),
    [](const testing::TestParamInfo<caso_ordine>& info) { return info.param.nome; });

} // namespace
} // namespace corvenna
