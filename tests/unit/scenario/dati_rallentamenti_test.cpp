#include "scenario/dati_documenti.hpp"
#include "support/documenti_in_cartella.hpp"

#include "format/righe_documento.hpp"
#include "model/costruzione.hpp"
#include "scenario/righe_rallentamenti.hpp"
#include "scenario/stazioni_scenario.hpp"
#include "support/descrizioni_prova.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace corvenna {
namespace {

using prova_documenti::colonne_barre;

class Rallentamenti : public prova_documenti::documento_scritto {
  protected:
    Rallentamenti() : documento_scritto("Corvenna_7381_rallentamenti.txt") {}
};

TEST_F(Rallentamenti, WritesFortySixLinesAndStopsAtTheEndMarker) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 46u);
    EXPECT_EQ(c.indice, 46);
    EXPECT_EQ(righe_rallentamenti.back(), fine_tabella);
    EXPECT_EQ(leggi().find("riferimento"), std::string::npos);
    EXPECT_EQ(leggi().substr(leggi().size() - 2), "\r\n");
}

TEST_F(Rallentamenti, QuotedLinesAreExact) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 46u);
    const std::string vuota =
        " |   |                            |            |          |         |            |";
    const std::string regola =
        " |___|____________________________|____________|__________|_________|____________|";
    const struct {
        int numero;
        std::string testo;
    } casi[] = {
        {1, ""},
        {2, std::string(31, ' ') + "Modulo M. 3"},
        {3, std::string(27, ' ') + "ORDINE DI RALLENTAMENTO"},
        {4, " " + std::string(80, '_')},
        {6, ""},
        {7, "  Si ordina al macchinista del treno 7381 di effettuare i seguenti rallentamenti"},
        {8, "  " + std::string(79, '_')},
        {9, " |   |" + std::string(28, ' ') + "|Inizio dopo |" + std::string(10, ' ') + "|" +
                std::string(9, ' ') + "|" + std::string(12, ' ') + "|"},
        {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
        {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
        {12, regola},
        {39, regola},
        {40, ""},
        {41, std::string(14, ' ') + "Prescrizioni specifiche"},
        {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
        {43, " B - Interessa anche la stazione di......."},
        {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
        {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
        {46, "     i giorni esclusi i seguenti:........."},
    };
    for (const auto& caso : casi)
        EXPECT_EQ(righe[caso.numero - 1], caso.testo) << "line " << caso.numero;
    for (int numero = 13; numero <= 38; ++numero)
        EXPECT_EQ(righe[numero - 1], vuota) << "line " << numero;
}

// The table lists the slowdowns of the train description, one row each: the train runs with
// none, so every row is blank.
TEST_F(Rallentamenti, TableRowsListTheTrainsSlowdowns) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 46u);
    const std::string vuota =
        " |   |                            |            |          |         |            |";
    std::size_t compilate = 0;
    for (int numero = 13; numero <= 38; ++numero)
        compilate += righe[numero - 1] != vuota;
    EXPECT_EQ(compilate, prova_descrizioni::leggi_treno().rallentamenti);
}

TEST_F(Rallentamenti, LineTitleJoinsTheEndStations) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 46u);
    const std::string origine(origine_scenario);
    const std::string destinazione(destinazione_scenario);
    EXPECT_EQ(righe[4], "  Linea  " + origine + "-" + destinazione);

    auto maiuscolo = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
        return s;
    };
    EXPECT_EQ(maiuscolo(origine), stazioni_scenario.front().nome);
    EXPECT_EQ(maiuscolo(destinazione), stazioni_scenario.back().nome);
}

TEST_F(Rallentamenti, TableLinesShareTheirBarColumns) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 46u);
    const std::vector<int> barre = {2, 6, 35, 48, 59, 69, 82};
    for (int numero = 9; numero <= 39; ++numero) {
        const std::string& riga = righe[numero - 1];
        EXPECT_EQ(riga.size(), 82u) << "line " << numero;
        EXPECT_EQ(riga[0], ' ') << "line " << numero;
        EXPECT_EQ(colonne_barre(riga), barre) << "line " << numero;
    }
    // In the two rules every cell is underscores from bar to bar.
    for (int numero : {12, 39}) {
        std::string celle = righe[numero - 1].substr(2, 79);
        std::erase(celle, '|');
        EXPECT_EQ(celle, std::string(celle.size(), '_')) << "line " << numero;
    }
}

TEST_F(Rallentamenti, NoLineEndsInABlankAndEveryByteIsAscii) {
    prova::dati_rallentamenti(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    for (std::size_t i = 0; i < righe.size(); ++i) {
        EXPECT_FALSE(righe[i].ends_with(' ')) << "line " << i + 1;
        for (const char ch : righe[i])
            EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "line " << i + 1;
    }
}

TEST_F(Rallentamenti, AnEarlierLongerFileIsReplacedWhole) {
    verifica_sostituzione(
        [&] { prova::dati_rallentamenti(c, cartella); },
        [](const std::string& pulito) { return std::string(pulito.size() * 3, 'x'); });
}

} // namespace
} // namespace corvenna
