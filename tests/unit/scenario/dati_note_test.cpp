#include "scenario/dati_documenti.hpp"
#include "support/documenti_in_cartella.hpp"

#include "base/codifica_1252.hpp"
#include "model/costruzione.hpp"
#include "scenario/righe_note.hpp"
#include "scenario/stazioni_scenario.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string minuscolo(std::string testo) {
    for (char& c : testo)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return testo;
}

class DatiNote : public corvenna::prova_documenti::documento_scritto {
  protected:
    DatiNote() : documento_scritto("Corvenna_7381_note.txt") {}

    // Writes the notes and returns their lines, read back from the file.
    std::vector<std::string> scrivi_e_leggi() {
        corvenna::prova::dati_note(c, cartella);
        return righe_scritte();
    }
};

TEST_F(DatiNote, WritesOneHundredSeventyLinesEachEndedByCrLf) {
    c.indice = -1;
    const auto righe = scrivi_e_leggi();
    EXPECT_EQ(righe.size(), 170u);
    EXPECT_EQ(c.indice, 170);
    const std::string byte = leggi();
    EXPECT_EQ(byte.find("riferimento fine del file"), std::string::npos);
    EXPECT_EQ(byte.substr(byte.size() - 6), "\r\n\r\n\r\n") << "the file ends with two empty lines";
}

TEST_F(DatiNote, HeadingsStandAtTheirLines) {
    const auto righe = scrivi_e_leggi();
    ASSERT_EQ(righe.size(), 170u);
    const std::pair<int, std::string> titoli[] = {
        {85, "Cenno storico"},
        {131, "Caratteristiche del treno 7381"},
        {139, "Composizione."},
    };
    for (const auto& [numero, testo] : titoli)
        EXPECT_EQ(righe[numero - 1], testo) << "line " << numero;
    EXPECT_FALSE(righe[165].empty()) << "line 166 carries the signature";
    EXPECT_EQ(righe[167].rfind("E-Mail: ", 0), 0u) << righe[167];
    EXPECT_NE(righe[167].find('@'), std::string::npos) << righe[167];
}

TEST_F(DatiNote, EmptyLinesSeparateTheBlocksAndNowhereElse) {
    const auto righe = scrivi_e_leggi();
    ASSERT_EQ(righe.size(), 170u);
    const std::set<int> vuote = {2,   18,  26,  29,  60,  83,  84,  86, 129,
                                 130, 132, 138, 164, 165, 167, 169, 170};
    for (int n = 1; n <= 170; ++n)
        EXPECT_EQ(righe[n - 1].empty(), vuote.count(n) == 1) << "line " << n;
}

TEST_F(DatiNote, TitleNamesTheLineByItsEndsAndJunction) {
    const auto righe = scrivi_e_leggi();
    ASSERT_FALSE(righe.empty());
    const std::string nome = std::string(corvenna::origine_scenario) + "-" +
                             std::string(corvenna::stazione_diramazione) + "-" +
                             std::string(corvenna::destinazione_scenario);
    EXPECT_EQ(righe[0], "Caratteristiche della linea " + nome);
}

// The station list of the second section must follow the scenario's station table.
TEST_F(DatiNote, NamesEveryStationOfTheSecondSection) {
    const auto righe = scrivi_e_leggi();
    std::string testo;
    for (const auto& riga : righe)
        testo += minuscolo(riga) + "\n";
    for (int i = corvenna::indice_stazione_diramazione; i < corvenna::numero_stazioni; ++i) {
        const std::string nome = minuscolo(std::string(corvenna::stazioni_scenario[i].nome));
        EXPECT_NE(testo.find("  - " + nome), std::string::npos) << nome;
    }
}

