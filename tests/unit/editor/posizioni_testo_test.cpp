#include "editor/documenti_aperti.hpp"
#include "editor/posizioni_testo.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace corvenna {
namespace {

TEST(PosizioniTesto, Utf16UnitsAgainstUtf8Bytes) {
    // "è" is 2 bytes and 1 unit, "€" 3 bytes and 1 unit, the emoji 4 bytes and 2 units.
    const std::string riga = "aè€\xF0\x9F\x9A\x82z";
    struct caso {
        int unita;
        std::size_t byte;
    };
    for (const caso c : {caso{0, 0}, caso{1, 1}, caso{2, 3}, caso{3, 6}, caso{5, 10}, caso{6, 11}})
        EXPECT_EQ(byte_da_utf16(riga, c.unita), c.byte) << c.unita;
    // Inside the surrogate pair: the character's start; past the end: the end.
    EXPECT_EQ(byte_da_utf16(riga, 4), 6u);
    EXPECT_EQ(byte_da_utf16(riga, 99), riga.size());
    EXPECT_EQ(utf16_da_byte(riga, 10), 5);
    // Characters (as the compile counts columns) to units: the emoji counts one and two.
    EXPECT_EQ(utf16_da_caratteri(riga, 4), 5);
    // A byte that is no UTF-8 is one character and one unit.
    EXPECT_EQ(utf16_da_caratteri("\xE8x", 1), 1);
    EXPECT_FALSE(utf8_valido("\xE8x"));
    EXPECT_TRUE(utf8_valido(riga));
}

TEST(PosizioniTesto, LinesEndWithLfCrLfOrCr) {
    const std::string testo = "uno\r\ndue\nTRE\rquattro";
    EXPECT_EQ(riga_di(testo, 0), "uno");
    EXPECT_EQ(riga_di(testo, 1), "due");
    EXPECT_EQ(riga_di(testo, 2), "TRE");
    EXPECT_EQ(riga_di(testo, 3), "quattro");
    EXPECT_EQ(riga_di(testo, 4), "");
    EXPECT_EQ(offset_di(testo, {1, 2}), 7u);
    EXPECT_EQ(offset_di(testo, {1, 50}), 8u) << "past the line's end: its end";
    EXPECT_EQ(offset_di(testo, {9, 0}), testo.size());
}

TEST(DocumentiAperti, IncrementalChangesAppliedInOrder) {
    documenti_aperti d;
    d.apri("/p/A_linea.txt",
           {"file:///p/A_linea.txt", "segnale,  2800\r\nstazione, 0\r\n", 1, std::nullopt});
    const auto intervallo = [](int r0, int c0, int r1, int c1) {
        return nlohmann::json{{"start", {{"line", r0}, {"character", c0}}},
                              {"end", {{"line", r1}, {"character", c1}}}};
    };
    const nlohmann::json modifiche = nlohmann::json::array({
        {{"range", intervallo(0, 10, 0, 14)}, {"text", "3€00"}},
        {{"range", intervallo(1, 0, 1, 0)}, {"text", "[stazioni]\r\n"}},
        // Deleting across a line end, the second change's positions after the first.
        {{"range", intervallo(0, 14, 1, 0)}, {"text", " "}},
    });
    ASSERT_TRUE(d.modifica("/p/A_linea.txt", modifiche, 2));
    EXPECT_EQ(d.trova("/p/A_linea.txt")->testo, "segnale,  3€00 [stazioni]\r\nstazione, 0\r\n");
    EXPECT_EQ(d.trova("/p/A_linea.txt")->versione, 2);
    // A full replacement, and a malformed entry that leaves the text as it was.
    ASSERT_TRUE(d.modifica("/p/A_linea.txt", nlohmann::json::array({{{"text", "x"}}}), 3));
    EXPECT_THROW(d.modifica("/p/A_linea.txt", nlohmann::json::array({{{"range", 1}}}), 4),
                 nlohmann::json::exception);
    EXPECT_EQ(d.trova("/p/A_linea.txt")->testo, "x");
    EXPECT_FALSE(d.modifica("/p/altro.txt", modifiche, 1));
}

} // namespace
} // namespace corvenna
