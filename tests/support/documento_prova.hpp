#pragma once

// Shared scaffolding of the tests of the text documents and of their line tables: a fresh
// folder per test to write a document into, the file read back as bytes and cut into its CR LF
// lines, the check that an earlier file is replaced whole, and a small splitter for the
// comma-separated rows, written here independently of the description reader.

#include "model/costruzione.hpp"

#include "support/cartella_temporanea.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace corvenna::prova_documenti {

// The last cell of the compiled track: the route length 88000 plus 7000 m, in 50 m cells.
inline constexpr int ultima_cella = 1900;

inline std::string leggi_byte(const std::filesystem::path& percorso) {
    std::ifstream file(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void scrivi_byte(const std::filesystem::path& percorso, const std::string& byte) {
    std::ofstream file(percorso, std::ios::binary | std::ios::trunc);
    file.write(byte.data(), static_cast<std::streamsize>(byte.size()));
}

// The bytes cut at every CR LF. Fails the test on a lone CR or LF and on bytes after the last
// CR LF; the lines cut so far are returned all the same.
inline std::vector<std::string> righe_crlf(const std::string& byte) {
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
    for (std::size_t i = 0; i < righe.size(); ++i)
        EXPECT_EQ(righe[i].find_first_of("\r\n"), std::string::npos)
            << "lone CR or LF in line " << i + 1 << ": " << righe[i];
    return righe;
}

// The columns, counted from 1, of the bars of a table line.
inline std::vector<int> colonne_barre(std::string_view riga) {
    std::vector<int> colonne;
    for (std::size_t i = 0; i < riga.size(); ++i)
        if (riga[i] == '|')
            colonne.push_back(static_cast<int>(i) + 1);
    return colonne;
}

// A fresh folder per test, removed afterwards, and a build object for the scenario's train. The
// document under test is the file `nome_documento` in that folder.
class documento_scritto : public ::testing::Test {
  protected:
    explicit documento_scritto(std::string nome) : nome_documento(std::move(nome)) {}

    void SetUp() override {
        temporanea = std::make_unique<prova::cartella_temporanea>();
        cartella = temporanea->percorso();
        c.nome_scenario = "Corvenna";
        c.numero_treno = "7381";
    }
    void TearDown() override { temporanea.reset(); }

    std::filesystem::path file() const { return cartella / nome_documento; }

    std::string leggi() const { return leggi_byte(file()); }

    // The written document cut at every CR LF, failing the test where it is not made of lines
    // each ended by CR LF.
    std::vector<std::string> righe_scritte() const { return righe_crlf(leggi()); }

    // Writes the document with `scrivi` into the empty folder, puts in its place the earlier,
    // longer file that `precedente` makes from the bytes written, writes again, and checks that
    // the file holds exactly the bytes of the first write: nothing of the earlier file is left.
    // Returns those bytes.
    template <class Scrittura, class Precedente>
    std::string verifica_sostituzione(Scrittura scrivi, Precedente precedente) {
        scrivi();
        const std::string pulito = leggi();
        if (pulito.empty()) {
            ADD_FAILURE() << "nothing written into the empty folder";
            return pulito;
        }
        const std::string vecchio = precedente(pulito);
        EXPECT_GT(vecchio.size(), pulito.size()) << "the earlier file must be the longer";
        scrivi_byte(file(), vecchio);
        scrivi();
        EXPECT_EQ(leggi(), pulito);
        return pulito;
    }

    std::unique_ptr<prova::cartella_temporanea> temporanea;
    std::filesystem::path cartella;
    costruzione c;
    std::string nome_documento;
};

inline std::string_view senza_blank_iniziali(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

// The row cut at every comma; the values after the keyword lose their leading blanks.
inline std::vector<std::string_view> campi(std::string_view riga) {
    std::vector<std::string_view> risultato;
    std::size_t inizio = 0;
    while (true) {
        const std::size_t virgola = riga.find(',', inizio);
        const std::string_view campo = riga.substr(inizio, virgola - inizio);
        risultato.push_back(risultato.empty() ? campo : senza_blank_iniziali(campo));
        if (virgola == std::string_view::npos)
            break;
        inizio = virgola + 1;
    }
    return risultato;
}

// The fields of a row that opens with the keyword `parola` and holds `quanti` fields, the keyword
// included. A row otherwise fails the test, and of a row of another length no field is given.
inline std::vector<std::string_view>
campi_controllati(std::string_view riga, std::string_view parola, std::size_t quanti) {
    std::vector<std::string_view> c = campi(riga);
    EXPECT_EQ(c.size(), quanti) << riga;
    EXPECT_EQ(c[0], parola) << riga;
    if (c.size() != quanti)
        c.clear();
    return c;
}

// A whole decimal number, optionally negative, filling the field; anything else, an empty field
// included, fails the test.
inline long numero(std::string_view campo) {
    long valore = 0;
    const auto [fine, errore] = std::from_chars(campo.data(), campo.data() + campo.size(), valore);
    EXPECT_TRUE(!campo.empty() && errore == std::errc() && fine == campo.data() + campo.size())
        << "not a number: '" << campo << "'";
    return valore;
}

// The rows that follow the header `intestazione` in a line table, up to the next header. The
// table's last slot is its end marker, never written, and so no row.
template <std::size_t n>
std::vector<std::string_view> sezione(const std::array<std::string_view, n>& tabella,
                                      std::string_view intestazione) {
    const auto fine = tabella.end() - 1;
    std::vector<std::string_view> risultato;
    auto it = std::find(tabella.begin(), fine, intestazione);
    EXPECT_NE(it, fine) << intestazione;
    if (it == fine)
        return risultato;
    for (++it; it != fine && !it->starts_with('['); ++it)
        risultato.push_back(*it);
    return risultato;
}

// Checks a row of a line table: not empty, no blank at either end, printable ASCII only. An
// empty row is a fatal failure, for the caller to stop at with ASSERT_NO_FATAL_FAILURE.
inline void verifica_riga_stampabile(std::string_view riga) {
    ASSERT_FALSE(riga.empty());
    EXPECT_NE(riga.front(), ' ');
    EXPECT_NE(riga.back(), ' ');
    for (unsigned char c : riga) {
        EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "not printable ASCII";
    }
}

// Checks that the headers of a line table stand at the given lines, counted from 1, and that no
// other line of the table opens with a bracket.
template <std::size_t n>
void verifica_intestazioni(const std::array<std::string_view, n>& tabella,
                           const std::map<int, std::string_view>& intestazioni) {
    for (std::size_t i = 0; i + 1 < tabella.size(); ++i) {
        const int riga = static_cast<int>(i) + 1;
        const auto it = intestazioni.find(riga);
        if (it != intestazioni.end()) {
            EXPECT_EQ(tabella[i], it->second) << "line " << riga;
        } else {
            EXPECT_FALSE(tabella[i].starts_with('[')) << "line " << riga << ": " << tabella[i];
        }
    }
}

} // namespace corvenna::prova_documenti
