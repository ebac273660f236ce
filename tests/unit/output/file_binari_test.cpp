#include "output/file_binari.hpp"
#include "support/cartella_temporanea.hpp"

#include "model/costruzione.hpp"
#include "support/cartella_percorso.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

using namespace corvenna;

namespace {

// Reads little-endian fields back from the bytes of a file, independently of the writers.
class decodificatore {
  public:
    explicit decodificatore(std::string dati) : dati_(std::move(dati)) {}

    std::uint64_t senza_segno(std::size_t larghezza) {
        if (pos_ + larghezza > dati_.size())
            throw std::out_of_range("read past the end");
        std::uint64_t valore = 0;
        for (std::size_t i = 0; i < larghezza; ++i)
            valore |= std::uint64_t{static_cast<unsigned char>(dati_[pos_ + i])} << (8 * i);
        pos_ += larghezza;
        return valore;
    }
    void salta(std::size_t quanti) {
        if (pos_ + quanti > dati_.size())
            throw std::out_of_range("skip past the end");
        pos_ += quanti;
    }
    std::uint8_t byte() { return static_cast<std::uint8_t>(senza_segno(1)); }
    std::int16_t intero() { return static_cast<std::int16_t>(senza_segno(2)); }
    std::int32_t lungo() { return static_cast<std::int32_t>(senza_segno(4)); }
    double doppio() {
        const std::uint64_t bit = senza_segno(8);
        double valore;
        std::memcpy(&valore, &bit, sizeof valore);
        return valore;
    }
    std::string testo() {
        const auto n = static_cast<std::size_t>(intero());
        if (pos_ + n > dati_.size())
            throw std::out_of_range("text past the end");
        std::string t = dati_.substr(pos_, n);
        pos_ += n;
        return t;
    }
    std::size_t posizione() const { return pos_; }
    bool finito() const { return pos_ == dati_.size(); }