// Lines 31-59, 70-74 and 148-153 are lists: "- " opens an item, "  - " a sub-item; a line that
// continues an item is indented by two blanks, one that continues a sub-item by four. Every
// other non-empty line starts at the margin.
TEST_F(DatiNote, ListBlocksFollowTheListLayout) {
    const auto righe = scrivi_e_leggi();
    ASSERT_EQ(righe.size(), 170u);
    const std::pair<int, int> elenchi[] = {{31, 59}, {70, 74}, {148, 153}};
    auto in_elenco = [&](int n) {
        return std::any_of(std::begin(elenchi), std::end(elenchi),
                           [n](const auto& e) { return n >= e.first && n <= e.second; });
    };
    auto testo_da = [](const std::string& riga, std::size_t colonna) {
        return riga.size() > colonna && riga[colonna] != ' ' && riga[colonna] != '-';
    };
    enum class livello { nessuno, voce, sottovoce };
    livello aperto = livello::nessuno;
    for (int n = 1; n <= 170; ++n) {
        const std::string& riga = righe[n - 1];
        if (riga.empty())
            continue;
        if (!in_elenco(n)) {
            EXPECT_TRUE(testo_da(riga, 0)) << "line " << n << ": " << riga;
            aperto = livello::nessuno;
            continue;
        }
        if (riga.rfind("- ", 0) == 0 && testo_da(riga, 2)) {
            aperto = livello::voce;
        } else if (riga.rfind("  - ", 0) == 0 && testo_da(riga, 4)) {
            EXPECT_NE(aperto, livello::nessuno) << "line " << n << ": sub-item outside an item";
            aperto = livello::sottovoce;
        } else if (testo_da(riga, 2) && riga.rfind("  ", 0) == 0) {
            EXPECT_EQ(aperto, livello::voce) << "line " << n << ": not continuing an item";
        } else if (testo_da(riga, 4) && riga.rfind("    ", 0) == 0) {
            EXPECT_EQ(aperto, livello::sottovoce) << "line " << n << ": not continuing a sub-item";
        } else {
            ADD_FAILURE() << "line " << n << " is not a list line: " << riga;
        }
    }
    for (const auto& elenco : elenchi)
        EXPECT_EQ(righe[elenco.first - 1].rfind("- ", 0), 0u) << "line " << elenco.first;
}

TEST_F(DatiNote, LinesKeepTheirLengthAndTrailingBlanks) {
    const auto righe = scrivi_e_leggi();
    ASSERT_EQ(righe.size(), 170u);
    std::size_t piu_lunga = 0;
    int tra_85_e_100 = 0;
    int non_vuote = 0;
    int con_blank_finale = 0;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const std::string& riga = righe[i];
        EXPECT_EQ(riga, corvenna::in_1252(corvenna::righe_note[i])) << "line " << i + 1;
        piu_lunga = std::max(piu_lunga, riga.size());
        if (riga.empty())
            continue;
        ++non_vuote;
        tra_85_e_100 += riga.size() >= 85 && riga.size() <= 100;
        con_blank_finale += riga.back() == ' ';
    }
    EXPECT_EQ(piu_lunga, 103u);
    EXPECT_GE(tra_85_e_100 * 10, non_vuote * 4) << tra_85_e_100 << " of " << non_vuote;
    EXPECT_LE(tra_85_e_100 * 10, non_vuote * 6) << tra_85_e_100 << " of " << non_vuote;
    EXPECT_GT(con_blank_finale, 50) << "lines broken inside a sentence keep their blank";
}

TEST_F(DatiNote, AccentedLettersAreSingleWindows1252Bytes) {
    corvenna::prova::dati_note(c, cartella);
    const std::string byte = leggi();
    const std::string accentate = "\xE0\xE8\xE9\xEC\xF2\xF9"; // à è é ì ò ù
    for (const char lettera : accentate)
        EXPECT_NE(byte.find(lettera), std::string::npos)
            << "byte " << std::hex << (static_cast<int>(lettera) & 0xFF);
    for (std::size_t i = 0; i < byte.size(); ++i) {
        const auto b = static_cast<unsigned char>(byte[i]);
        if (b >= 0x80)
            EXPECT_NE(accentate.find(static_cast<char>(b)), std::string::npos)
                << "byte " << std::hex << int{b} << " at " << std::dec << i
                << " is no accented letter (UTF-8 left in the file?)";
        else
            EXPECT_TRUE(b == '\r' || b == '\n' || (b >= 0x20 && b < 0x7F))
                << "control byte " << int{b} << " at " << i;
    }
}

TEST_F(DatiNote, EarlierLongerFileIsReplacedNotOverwritten) {
    const std::string attesi = verifica_sostituzione(
        [&] { corvenna::prova::dati_note(c, cartella); },
        [](const std::string& pulito) {
            return std::string(pulito.size() * 2, 'x') + "\r\nvecchia coda\r\n";
        });
    ASSERT_FALSE(attesi.empty());

    corvenna::prova::dati_note(c, cartella);
    EXPECT_EQ(leggi(), attesi) << "a second run gives the same bytes";
}

} // namespace
