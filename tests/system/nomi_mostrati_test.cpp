// Names the tool did not write itself, shown on the terminal: a path given on the command line,
// a word given to `formato` or `--vieta`, a name found by listing a folder. Their control bytes
// are shown escaped ("\x1b"), as the diagnostics show an author's text, so that no name sends a
// command to the terminal.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

// The bytes below 0x20 but line feed, and DEL, found in `testo`.
std::string controlli_in(const std::string& testo) {
    std::string trovati;
    for (const char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\n') || b == 0x7F)
            trovati += std::to_string(b) + ' ';
    }
    return trovati;
}

void descrizioni(const fs::path& d) {
    scrivi_file(d / "A_linea.txt",
                "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\npendenza,  0,  0\r\n"
                "[fine]\r\n");
    scrivi_file(d / "A_1000-.txt", treno_minimo());
}

struct caso_nome {
    const char* nome;
    std::function<void(const fs::path&)> prepara;
    std::vector<std::string> argomenti;
    int stato;
    std::string errori;
};

void PrintTo(const caso_nome& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class NomiMostrati : public ::testing::TestWithParam<caso_nome> {};

TEST_P(NomiMostrati, ReachTheTerminalWithTheirControlBytesEscaped) {
    const caso_nome& caso = GetParam();
    const cartella_temporanea d;
    caso.prepara(d.percorso());
    const esito_strumento esito = esegui_strumento(d.percorso(), caso.argomenti);
    EXPECT_EQ(esito.stato, caso.stato);
    EXPECT_EQ(esito.errori, caso.errori);
    EXPECT_EQ(controlli_in(esito.errori), "");
}

INSTANTIATE_TEST_SUITE_P(
    Casi, NomiMostrati,
    ::testing::Values(
        caso_nome{"AWordForFormato",
                  [](const fs::path&) {},
                  {"formato", "\x1b[2Jzzz"},
                  64,
                  "scenario: '\\x1b[2Jzzz' non e' una parola chiave ne' una sezione delle "
                  "descrizioni\nPer l'elenco: scenario formato\n"},
        caso_nome{"AWordForVieta",
                  descrizioni,
                  {"controlla", "A_linea.txt", "A_1000-.txt", "--vieta", "\x07squillo"},
                  64,
                  "scenario: --vieta: '\\x07squillo' non e' il nome di un avviso\nPer l'aiuto: "
                  "scenario controlla --help\n"},
        caso_nome{"APathOnTheCommandLine",
                  [](const fs::path& d) { fs::create_directory(d / "s"); },
                  {"ispeziona", "s/A\x1b]0;titolo\x07_1000.sim", "s/A_1000.dat"},
                  2,
                  "scenario: impossibile leggere o scrivere s/A\\x1b]0;titolo\\x07_1000.sim: "
                  "file o cartella inesistente\n"},
        caso_nome{"ANameFoundInAFolder",
                  [](const fs::path& d) {
                      fs::create_directory(d / "s");
                      scrivi_file(d / "s" / "A\x1b[31m_1000.sim", "");
                      scrivi_file(d / "s" / "B_1000.sim", "");
                  },
                  {"ispeziona", "s"},
                  64,
                  "scenario: s contiene piu' scenari (A\\x1b[31m_1000.sim, B_1000.sim): indicare "
                  "--nome e --treno\nPer l'aiuto: scenario ispeziona --help\n"}),
    [](const auto& info) { return std::string(info.param.nome); });

} // namespace
} // namespace corvenna
