// The dry run's paragraph of a hover: asked on a station's time fields and on a signal row, with
// the row's line, and nowhere else.

#include "editor/hover_marcia.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

constexpr std::string_view stazione =
    "stazione,  86500,  4,  600,  1,  0,  0,  1,  1,  0,  4,  4,  1,  0,  7,  54,  0,   VALTERMA";

TEST(HoverMarcia, StationTimeFieldsAskForTheSectionAndOtherFieldsDoNot) {
    compilazione_coppia c;
    c.marcia_riga = [](int riga) { return "marcia alla riga " + std::to_string(riga); };
    const riga_letta r = leggi_riga(stazione, descrizione::treno);
    ASSERT_NE(r.voce, nullptr);
    // Fields 14, 15 and 16 are the hours, minutes and seconds; the hover's line counts from 0.
    for (const int campo : {14, 15, 16})
        EXPECT_EQ(hover_marcia(r, campo, 33, c), "\n\nNella marcia alla riga 34") << campo;
    for (const int campo : {0, 1, 13, 17})
        EXPECT_EQ(hover_marcia(r, campo, 33, c), "") << campo;
    // Nothing without the compiled pair's answer.
    EXPECT_EQ(hover_marcia(r, 14, 33, compilazione_coppia{}), "");
    c.marcia_riga = [](int) { return std::string(); };
    EXPECT_EQ(hover_marcia(r, 14, 33, c), "");
}

TEST(HoverMarcia, SignalRowAsksAnywhere) {
    compilazione_coppia c;
    c.marcia_riga = [](int riga) { return "avviso " + std::to_string(riga); };
    const riga_letta r =
        leggi_riga("segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0", descrizione::treno);
    EXPECT_EQ(hover_marcia(r, 0, 4, c), "\n\nNella avviso 5");
    EXPECT_EQ(hover_marcia(r, 1, 4, c), "\n\nNella avviso 5");
}

} // namespace
} // namespace corvenna
