#include "scenario/dati_documenti.hpp"
#include "support/documenti_in_cartella.hpp"

#include "model/costruzione.hpp"
#include "scenario/righe_treno.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;

class DatiTreno : public prova_documenti::documento_scritto {
  protected:
    DatiTreno() : documento_scritto("Corvenna_7381-.txt") {}
};

TEST_F(DatiTreno, WritesTheSixtySevenLinesAndStopsAtTheEndMarker) {
    prova::dati_treno(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 67u);
    EXPECT_EQ(c.indice, 67);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        EXPECT_EQ(righe[i], righe_treno[i]) << "line " << i + 1;
    }
    EXPECT_EQ(righe.front(), "[generale]");
    EXPECT_EQ(righe.back(), "[fine]");
    const std::string byte = leggi();
    EXPECT_TRUE(byte.ends_with("\r\n[codici]\r\n[fine]\r\n"));
    EXPECT_EQ(byte.find("riferimento"), std::string::npos);
}

// The file name ends in "-.txt", and rows whose blanks carry meaning reach the file as they
// stand; the empty sections are headers directly followed by the next header.
TEST_F(DatiTreno, BlanksOfTheRowsReachTheFile) {
    prova::dati_treno(c, cartella);
    ASSERT_TRUE(fs::exists(cartella / "Corvenna_7381-.txt"));
    const std::string byte = leggi();
    for (const char* riga : {
             "\r\norologio,     6               40            50\r\n",
             "\r\n[rallentamenti]\r\n[segnali]\r\n",
             "\r\nsegnale,  40050,  1,  5,  6,  0,  0,  1,  3,  1,  0,  0\r\n",
             ",  6,  41,  0,   CORVENNA\r\n",
         })
        EXPECT_NE(byte.find(riga), std::string::npos) << riga;
}

TEST_F(DatiTreno, AnEarlierFileIsReplacedWhole) {
    verifica_sostituzione(
        [&] {
            c.indice = 0;
            prova::dati_treno(c, cartella);
        },
        [](const std::string&) { return std::string(200000, 'x') + "\n[generale]\nsabbia,  1\n"; });
    EXPECT_EQ(c.indice, 67);
}

} // namespace
} // namespace corvenna
