// The tool's reports on descriptions that hold terminal commands or junk: no byte of an
// author's file reaches the terminal, the page or the CSV as a control character, and a
// description full of junk gives a bounded report that still counts everything.

#include "support/cartella_temporanea.hpp"
#include "support/strumento_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;

// A short line with `righe` after its general section, and a train that compiles cleanly.
std::string linea_con(const std::vector<std::string>& righe) {
    std::string t = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\npendenza,  0,  3\r\n";
    for (const std::string& riga : righe)
        t += riga + "\r\n";
    return t + "[fine]\r\n";
}
const std::string treno_pulito = prova::treno_minimo();

void scrivi(const fs::path& percorso, const std::string& testo) {
    std::ofstream(percorso, std::ios::binary) << testo;
}

std::string leggi(const fs::path& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The bytes below 0x20 but line feed (and tab, where `con_tab`), and DEL, found in `testo`.
std::string controlli_in(const std::string& testo, bool con_tab = false) {
    std::string trovati;
    for (const char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\n' && !(con_tab && c == '\t')) || b == 0x7F)
            trovati += std::to_string(b) + ' ';
    }
    return trovati;
}

struct descrizioni {
    cartella_temporanea d;
    fs::path linea() const { return d.percorso() / "Prova_linea.txt"; }
    fs::path treno() const { return d.percorso() / "Prova_1234-.txt"; }

    explicit descrizioni(const std::string& testo_linea) {
        scrivi(linea(), testo_linea);
        scrivi(treno(), treno_pulito);
    }
    prova::esito_strumento esegui(std::vector<std::string> argomenti) const {
        return esegui_strumento(d.percorso(), argomenti);
    }
};

TEST(DiagnosticheLimitate, EscapeSequencesInADescriptionNeverReachTheTerminal) {
    const descrizioni a(linea_con(
        {"\x1b]0;titolo\x07,  100,  3", "indicatore cartello,  1000,  ROSSO\x1b[31m\x81"}));
    const auto esito = a.esegui({"controlla", "Prova_linea.txt", "Prova_1234-.txt"});
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_EQ(controlli_in(esito.errori), "");
    EXPECT_EQ(esito.errori,
              "Prova_linea.txt:5:1: avviso: '\\x1b]0;titolo\\x07' non e' una parola chiave: la "
              "riga e' ignorata [parola-chiave-sconosciuta]\n"
              "\\x1b]0;titolo\\x07,  100,  3\n"
              "^\n"
              "Prova_linea.txt:6:30: avviso: il testo 'ROSSO\\x1b[31m\\x81' contiene il byte "
              "0x1b, di controllo: va nel file delle voci cosi' com'e' [byte-non-stampabile]\n"
              "indicatore cartello,  1000,  ROSSO\\x1b[31m\xEF\xBF\xBD\n"
              "                             ^\n"
              "0 errori, 2 avvisi\n");
}

TEST(DiagnosticheLimitate, NamesWithControlBytesAreTextInThePageAndTheCsv) {
    const descrizioni a(linea_con({"indicatore cartello,  1000,  ROSSO\x1b[31m\x01"}));
    ASSERT_EQ(a.esegui({"compila", "Prova_linea.txt", "Prova_1234-.txt"}).stato, 0);

    const auto pagina = a.esegui({"disegna", ".", "-o", "pagina.html"});
    ASSERT_EQ(pagina.stato, 0) << pagina.errori;
    const std::string html = leggi(a.d.percorso() / "pagina.html");
    EXPECT_EQ(controlli_in(html, true), "");
    EXPECT_NE(html.find("ROSSO\\x1b[31m\\x01"), std::string::npos);

    const auto csv = a.esegui({"ispeziona", ".", "--formato", "csv", "--tabella", "voci"});
    ASSERT_EQ(csv.stato, 0) << csv.errori;
    // The row of the board, up to its line end.
    const std::size_t inizio = csv.uscita.rfind('\n', csv.uscita.find("ROSSO")) + 1;
    const std::string riga = csv.uscita.substr(inizio, csv.uscita.find("\r\n", inizio) - inizio);
    EXPECT_EQ(controlli_in(riga), "") << riga;
    EXPECT_NE(csv.uscita.find(",ROSSO\\x1b[31m\\x01,"), std::string::npos);
}

// 25 junk lines: the first 20 shown, one line for the other 5, the counts of all 25.
TEST(DiagnosticheLimitate, JunkLinesAreFoldedAfterTwentyAndAllCounted) {
    std::vector<std::string> spazzatura;
    for (int i = 0; i < 25; ++i)
        spazzatura.push_back("xyz" + std::to_string(i) + ",  1,  2");
    const descrizioni a(linea_con(spazzatura));

    const auto testo = a.esegui({"controlla", "Prova_linea.txt", "Prova_1234-.txt"});
    EXPECT_EQ(testo.stato, 0) << testo.errori;
    const std::string& e = testo.errori;
    EXPECT_NE(e.find("Prova_linea.txt:24:1: avviso: 'xyz19' non e' una parola chiave"),
              std::string::npos)
        << e;
    EXPECT_EQ(e.find("'xyz20'"), std::string::npos) << e;
    EXPECT_TRUE(e.ends_with("xyz19,  1,  2\n^\n"
                            "... e altre 5 diagnostiche dello stesso tipo "
                            "(parola-chiave-sconosciuta)\n"
                            "0 errori, 25 avvisi\n"))
        << e;

    const auto json =
        a.esegui({"controlla", "Prova_linea.txt", "Prova_1234-.txt", "--diagnostica", "json"});
    EXPECT_EQ(json.stato, 0);
    EXPECT_EQ(json.errori, "0 errori, 25 avvisi\n");
    const nlohmann::json elenco = nlohmann::json::parse(json.uscita);
    ASSERT_EQ(elenco.size(), 21u);
    EXPECT_EQ(elenco[19]["riga"], 24);
    EXPECT_EQ(elenco[20]["codice"], "parola-chiave-sconosciuta");
    EXPECT_EQ(elenco[20]["tralasciate"], 5);
    EXPECT_EQ(elenco[20]["messaggio"],
              "... e altre 5 diagnostiche dello stesso tipo (parola-chiave-sconosciuta)");
}

// More junk lines than the compile and the checking pass keep of one kind: the report is the
// same shape, and the count still covers every line.
TEST(DiagnosticheLimitate, JunkBeyondWhatAPassKeepsIsStillCountedWhole) {
    std::vector<std::string> spazzatura;
    for (int i = 0; i < 2500; ++i)
        spazzatura.push_back("xyz" + std::to_string(i) + ",  1,  2");
    const descrizioni a(linea_con(spazzatura));

    const auto testo = a.esegui({"controlla", "Prova_linea.txt", "Prova_1234-.txt"});
    EXPECT_EQ(testo.stato, 0) << testo.errori;
    EXPECT_TRUE(testo.errori.ends_with("xyz19,  1,  2\n^\n"
                                       "... e altre 2480 diagnostiche dello stesso tipo "
                                       "(parola-chiave-sconosciuta)\n"
                                       "0 errori, 2500 avvisi\n"))
        << testo.errori.substr(testo.errori.size() -
                               std::min<std::size_t>(400, testo.errori.size()));

    const auto json =
        a.esegui({"controlla", "Prova_linea.txt", "Prova_1234-.txt", "--diagnostica", "json"});
    EXPECT_EQ(json.errori, "0 errori, 2500 avvisi\n");
    const nlohmann::json elenco = nlohmann::json::parse(json.uscita);
    ASSERT_EQ(elenco.size(), 21u);
    EXPECT_EQ(elenco[20]["tralasciate"], 2480);
}

} // namespace
} // namespace corvenna
