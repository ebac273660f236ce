#include "diagnostics/testo_diagnostica.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

diagnostica errore_a(int riga, int colonna) {
    diagnostica d;
    d.file = descrizione::linea;
    d.riga = riga;
    d.colonna = colonna;
    d.codice = 25;
    d.messaggio = "'x' non e' un numero";
    return d;
}

// A line of `n` digits 0-9 repeated, with "x" at column `dove`.
std::string riga_lunga(std::size_t n, std::size_t dove) {
    std::string r;
    for (std::size_t i = 0; i < n; ++i)
        r += static_cast<char>('0' + i % 10);
    r[dove - 1] = 'x';
    return r;
}

TEST(TestoDiagnostica, ALongLineIsAWindowAroundTheCaret) {
    struct caso {
        std::size_t lunghezza;
        int colonna;
        std::string riga_mostrata;
        std::size_t blank_prima_del_segno;
    };
    const std::string lunga = riga_lunga(10000, 5000);
    const caso casi[] = {
        // In the middle: both ends cut, the caret 60 characters into the window.
        {10000, 5000, "..." + lunga.substr(4939, 160) + "...", 3 + 60},
        // Near the start: only the end is cut.
        {10000, 20, riga_lunga(10000, 20).substr(0, 160) + "...", 19},
        // Near the end: only the start is cut, and the window holds the last characters.
        {10000, 9990, "..." + riga_lunga(10000, 9990).substr(9929, 71), 3 + 60},
        // A line of 200 characters is shown whole.
        {200, 150, riga_lunga(200, 150), 149},
    };
    for (const caso& c : casi) {
        const std::string riga = riga_lunga(c.lunghezza, static_cast<std::size_t>(c.colonna));
        const std::string t = testo_diagnostica(errore_a(1, c.colonna), "L.txt", riga);
        EXPECT_EQ(t, "L.txt:1:" + std::to_string(c.colonna) +
                         ": errore: 'x' non e' un numero [codice 25]\n" + c.riga_mostrata + "\n" +
                         std::string(c.blank_prima_del_segno, ' ') + "^\n")
            << c.colonna;
        // The caret stands under the "x".
        const std::size_t inizio_riga = t.find('\n') + 1;
        const std::size_t segno = t.rfind('^') - t.find('\n', inizio_riga) - 1;
        EXPECT_EQ(t[inizio_riga + segno], 'x') << c.colonna;
    }
}

TEST(TestoDiagnostica, AWindowOfAUtf8LineCountsCharactersAndEscapes) {
    // Accented letters are two bytes each and a control byte is shown as four columns: the
    // window counts characters, the caret the columns shown.
    const auto lettere = [](int n) {
        std::string t;
        for (int i = 0; i < n; ++i)
            t += "\xC3\xA0";
        return t;
    };
    const std::string riga = lettere(220) + "\x1b" + lettere(30) + "x" + lettere(100);
    const std::string t = testo_diagnostica(errore_a(1, 252), "L.txt", riga, true);
    EXPECT_EQ(t, "L.txt:1:252: errore: 'x' non e' un numero [codice 25]\n..." + lettere(29) +
                     "\\x1b" + lettere(30) + "x" + lettere(99) + "...\n" +
                     std::string(3 + 29 + 4 + 30, ' ') + "^\n");
}

TEST(TestoDiagnostica, RelatedPlacesAndFixesFollowAsNotes) {
    diagnostica d = errore_a(10, 19);
    d.file = descrizione::treno;
    d.correlati.push_back({descrizione::linea, 26, 11, "la fermata di MERIDOLA"});
    d.correlati.push_back({std::nullopt, 0, 0, "il \x1b treno"});
    d.correzioni.push_back({"scrivere 125", descrizione::treno, 10, 19, 22, "125"});
    EXPECT_EQ(testo_correlati(d, "L.txt", "T.txt"), "L.txt:26:11: nota: la fermata di MERIDOLA\n"
                                                    "nota: il \\x1b treno\n"
                                                    "T.txt:10:19: correzione: scrivere 125\n");
    EXPECT_EQ(testo_correlati(errore_a(1, 1), "L.txt", "T.txt"), "");
}

} // namespace
} // namespace corvenna
