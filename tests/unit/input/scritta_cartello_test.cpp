#include "input/scritta_cartello.hpp"

#include <gtest/gtest.h>

namespace corvenna {
namespace {

TEST(ScrittaCartello, RouteSignLetteringOnOneLine) {
    EXPECT_EQ(scritta_cartello("(   P.L.  )(km 1+522)"), "P.L. / km 1+522");
    EXPECT_EQ(scritta_cartello("( Fiume )(  ORSENTE)( 500 m)"), "Fiume / ORSENTE / 500 m");
    EXPECT_EQ(scritta_cartello("  senza gruppi "), "senza gruppi");
    EXPECT_EQ(scritta_cartello("(aperto"), "(aperto");
}

} // namespace
} // namespace corvenna
