// `scenario formato` and `scenario spiega` as an author runs them: the reference of a keyword,
// the explanation of a diagnostic, and a word that names neither.

#include "support/cartella_temporanea.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(Formato, AnAuthorsWordLeadsToTheKeywordThatWritesIt) {
    cartella_temporanea d;
    struct caso {
        std::string parola;
        std::string prima_riga;
        std::vector<std::string> parole_chiave;
    };
    const std::vector<caso> casi = {
        {"galleria",
         "galleria non e' una parola chiave: una galleria e' un tratto montagna con tipo da 11 "
         "in su",
         {"montagna"}},
        {"Tunnel",
         "tunnel non e' una parola chiave: una galleria e' un tratto montagna con tipo da 11 in "
         "su",
         {"montagna"}},
        {"commento",
         "commento non e' una parola chiave: un commento e' una riga il cui campo chiave "
         "contiene '-', come '-- nota': e' saltata, fino a due di seguito (dieci nella sezione "
         "[generale] della linea); dopo una virgola il resto della riga e' letto come un campo "
         "chiave (avviso commento-con-virgola)",
         {}},
        {"orario", "orario non e' una parola chiave: ", {"stazione", "orologio"}},
        {"sosta", "sosta non e' una parola chiave: ", {"stazione"}},
        {"progressiva",
         "progressiva non e' una parola chiave: ",
         {"progressiva chilometrica uno", "progressiva chilometrica due",
          "progressiva chilometrica tre"}},
    };
    for (const caso& c : casi) {
        const auto e = esegui_strumento(d.percorso(), {"formato", c.parola});
        EXPECT_EQ(e.stato, 0) << c.parola;
        EXPECT_EQ(e.errori, "") << c.parola;
        EXPECT_TRUE(e.uscita.starts_with(c.prima_riga)) << e.uscita;
        // Each keyword's whole reference follows, and no other.
        std::vector<std::string> parole;
        for (const std::string& r : righe_che_iniziano(e.uscita, ""))
            if (const auto fine = r.find("  (descrizione "); fine != std::string::npos)
                parole.push_back(r.substr(0, fine));
        EXPECT_EQ(parole, c.parole_chiave) << e.uscita;
    }
    // The whole reference lists them at its end, the words that lead to one place together.
    const auto tutto = esegui_strumento(d.percorso(), {"formato"});
    EXPECT_EQ(righe_che_iniziano(tutto.uscita, "  galleria, gallerie, tunnel: una galleria e' un "
                                               "tratto montagna con tipo da 11 in su")
                  .size(),
              1u);
}

TEST(Formato, ASignalNamesItsKindsAndAspects) {
    cartella_temporanea d;
    const auto e = esegui_strumento(d.percorso(), {"formato", "segnale"});
    EXPECT_EQ(e.stato, 0);
    for (const std::string riga :
         {"  valori con un nome:", "    sx: 1 segnale di avviso, 2 segnale di protezione",
          "    s1, s2, s3, d1, d2, d3: 0 spento, 1 rosso, 2 giallo, 3 verde, 4 giallo "
          "lampeggiante, 5 verde lampeggiante, 6 giallo e verde",
          "    dx: 0 nessuno, 1 segnale di avviso, 2 segnale di protezione"})
        EXPECT_EQ(std::ranges::count(righe_che_iniziano(e.uscita, riga), riga), 1) << e.uscita;
}

TEST(Formato, AStationSaysWhatItsStopTimeAndValuesMean) {
    cartella_temporanea d;
    const auto e = esegui_strumento(d.percorso(), {"formato", "stazione"});
    EXPECT_EQ(e.stato, 0);
    for (const std::string inizio :
         {"   2  tipo  ", "  Fermata: una stazione di tipo sotto 25 e' una fermata",
          "  Ora: ore, minuti e secondi sono l'ora della fermata nell'orario del treno",
          "  Valori per il simulatore: b1, b2, b4, b5 e i1 .. i5"})
        EXPECT_EQ(righe_che_iniziano(e.uscita, inizio).size(), 1u) << inizio << "\n" << e.uscita;
    // Each value only carried says so, where it used to read as "il valore b5".
    for (const std::string nome : {"b1", "b4", "b5", "i1", "i2", "i3", "i4", "i5"}) {
        const auto righe = righe_che_iniziano(e.uscita, "");
        const auto riga = std::find_if(righe.begin(), righe.end(), [&](const std::string& r) {
            return r.find("  " + nome + "  ") != std::string::npos && r.size() > 4 && r[3] >= '0' &&
                   r[3] <= '9';
        });
        ASSERT_NE(riga, righe.end()) << nome;
        EXPECT_NE(riga->find("portato nella voce della stazione per il simulatore; la "
                             "compilazione non lo usa"),
                  std::string::npos)
            << *riga;
    }
}

TEST(Esporta, SaysWhatItWroteAndHowToCompileIt) {
    cartella_temporanea d;
    const auto e = esegui_strumento(d.percorso(), {"esporta", "modello"});
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.errori, "");
    EXPECT_EQ(e.uscita, "scritti in modello:\n"
                        "  Corvenna_linea.txt              la descrizione della linea\n"
                        "  Corvenna_7381-.txt              la descrizione del treno\n"
                        "  Corvenna_7381_note.txt          le note dello scenario, per il "
                        "macchinista\n"
                        "  Corvenna_7381_rallentamenti.txt il modulo dei rallentamenti\n"
                        "  Corvenna_7381_scheda_treno.txt  la scheda del treno, con l'orario\n"
                        "per compilarli: scenario compila modello/Corvenna_linea.txt "
                        "modello/Corvenna_7381-.txt\n");
    // Refused, it writes nothing on standard output.
    const auto di_nuovo = esegui_strumento(d.percorso(), {"esporta", "modello"});
    EXPECT_EQ(di_nuovo.stato, 64);
    EXPECT_EQ(di_nuovo.uscita, "");
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
        // A word of the descriptions, or one near it, is explained by `formato`.
        {{"spiega", "stazzione"},
         "scenario: 'stazzione' non e' il nome di un avviso o di un errore; forse intendevi la "
         "parola delle descrizioni 'stazione'? scenario formato stazione\nPer l'elenco: "
         "scenario spiega\n"},
        {{"spiega", "galleria"},
         "scenario: 'galleria' non e' il nome di un avviso o di un errore; e' una parola delle "
         "descrizioni: scenario formato galleria\nPer l'elenco: scenario spiega\n"},
        {{"formato", "galeria"},
         "scenario: 'galeria' non e' una parola chiave ne' una sezione delle descrizioni; forse "
         "intendevi 'galleria'?\nPer l'elenco: scenario formato\n"},
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
