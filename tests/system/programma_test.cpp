// The real program, run in a directory of its own: the files it leaves, read back with a
// decoder written here from the file layouts.

#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;

// Little-endian fields at an offset of a byte string.
std::int32_t long_a(const std::string& b, std::size_t o) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b.at(o + i));
    return static_cast<std::int32_t>(v);
}
std::int16_t intero_a(const std::string& b, std::size_t o) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(b.at(o)) |
                                     (static_cast<unsigned char>(b.at(o + 1)) << 8));
}

struct voce_letta {
    std::string nome;
    std::int16_t i1 = 0;
    std::int32_t orario = 0;
    std::int32_t inizio = 0, fine = 0, posizione = 0;
};

std::vector<voce_letta> decodifica_voci(const std::string& b) {
    std::vector<voce_letta> voci;
    std::size_t o = 0;
    while (o < b.size()) {
        voce_letta v;
        v.inizio = long_a(b, o + 1);
        v.fine = long_a(b, o + 5);
        v.posizione = long_a(b, o + 9);
        const auto n = static_cast<std::size_t>(intero_a(b, o + 14));
        v.nome = b.substr(o + 16, n);
        v.i1 = intero_a(b, o + 16 + n);
        v.orario = long_a(b, o + 30 + n);
        voci.push_back(v);
        o += 34 + n;
    }
    EXPECT_EQ(o, b.size());
    return voci;
}

class Programma : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        cartella_ = new cartella_temporanea;
        prova::installa_programma(cartella_->percorso());
        esito_ = new prova::esito_esecuzione(prova::esegui(cartella_->percorso()));
        file_ = new prova::contenuti(prova::leggi_cartella(cartella_->percorso()));
    }
    static void TearDownTestSuite() {
        delete file_;
        delete esito_;
        delete cartella_;
    }
    static const std::string& file(const std::string& nome) { return file_->at(nome); }

    static cartella_temporanea* cartella_;
    static prova::esito_esecuzione* esito_;
    static prova::contenuti* file_;
};
cartella_temporanea* Programma::cartella_ = nullptr;
prova::esito_esecuzione* Programma::esito_ = nullptr;
prova::contenuti* Programma::file_ = nullptr;

TEST_F(Programma, CleanRunShowsOnlyTheWaitNoticeAndExitsZero) {
    EXPECT_EQ(esito_->stato, 0);
    EXPECT_EQ(esito_->messaggi, "Attendere\n");
}

TEST_F(Programma, LeavesExactlyTheSixFiles) {
    ASSERT_EQ(file_->size(), prova::file_scenario.size());
    for (const std::string& nome : prova::file_scenario)
        EXPECT_TRUE(file_->contains(nome)) << nome;
    EXPECT_EQ(prova::difetti_scenario(*file_), "");
}

TEST_F(Programma, PlanViewHasItsTagsInPlace) {
    const std::string& p = file("Corvenna_linea.dat");
    constexpr std::size_t l = 95000;
    ASSERT_EQ(p.size(), 20 * l - 36);
    const std::size_t blocco = 10 * l - 18;
    for (std::size_t inizio : {std::size_t{0}, blocco}) {
        EXPECT_EQ(intero_a(p, inizio), 2);
        EXPECT_EQ(intero_a(p, inizio + 4), 2);
        EXPECT_EQ(intero_a(p, inizio + 6), inizio == 0 ? 0 : 1);
        EXPECT_EQ(intero_a(p, inizio + 8), 5);
        EXPECT_EQ(intero_a(p, inizio + blocco - 4), 0);
        EXPECT_EQ(intero_a(p, inizio + blocco - 2), 0);
        EXPECT_EQ(intero_a(p, inizio + blocco - 14), 5);
    }
    // y of metre 2 is the double 2.0 (the line starts straight along +y).
    double y2 = 0;
    std::memcpy(&y2, p.data() + blocco + 10, sizeof y2);
    EXPECT_EQ(y2, 2.0);
}

