#include "finishing/codici_gara.hpp"

#include "model/costruzione.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace corvenna;

namespace {

struct codici {
    std::int32_t st;
    std::int16_t og;
};

codici calcola(const std::string& numero_treno, const std::string& nome_scenario) {
    costruzione c;
    c.voci[voce_treno].nome = numero_treno;
    c.voci[voce_scenario].nome = nome_scenario;
    return {codice_gara_st(c), codice_gara_og(c)};
}

} // namespace

// Expected sums worked out by hand from the character codes of the 25 characters.
TEST(CodiciGara, ShortNameIsFilledFromTheFillText) {
    // "abc" + "kkllppqqrrssttuuvvwwxx"
    const codici r = calcola("", "abc");
    EXPECT_EQ(r.og, 2812);
    EXPECT_EQ(r.st, 37649);
}

TEST(CodiciGara, EmptyIdentityIsTheFillTextAlone) {
    const codici r = calcola("", "");
    EXPECT_EQ(r.og, 2882);
    EXPECT_EQ(r.st, 38242);
}

TEST(CodiciGara, OnlyLettersAToZAreLowerCased) {
    for (const char* nome : {"ABC", "AbC", "aBc"}) {
        SCOPED_TRACE(nome);
        const codici r = calcola("", nome);
        EXPECT_EQ(r.og, 2812);
        EXPECT_EQ(r.st, 37649);
    }
    // Bytes above 127 count unsigned, as they are: 0xE0 is 224 and 0xC0 stays 192.
    const codici minuscola = calcola("", "\xE0");
    EXPECT_EQ(minuscola.og, 2984);
    EXPECT_EQ(minuscola.st, 38176);
    const codici maiuscola = calcola("", "\xC0");
    EXPECT_EQ(maiuscola.og, 2952);
    EXPECT_EQ(maiuscola.st, 38144);
}

TEST(CodiciGara, OnlyTheFirstTwentyFiveCharactersCount) {
    const std::string venticinque = "abcdefghijklmnopqrstuvwxy";
    const codici r = calcola("", venticinque);
    EXPECT_EQ(r.og, 2725);
    EXPECT_EQ(r.st, 36725);
    const codici piu_lungo = calcola("", venticinque + "Zebra");
    EXPECT_EQ(piu_lungo.og, r.og);
    EXPECT_EQ(piu_lungo.st, r.st);
    // The same 25 characters split between train number and name.
    const codici diviso = calcola("abcdefghij", "klmnopqrstuvwxyz");
    EXPECT_EQ(diviso.og, r.og);
    EXPECT_EQ(diviso.st, r.st);
}

TEST(CodiciGara, OrderMattersOnlyToTheWeightedCode) {
    const codici ab = calcola("", "ab");
    const codici ba = calcola("", "ba");
    EXPECT_EQ(ab.og, ba.og);
    EXPECT_EQ(ab.og, 2834);
    EXPECT_EQ(ab.st, 37859);
    EXPECT_EQ(ba.st, 37858);
}

TEST(CodiciGara, DigitsCountWithTheirCharacterCodes) {
    // '7' is 55: the fill text moves one place to the right.
    const codici r = calcola("7", "");
    EXPECT_EQ(r.og, 2815);
    EXPECT_EQ(r.st, 38007);
    // Train number first, then the scenario name.
    const codici nel_nome = calcola("", "7");
    EXPECT_EQ(nel_nome.og, r.og);
    EXPECT_EQ(nel_nome.st, r.st);
}

TEST(CodiciGara, ScenarioIdentityAndWorkingText) {
    costruzione c;
    c.voci[voce_treno].nome = "7381";
    c.voci[voce_scenario].nome = "Corvenna";
    c.linea = "left over";

    EXPECT_EQ(codice_gara_st(c), 35578);
    EXPECT_EQ(c.linea, "7381corvennakkllppqqrrssttuuvvwwxxyyzz");
    c.linea.clear();
    EXPECT_EQ(codice_gara_og(c), 2525);
    EXPECT_EQ(c.linea, "7381corvennakkllppqqrrssttuuvvwwxxyyzz");
    // The identity texts themselves are not changed.
    EXPECT_EQ(c.voci[voce_scenario].nome, "Corvenna");
}
