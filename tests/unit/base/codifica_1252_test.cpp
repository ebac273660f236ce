#include "base/codifica_1252.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using corvenna::errore_codifica;
using corvenna::in_1252;

struct conversione {
    std::string_view utf8;
    std::string attesi;
};

TEST(Codifica1252, ConvertsEveryCharacterToItsSingleByte) {
    const conversione casi[] = {
        {"", ""},
        {"Attendere 7381, km 1+522 (P.L.)\t~", "Attendere 7381, km 1+522 (P.L.)\t~"},
        {"à è é ì ò ù", "\xE0 \xE8 \xE9 \xEC \xF2 \xF9"},
        {"È Ò À", "\xC8 \xD2 \xC0"},
        {"perché così", "perch\xE9 cos\xEC"},
        // The byte 0x80 to 0x9F range holds characters far from their code points.
        {"€", "\x80"},
        {"€ 12", "\x80 12"},
        {"‚ƒ„…", "\x82\x83\x84\x85"},
        {"‘’“”–—", "\x91\x92\x93\x94\x96\x97"},
        {"Šš Žž Ÿ ™", "\x8A\x9A \x8E\x9E \x9F \x99"},
        // The upper half of Latin-1 maps byte for byte.
        {"\u00A0°ÿ", "\xA0\xB0\xFF"},
    };
    for (const auto& caso : casi)
        EXPECT_EQ(in_1252(caso.utf8), caso.attesi) << caso.utf8;
}

TEST(Codifica1252, KeepsControlAndNulBytesOfAscii) {
    const std::string testo("a\0b\r\n", 5);
    EXPECT_EQ(in_1252(testo), testo);
}

TEST(Codifica1252, RejectsCharactersWithoutAByte) {
    const std::string_view casi[] = {
        "ă",             // Latin letter outside the code page
        "→",             // arrow
        "treno → linea", // unencodable character in the middle of a text
        "\u0080",        // C1 control: its byte holds the euro sign instead
        "\u0081",        // code point of a byte the code page leaves unassigned
        "𝄞",             // four-byte sequence
    };
    for (const auto caso : casi)
        EXPECT_THROW(in_1252(caso), errore_codifica) << caso;
}

TEST(Codifica1252, RejectsMalformedUtf8) {
    const std::string_view casi[] = {
        "\x80", // continuation byte without a lead byte
        "a\xBF"
        "b",            // stray continuation byte inside a text
        "\xC3",         // lead byte at the end of the text
        "\xE2\x82",     // three-byte sequence cut short
        "\xF0\x9D\x84", // four-byte sequence cut short
        "\xC3"
        "a", // lead byte followed by an ASCII character
        "\xE2\x82"
        "x",                // second continuation byte missing
        "\xF8\x88\x80\x80", // five-byte lead byte
        "\xFF",             // never a UTF-8 byte
        "\xE8",             // a Windows-1252 byte passed in as if it were UTF-8
    };
    for (const auto caso : casi)
        EXPECT_THROW(in_1252(caso), errore_codifica) << testing::PrintToString(caso);
}

// Overlong forms spell an ASCII character with more bytes than needed; UTF-8 forbids them,
// and accepting them lets a hidden "/" or NUL slip through a text that looks clean.
TEST(Codifica1252, RejectsOverlongForms) {
    const std::string_view casi[] = {
        "\xC0\xAE",     // "."
        "\xC0\x80",     // NUL
        "\xC1\xBF",     // DEL
        "\xE0\x80\xAF", // "/"
        "\xE0\x83\xA8", // "è" in three bytes
        "\xF0\x80\x80\xAF",
    };
    for (const auto caso : casi)
        EXPECT_THROW(in_1252(caso), errore_codifica) << testing::PrintToString(caso);
}

TEST(Codifica1252, ErrorNamesTheCharacterThatHasNoByte) {
    try {
        in_1252("linea → treno");
        FAIL() << "no error for U+2192";
    } catch (const errore_codifica& e) {
        EXPECT_NE(std::string(e.what()).find("U+2192"), std::string::npos) << e.what();
    }
}

} // namespace

namespace corvenna {
namespace {

TEST(Da1252, EveryAssignedByteRoundTripsThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = da_1252(byte);
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << b;
        else
            EXPECT_EQ(in_1252(utf8), byte) << b;
    }
    EXPECT_EQ(da_1252("CITT\xC0 \x80"), "CITT\xC3\x80 \xE2\x82\xAC");
}

} // namespace
} // namespace corvenna
