// `scenario formato` and `scenario spiega` as an author runs them: the reference of a keyword,
// the explanation of a diagnostic, and a word that names neither.

#include "support/cartella_temporanea.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

using prova::cartella_temporanea;
using prova::esegui_strumento;

// The lines of `testo` that begin with `inizio`.
std::vector<std::string> righe_che_iniziano(const std::string& testo, const std::string& inizio) {
    std::vector<std::string> righe;
    std::size_t i = 0;
    while (i < testo.size()) {
        const std::size_t fine = testo.find('\n', i);
        const std::string riga = testo.substr(i, fine - i);
        if (riga.starts_with(inizio))
            righe.push_back(riga);
        i = fine == std::string::npos ? testo.size() : fine + 1;
    }
    return righe;
}

TEST(Formato, ASignalRowIsElevenValuesOneALineWithUnitAndRange) {
    cartella_temporanea d;
    const auto e = esegui_strumento(d.percorso(), {"formato", "segnale"});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.errori, "");
    EXPECT_TRUE(e.uscita.starts_with("segnale  (descrizione del treno, sezione [segnali])\n"))
        << e.uscita;
    EXPECT_NE(e.uscita.find("\n  11 valori:\n"), std::string::npos) << e.uscita;
    const std::vector<std::string> nomi = {"posizione", "sx", "s1", "s2", "s3",   "rapp",
                                           "dx",        "d1", "d2", "d3", "tempo"};
    for (std::size_t i = 0; i < nomi.size(); ++i) {
        const std::string numero = std::to_string(i + 1);
        const auto righe = righe_che_iniziano(e.uscita, std::string(4 - numero.size(), ' ') +
                                                            numero + "  " + nomi[i] + " ");
        EXPECT_EQ(righe.size(), 1u) << nomi[i] << "\n" << e.uscita;
    }
    EXPECT_EQ(righe_che_iniziano(e.uscita, "   1  posizione  m  intero a 32 bit  da 0 a 1006900, "
                                           "multiplo di 50  dove sta il segnale")
                  .size(),
              1u)
        << e.uscita;
    EXPECT_EQ(
        righe_che_iniziano(e.uscita, "  11  tempo      s  intero a 32 bit  da 0 a 255").size(), 1u)
        << e.uscita;
}

TEST(Formato, AWordIsAKeywordAKeywordFieldOrASection) {
    cartella_temporanea d;
    struct caso {
        std::string parola;
        std::vector<std::string> inizi;
    };
    const std::vector<caso> casi = {
        // A keyword field as an author writes it names the keyword it applies.
        {"curvad3", {"curva  (descrizione della linea, sezione [curve])"}},
        {"Numero_Vetture", {"numero vetture  (descrizione del treno, sezione [generale])"}},
        // "[generale]" is a section of both descriptions.
        {"[generale]",
         {"[generale]  (descrizione della linea)", "[generale]  (descrizione del treno)",
          "lunghezza percorso  (", "orologio  ("}},
    };
    for (const caso& c : casi) {
        const auto e = esegui_strumento(d.percorso(), {"formato", c.parola});
        EXPECT_EQ(e.stato, 0) << c.parola;
        for (const std::string& inizio : c.inizi)
            EXPECT_EQ(righe_che_iniziano(e.uscita, inizio).size(), 1u)
                << c.parola << ": " << inizio;
    }
    const auto tutto = esegui_strumento(d.percorso(), {"formato"});
    EXPECT_EQ(tutto.stato, 0);
    EXPECT_EQ(righe_che_iniziano(tutto.uscita, "stazione  (").size(), 1u);
    EXPECT_EQ(righe_che_iniziano(tutto.uscita, "cartello_indicatore  (").size(), 1u);
}

TEST(Spiega, ACodeOrANameGivesTheMeaningAnExampleAndTheMending) {
    cartella_temporanea d;
    const auto codice = esegui_strumento(d.percorso(), {"spiega", "15"});
    EXPECT_EQ(codice.stato, 0);
    EXPECT_TRUE(codice.uscita.starts_with(
        "errore [codice 15] fuori-tracciato: una posizione cade oltre la fine del tracciato\n"))
        << codice.uscita;
    EXPECT_NE(codice.uscita.find("\nEsempio:\n  descrizione della linea:\n    [generale]\n"),
              std::string::npos)
        << codice.uscita;
    EXPECT_NE(codice.uscita.find("\n    cartello_indicatore,  99500,  (P.L.)\n"), std::string::npos)
        << codice.uscita;
    EXPECT_NE(codice.uscita.find("\nCorrezione: "), std::string::npos) << codice.uscita;

    // A warning's name as it is printed, brackets and all, in any case.
    const auto nome = esegui_strumento(d.percorso(), {"spiega", "[Riga-Ripetuta]"});
    EXPECT_EQ(nome.stato, 0);
    EXPECT_TRUE(nome.uscita.starts_with("avviso [riga-ripetuta]: ")) << nome.uscita;
}

TEST(FormatoSpiega, AnUnknownWordIsAUsageErrorWithTheNearestName) {
    cartella_temporanea d;
    struct caso {
        std::vector<std::string> argomenti;
        std::string errori;
    };
    const std::vector<caso> casi = {
        {{"formato", "segnal"},
         "scenario: 'segnal' non e' una parola chiave ne' una sezione delle descrizioni; forse "
         "intendevi 'segnale'?\nPer l'elenco: scenario formato\n"},
        {{"formato", "pendenze_"},
         "scenario: 'pendenze_' non e' una parola chiave ne' una sezione delle descrizioni; forse "
         "intendevi 'pendenze'?\nPer l'elenco: scenario formato\n"},
        {{"formato", "zxqwv"},
         "scenario: 'zxqwv' non e' una parola chiave ne' una sezione delle descrizioni\nPer "
         "l'elenco: scenario formato\n"},
        {{"spiega", "riga-ripetta"},
         "scenario: 'riga-ripetta' non e' il nome di un avviso o di un errore; forse intendevi "
         "'riga-ripetuta'?\nPer l'elenco: scenario spiega\n"},
        {{"spiega", "104"},
         "scenario: '104' non e' un codice di errore; forse intendevi 103?\nPer l'elenco: "
         "scenario spiega\n"},
    };
    for (const caso& c : casi) {
        const auto e = esegui_strumento(d.percorso(), c.argomenti);
        EXPECT_EQ(e.stato, 64) << c.argomenti[1];
        EXPECT_EQ(e.uscita, "") << c.argomenti[1];
        EXPECT_EQ(e.errori, c.errori);
    }
}

} // namespace
} // namespace corvenna
