#include "description/dati_treno.hpp"

#include "description/righe_treno.hpp"
#include "model/costruzione.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class DatiTreno : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device caso;
        cartella = fs::temp_directory_path() /
                   ("dati_treno_" + std::to_string(caso()) + "_" + std::to_string(caso()));
        fs::create_directories(cartella);
        c.nome_scenario = "Corvenna";
        c.numero_treno = "7381";
    }
    void TearDown() override { fs::remove_all(cartella); }

    fs::path file() const { return cartella / "Corvenna_7381-.txt"; }

    std::string leggi() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The written file cut at every CR LF; fails the test on a lone CR or LF or a missing
    // final CR LF.
    std::vector<std::string> righe_scritte() const {
        const std::string byte = leggi();
        std::vector<std::string> righe;
        std::size_t inizio = 0;
        while (inizio < byte.size()) {
            const std::size_t fine = byte.find("\r\n", inizio);
            if (fine == std::string::npos) {
                ADD_FAILURE() << "last line without CR LF";
                break;
            }
            righe.push_back(byte.substr(inizio, fine - inizio));
            inizio = fine + 2;
        }
        for (const std::string& r : righe) {
            EXPECT_EQ(r.find_first_of("\r\n"), std::string::npos) << r;
        }
        return righe;
    }

    fs::path cartella;
    costruzione c;
};

TEST_F(DatiTreno, WritesTheSixtySevenLinesAndStopsAtTheEndMarker) {
    dati_treno(c, cartella);
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
    dati_treno(c, cartella);
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
    dati_treno(c, cartella);
    const std::string senza_precedente = leggi();
    {
        std::ofstream vecchio(file(), std::ios::binary | std::ios::trunc);
        vecchio << std::string(200000, 'x') << "\n[generale]\nsabbia,  1\n";
    }
    c.indice = 0;
    dati_treno(c, cartella);
    EXPECT_EQ(leggi(), senza_precedente);
    EXPECT_EQ(c.indice, 67);
}

} // namespace
} // namespace corvenna
