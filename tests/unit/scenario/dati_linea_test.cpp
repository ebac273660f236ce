#include "scenario/dati_documenti.hpp"
#include "support/documenti_in_cartella.hpp"

#include "model/costruzione.hpp"
#include "scenario/righe_linea.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

class DatiLinea : public prova_documenti::documento_scritto {
  protected:
    DatiLinea() : documento_scritto("Corvenna_linea.txt") {}
};

TEST_F(DatiLinea, WritesTheHundredFiftyLinesAndStopsAtTheEndMarker) {
    prova::dati_linea(c, cartella);
    const std::vector<std::string> righe = righe_scritte();
    ASSERT_EQ(righe.size(), 150u);
    EXPECT_EQ(c.indice, 150);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        EXPECT_EQ(righe[i], righe_linea[i]) << "line " << i + 1;
    }
    EXPECT_EQ(righe.front(), "[generale]");
    EXPECT_EQ(righe.back(), "[fine]");
    const std::string byte = leggi();
    EXPECT_TRUE(byte.ends_with("\r\n[fine]\r\n"));
    EXPECT_EQ(byte.find("riferimento"), std::string::npos);
}

// Rows whose blanks carry meaning reach the file as they stand.
TEST_F(DatiLinea, BlanksOfTheRowsReachTheFile) {
    prova::dati_linea(c, cartella);
    const std::string byte = leggi();
    for (const char* riga : {
             "\r\nripetizione segnali 4 codici,  0,  0\r\n",
             "\r\nindicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0\r\n",
             "\r\ncartello_indicatore,  2900,     (   P.L.  )(km 1+522)\r\n",
             "\r\ncartello_indicatore,  75450,     ( Ex raccordo  )(stabilimento)( "
             "industriale)\r\n",
         })
        EXPECT_NE(byte.find(riga), std::string::npos) << riga;
}

TEST_F(DatiLinea, AnEarlierFileIsReplacedWhole) {
    verifica_sostituzione(
        [&] {
            c.indice = 0;
            prova::dati_linea(c, cartella);
        },
        [](const std::string&) {
            return std::string(200000, 'x') + "\n[generale]\nlunghezza percorso,  1\n";
        });
    EXPECT_EQ(c.indice, 150);
}

} // namespace
} // namespace corvenna
