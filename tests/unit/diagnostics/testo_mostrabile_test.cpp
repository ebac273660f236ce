#include "diagnostics/testo_diagnostica.hpp"
#include "diagnostics/testo_mostrabile.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

TEST(TestoMostrabile, ControlBytesAndBytesWithoutACharacterAreEscaped) {
    struct caso {
        std::string testo;
        bool utf8;
        std::string atteso;
    };
    const caso casi[] = {
        {"ROSSO\x1b[31m", false, "ROSSO\\x1b[31m"},
        {std::string("A\0B", 3), false, "A\\x00B"},
        {"\r\n\x7f\x1f", false, "\\x0d\\x0a\\x7f\\x1f"},
        // A tab stays a tab; a backslash stays as it is.
        {"a\tb\\x", false, "a\tb\\x"},
        // Windows-1252: the five bytes without a character; the others are letters.
        {"\x81\x8d\x8f\x90\x9d", false, "\\x81\\x8d\\x8f\\x90\\x9d"},
        {"CITT\xC0 \x80\x9F", false, "CITT\xC0 \x80\x9F"},
        // UTF-8: the same bytes are parts of characters; a C1 control is escaped byte by byte.
        {"CITT\xC3\x80 \xE2\x82\xAC", true, "CITT\xC3\x80 \xE2\x82\xAC"},
        {"\xC2\x9B"
         "31m\xC2\xA0",
         true, "\\xc2\\x9b31m\xC2\xA0"},
        {"\x1b\xEF\xBF\xBD", true, "\\x1b\xEF\xBF\xBD"},
    };
    for (const caso& k : casi)
        EXPECT_EQ(testo_mostrabile(k.testo, k.utf8), k.atteso) << k.atteso;
}

TEST(TestoMostrabile, WindowsBytesBecomeUtf8WithTheSameEscapes) {
    EXPECT_EQ(da_1252_mostrabile("CITT\xC0\x1b\x81\x80"), "CITT\xC3\x80\\x1b\\x81\xE2\x82\xAC");
    EXPECT_EQ(da_1252_mostrabile(std::string("\0", 1)), "\\x00");
}

// The source line is shown escaped, and the caret stays under the field: an escaped byte before
// it takes the columns of its escape, a tab stays a tab.
TEST(TestoMostrabile, CaretStaysUnderTheFieldOfAnEscapedLine) {
    diagnostica d;
    d.livello = gravita::avviso;
    d.file = descrizione::treno;
    d.riga = 7;
    d.colonna = 8;
    d.tipo = tipo_avviso::byte_non_stampabile;
    d.messaggio = "il testo 'A\\x1b' contiene il byte 0x1b";
    EXPECT_EQ(testo_diagnostica_su_riga(d, "T.txt", "\x1b\tA\x81,  B\x1b", false),
              "T.txt:7:8: avviso: il testo 'A\\x1b' contiene il byte 0x1b [byte-non-stampabile]\n"
              "\\x1b\tA\\x81,  B\\x1b\n"
              "    \t        ^\n");
    // In UTF-8 a letter of two bytes is one column, a C1 control eight.
    d.colonna = 4;
    EXPECT_EQ(testo_diagnostica_su_riga(d, "T\x1b.txt",
                                        "\xC3\xA0\xC2\x9B"
                                        "ab",
                                        true),
              "T\\x1b.txt:7:4: avviso: il testo 'A\\x1b' contiene il byte 0x1b "
              "[byte-non-stampabile]\n"
              "\xC3\xA0\\xc2\\x9b"
              "ab\n"
              "          ^\n");
    // A message with a raw control byte shows it escaped too.
    d.messaggio = "nome \x07";
    d.riga = 0;
    EXPECT_EQ(testo_diagnostica_su_riga(d, "T.txt", "", false),
              "T.txt: avviso: nome \\x07 [byte-non-stampabile]\n");
}

} // namespace
} // namespace corvenna
