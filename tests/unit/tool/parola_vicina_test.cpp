#include "tool/parola_vicina.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

TEST(ParolaVicina, TheNearestNameWithinAThirdOfTheWord) {
    const std::vector<std::string> nomi = {"segnale", "sabbia", "stazione", "rallentamento"};
    struct caso {
        std::string parola;
        std::optional<std::string> attesa;
    };
    const std::vector<caso> casi = {
        {"segnal", "segnale"},
        {"SABIA", "sabbia"},
        {"stazoine", "stazione"},
        {"ralentamento", "rallentamento"},
        // Too far from every name to be one of them.
        {"orologio", std::nullopt},
        {"", std::nullopt},
    };
    for (const caso& c : casi)
        EXPECT_EQ(parola_vicina(c.parola, nomi), c.attesa) << c.parola;
}

} // namespace
} // namespace corvenna