TEST_F(Programma, ItemsCarryIdentityStampsAndCodes) {
    const auto voci = decodifica_voci(file("Corvenna_7381.sim"));
    ASSERT_EQ(voci.size(), 87u);
    EXPECT_EQ(voci[0].nome, "");
    EXPECT_EQ(voci[85].nome, "Corvenna");
    EXPECT_EQ(voci[86].nome, "7381");
    EXPECT_EQ(voci[85].i1, 610);
    EXPECT_EQ(voci[84].fine, 88000);
    EXPECT_EQ(voci[81].fine, 92000);
    const auto [semplice, pesato] = prova::codici_attesi(voci[86].nome, voci[85].nome);
    EXPECT_EQ(voci[85].orario, pesato);

    const std::string& celle = file("Corvenna_7381.dat");
    ASSERT_EQ(celle.size(), 15u * 1901);
    EXPECT_EQ(static_cast<unsigned char>(celle[16]), 0x01);
    EXPECT_EQ(static_cast<unsigned char>(celle[17]), 0x14);
    EXPECT_EQ(intero_a(celle, 18), semplice);
}

TEST_F(Programma, StationsAndSignsShareNoCellAndEveryStationHasItsStop) {
    const std::string& celle = file("Corvenna_7381.dat");
    const auto voci = decodifica_voci(file("Corvenna_7381.sim"));
    int fermate = 0, cartelli = 0, segnali = 0;
    for (std::size_t c = 0; c < celle.size() / 15; ++c) {
        const int tipo = static_cast<unsigned char>(celle[15 * c]);
        fermate += tipo == 10;
        cartelli += tipo == 14;
        segnali += tipo == 1;
        if (tipo == 10) {
            const auto n = static_cast<std::size_t>(intero_a(celle, 15 * c + 1));
            ASSERT_GE(n, 1u);
            ASSERT_LE(n, 16u);
            EXPECT_EQ(c, static_cast<std::size_t>(voci[n].fine / 50 - 1)) << voci[n].nome;
        }
    }
    EXPECT_EQ(cartelli, 61);
    EXPECT_EQ(segnali, 29);
    // Four of the sixteen stations are of kinds without a stop cell.
    EXPECT_EQ(fermate, 12);
}

TEST_F(Programma, SecondRunIsByteIdenticalAndReplacesLongerFiles) {
    cartella_temporanea altra;
    prova::installa_programma(altra.percorso());
    const std::string lungo(3'000'000, 'x');
    for (const std::string& nome : prova::file_scenario)
        prova::scrivi_file(altra.percorso() / nome, lungo);
    prova::scrivi_file(altra.percorso() / "Corvenna_linea.txt", lungo);
    ASSERT_EQ(prova::esegui(altra.percorso()).stato, 0);
    EXPECT_EQ(prova::leggi_cartella(altra.percorso()), *file_);
    ASSERT_EQ(prova::esegui(altra.percorso()).stato, 0);
    EXPECT_EQ(prova::leggi_cartella(altra.percorso()), *file_);
}

// A directory whose path is near the system's limit: the files are named relative to it, so
// neither they nor their longer temporary names reach the limit, which the temporaries' full
// paths would pass.
TEST(ProgrammaCartella, WorksInADirectoryWithAPathNearTheLimit) {
    cartella_temporanea radice;
    fs::path cartella = radice.percorso();
    constexpr std::size_t lunghezza = 4060;
    while (cartella.string().size() < lunghezza) {
        const std::size_t resto = lunghezza - cartella.string().size() - 1;
        cartella /= std::string(std::min<std::size_t>(resto, 200), 'c');
    }
    ASSERT_EQ(cartella.string().size(), lunghezza);
    prova::installa_programma(cartella);

    const prova::esito_esecuzione esito = prova::esegui(cartella);

    EXPECT_EQ(esito.stato, 0) << esito.messaggi;
    EXPECT_EQ(prova::residui(cartella), "");
    EXPECT_TRUE(prova::leggi_cartella(cartella) == prova::scenario_di_riferimento());
}

} // namespace
} // namespace corvenna
