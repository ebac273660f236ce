#include "model/asse_planimetria.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <variant>

namespace corvenna {
namespace {

// The value read back, compared alternative and bits: -0.0 must not come back as 0.0, nor an
// integer as a double of the same value.
void atteso_identico(const valore_planimetria& letto, const valore_planimetria& atteso) {
    ASSERT_EQ(letto.index(), atteso.index());
    if (const auto* d = std::get_if<double>(&atteso)) {
        EXPECT_EQ(std::signbit(std::get<double>(letto)), std::signbit(*d));
        EXPECT_EQ(std::get<double>(letto), *d);
    } else if (const auto* i = std::get_if<std::int16_t>(&atteso)) {
        EXPECT_EQ(std::get<std::int16_t>(letto), *i);
    }
}

TEST(AssePlanimetria, EveryValueKeepsItsKindAndItsValue) {
    const valore_planimetria casi[] = {
        std::monostate{},
        std::int16_t{0},
        std::int16_t{1},
        std::int16_t{-2},
        std::numeric_limits<std::int16_t>::min(),
        std::numeric_limits<std::int16_t>::max(),
        0.0,
        -0.0,
        1.0,
        -1234.5678,
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::max(),
    };
    asse_planimetria asse;
    asse.resize(std::size(casi));
    for (std::size_t i = 0; i < std::size(casi); ++i)
        asse[i] = casi[i];
    const asse_planimetria& letto = asse;
    for (std::size_t i = 0; i < std::size(casi); ++i) {
        SCOPED_TRACE(i);
        atteso_identico(letto[i], casi[i]);
        EXPECT_EQ(static_cast<std::size_t>(letto.tipo(i)), casi[i].index());
    }
}

TEST(AssePlanimetria, NumberIsTheValueAndZeroWhenEmpty) {
    // The plan view's recurrence reads the two metres before as numbers, whatever their kind.
    asse_planimetria asse{std::int16_t{-7}, 2.5, std::monostate{}};
    EXPECT_EQ(asse.numero(0), -7.0);
    EXPECT_EQ(asse.numero(1), 2.5);
    EXPECT_EQ(asse.numero(2), 0.0);

    asse[1] = std::monostate{};
    EXPECT_EQ(asse.tipo(1), tipo_valore::vuoto);
    EXPECT_EQ(asse.numero(1), 0.0);
}

TEST(AssePlanimetria, DoubleSetterMakesADoubleEvenOfAnIntegerValue) {
    asse_planimetria asse{std::int16_t{3}};
    asse.imposta_doppio(0, 3.0);
    const asse_planimetria& letto = asse;
    atteso_identico(letto[0], 3.0);
}

TEST(AssePlanimetria, SizingKeepsOrFillsElements) {
    asse_planimetria asse;
    EXPECT_TRUE(asse.empty());

    asse.assign(4, std::int16_t{9});
    ASSERT_EQ(asse.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        atteso_identico(std::as_const(asse)[i], std::int16_t{9});

    asse[1] = 0.5;
    asse.resize(6);
    ASSERT_EQ(asse.size(), 6u);
    atteso_identico(std::as_const(asse)[1], 0.5);
    atteso_identico(std::as_const(asse)[4], std::monostate{});
    atteso_identico(std::as_const(asse)[5], std::monostate{});

    // A fresh assign forgets every earlier value.
    asse.assign(3, std::monostate{});
    for (std::size_t i = 0; i < 3; ++i)
        atteso_identico(std::as_const(asse)[i], std::monostate{});

    asse.clear();
    EXPECT_TRUE(asse.empty());
}

} // namespace
} // namespace corvenna