  private:
    std::string dati_;
    std::size_t pos_ = 0;
};

template <typename Scrivi>
std::string scrivi_in_memoria(Scrivi scrivi, const costruzione& c) {
    std::ostringstream uscita(std::ios::binary);
    scrivi(uscita, c);
    return uscita.str();
}

std::string planimetria_in_memoria(const costruzione& c) {
    return scrivi_in_memoria(
        [](std::ostream& u, const costruzione& x) { scrivi_planimetria(u, x); }, c);
}
std::string voci_in_memoria(const costruzione& c) {
    return scrivi_in_memoria([](std::ostream& u, const costruzione& x) { scrivi_voci(u, x); }, c);
}
std::string celle_in_memoria(const costruzione& c) {
    return scrivi_in_memoria([](std::ostream& u, const costruzione& x) { scrivi_celle(u, x); }, c);
}

// A plan view of metres 0 to l laid out as the compiler leaves it: integers at metres 0 and 1,
// doubles up to l - 2, the last two metres empty.
costruzione con_planimetria(std::int32_t l) {
    costruzione c;
    c.lunghezza_totale = l;
    for (int asse = 0; asse < 2; ++asse) {
        auto& valori = c.planimetria[asse];
        valori.resize(static_cast<std::size_t>(l) + 1);
        valori[0] = std::int16_t{0};
        valori[1] = static_cast<std::int16_t>(asse == asse_y ? 1 : 0);
        for (std::int32_t m = 2; m <= l - 2; ++m)
            valori[m] = (asse == asse_x ? -0.25 : 1.5) * m;
    }
    return c;
}

std::string leggi_file(const std::filesystem::path& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(FileBinari, PlanViewIsTwoBlocksOfTaggedValues) {
    const std::int32_t l = 10;
    const std::string dati = planimetria_in_memoria(con_planimetria(l));
    ASSERT_EQ(dati.size(), static_cast<std::size_t>(20 * l - 36));

    decodificatore d(dati);
    for (int asse = 0; asse < 2; ++asse) {
        SCOPED_TRACE(asse);
        EXPECT_EQ(d.intero(), 2);
        EXPECT_EQ(d.intero(), 0);
        EXPECT_EQ(d.intero(), 2);
        EXPECT_EQ(d.intero(), asse == asse_y ? 1 : 0);
        for (std::int32_t m = 2; m <= l - 2; ++m) {
            EXPECT_EQ(d.intero(), 5);
            EXPECT_EQ(d.doppio(), (asse == asse_x ? -0.25 : 1.5) * m);
        }
        EXPECT_EQ(d.intero(), 0);
        EXPECT_EQ(d.intero(), 0);
    }
    EXPECT_TRUE(d.finito());
}

TEST(FileBinari, DoubleIsBinary64LittleEndian) {
    costruzione c;
    c.planimetria[asse_x] = {1.5};
    c.planimetria[asse_y] = {std::int16_t{-2}};
    const std::string dati = planimetria_in_memoria(c);
    const std::string atteso("\x05\x00"
                             "\x00\x00\x00\x00\x00\x00\xF8\x3F"
                             "\x02\x00\xFE\xFF",
                             14);
    EXPECT_EQ(dati, atteso);
}

TEST(FileBinari, EmptyPlanViewWritesNothing) {
    EXPECT_TRUE(planimetria_in_memoria(costruzione{}).empty());
}

// More than one 64 KiB block: every value must arrive, in order.
TEST(FileBinari, LargePlanViewCrossesBlockBoundariesIntact) {
    const std::int32_t l = 20000;
    const std::string dati = planimetria_in_memoria(con_planimetria(l));
    ASSERT_EQ(dati.size(), static_cast<std::size_t>(20 * l - 36));
    decodificatore d(dati);
    for (int asse = 0; asse < 2; ++asse) {
        d.salta(8);
        for (std::int32_t m = 2; m <= l - 2; ++m) {
            ASSERT_EQ(d.intero(), 5) << "metre " << m;
            ASSERT_EQ(d.doppio(), (asse == asse_x ? -0.25 : 1.5) * m) << "metre " << m;
        }
        d.salta(4);
    }
    EXPECT_TRUE(d.finito());
}

TEST(FileBinari, ItemRecordsAreWrittenFieldByField) {
    costruzione c;
    voce& stazione = c.voci[1];
    stazione.tipo = 3;
    stazione.inizio = 12300;
    stazione.fine = -12650;
    stazione.posizione = 0x01020304;
    stazione.b1 = 255;
    stazione.nome = "Stazione";
    stazione.i1 = -1;
    stazione.i2 = 2;
    stazione.i3 = 300;
    stazione.i4 = -32768;
    stazione.i5 = 32767;
    stazione.b4 = 4;
    stazione.b5 = 5;
    stazione.b3 = 6;
    stazione.b2 = 7;
    stazione.orario = 8 * 3600 + 15 * 60;
    c.voci[voce_scenario].nome = "Citt\xE0";
    c.voci[voce_scenario].i1 = 610;
    c.voci[voce_scenario].orario = 35578;
    c.voci[voce_treno].nome = "7381";

    const std::string dati = voci_in_memoria(c);
    ASSERT_EQ(dati.size(), 87u * 34 + 8 + 5 + 4);

    // Item 0, as reset: 34 zero bytes.
    EXPECT_EQ(dati.substr(0, 34), std::string(34, '\0'));

    decodificatore d(dati);
    d.salta(34);
    EXPECT_EQ(d.byte(), 3);
    EXPECT_EQ(d.lungo(), 12300);
    EXPECT_EQ(d.lungo(), -12650);
    EXPECT_EQ(d.lungo(), 0x01020304);
    EXPECT_EQ(d.byte(), 255);
    EXPECT_EQ(d.testo(), "Stazione");
    EXPECT_EQ(d.intero(), -1);
    EXPECT_EQ(d.intero(), 2);
    EXPECT_EQ(d.intero(), 300);
    EXPECT_EQ(d.intero(), -32768);
    EXPECT_EQ(d.intero(), 32767);
    EXPECT_EQ(d.byte(), 4);
    EXPECT_EQ(d.byte(), 5);
    EXPECT_EQ(d.byte(), 6);
    EXPECT_EQ(d.byte(), 7);
    EXPECT_EQ(d.lungo(), 8 * 3600 + 15 * 60);
    EXPECT_EQ(d.posizione(), 34u + 34 + 8);
    // Item 1's `posizione` lands byte by byte at record offset 9.
    EXPECT_EQ(dati.substr(34 + 9, 4), std::string("\x04\x03\x02\x01", 4));

    // Items 2 to 84 are empty records; then item 85 with its single-byte name.
    for (int i = 2; i <= 84; ++i)
        d.salta(34);
    const std::size_t inizio_85 = d.posizione();
    d.salta(14);
    EXPECT_EQ(d.testo(), "Citt\xE0");
    EXPECT_EQ(dati.substr(inizio_85 + 14, 7), std::string("\x05\x00"
                                                          "Citt\xE0",
                                                          7));
    EXPECT_EQ(d.intero(), 610);
    d.salta(12);
    EXPECT_EQ(d.lungo(), 35578);
    d.salta(14);
    EXPECT_EQ(d.testo(), "7381");
    d.salta(18);
    EXPECT_TRUE(d.finito());
}

TEST(FileBinari, NameTooLongForItsLengthFieldIsRefusedBeforeWriting) {
    costruzione c;
    c.voci[10].nome = std::string(32767, 'a');
    EXPECT_EQ(voci_in_memoria(c).size(), 87u * 34 + 32767);

    c.voci[20].nome = std::string(32768, 'b');
    std::ostringstream uscita(std::ios::binary);
    try {
        scrivi_voci(uscita, c);
        FAIL() << "a 32768-byte name was written";
    } catch (const std::length_error& e) {
        EXPECT_NE(std::string(e.what()).find("item 20"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(uscita.str().empty());
}

TEST(FileBinari, CellRecordsAreFifteenBytesWithoutTheSpareByte) {
    costruzione c;
    c.ultima_cella = 4;
    c.celle.resize(5);
    c.celle[1].dato1 = 5121;
    c.celle[1].dato2 = 2525;
    cella& x = c.celle[3];
    x.tipo = 12;
    x.dato1 = 180;
    x.dato2 = -2;
    x.dato3 = 0x1234;
    x.dato4 = -32768;
    x.tempo = 101;
    x.avviso = 84;
    x.montagna = 1;
    x.velocita = 24;
    x.pendenza = 95;
    x.aderenza = 200;

    const std::string dati = celle_in_memoria(c);
    ASSERT_EQ(dati.size(), 15u * 5);
    EXPECT_EQ(static_cast<unsigned char>(dati[16]), 0x01);
    EXPECT_EQ(static_cast<unsigned char>(dati[17]), 0x14);
    EXPECT_EQ(dati.substr(18, 2), std::string("\xDD\x09", 2));
    EXPECT_EQ(dati.substr(0, 15), std::string(15, '\0'));

    decodificatore d(dati);
    d.salta(45);
    EXPECT_EQ(d.byte(), 12);
    EXPECT_EQ(d.intero(), 180);
    EXPECT_EQ(d.intero(), -2);
    EXPECT_EQ(d.intero(), 0x1234);
    EXPECT_EQ(d.intero(), -32768);
    EXPECT_EQ(d.byte(), 101);
    EXPECT_EQ(d.byte(), 84);
    EXPECT_EQ(d.byte(), 1);
    EXPECT_EQ(d.byte(), 24);
    EXPECT_EQ(d.byte(), 95);
    EXPECT_EQ(d.byte(), 200);
    EXPECT_EQ(d.posizione(), 60u);
}

TEST(FileBinari, FilesOnDiskHoldExactlyTheStreamBytes) {
    costruzione c = con_planimetria(30);
    c.ultima_cella = 7;
    c.celle.resize(8);
    c.celle[1].dato1 = 5121;
    c.voci[voce_scenario].nome = "Corvenna";

    const prova::cartella_temporanea temporanea;
    const std::filesystem::path& cartella = temporanea.percorso();
    const auto planimetria = cartella / "Corvenna_linea.dat";
    const auto voci = cartella / "Corvenna_7381.sim";
    const auto celle = cartella / "Corvenna_7381.dat";
    // An older, longer file is replaced, not overwritten in place.
    std::ofstream(celle, std::ios::binary) << std::string(1000, 'x');

    prova::cartella_percorso uscita(cartella);
    scrivi_planimetria(uscita, "Corvenna_linea.dat", c);
    scrivi_voci(uscita, "Corvenna_7381.sim", c);
    scrivi_celle(uscita, "Corvenna_7381.dat", c);

    EXPECT_EQ(leggi_file(planimetria), planimetria_in_memoria(c));
    EXPECT_EQ(leggi_file(voci), voci_in_memoria(c));
    EXPECT_EQ(leggi_file(celle), celle_in_memoria(c));
}
