#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using prova::leggi_file;
using prova::scrivi_file;

// The exported template with one row replaced, as an author would edit it.
struct modello_modificato {
    cartella_temporanea d;

    modello_modificato() { EXPECT_EQ(esegui_strumento(d.percorso(), {"esporta", "M"}).stato, 0); }

    void sostituisci(const char* file, int riga, const std::string& testo) {
        const fs::path p = d.percorso() / "M" / file;
        std::string t = leggi_file(p);
        std::size_t inizio = 0;
        for (int r = 1; r < riga; ++r)
            inizio = t.find("\r\n", inizio) + 2;
        const std::size_t fine = t.find("\r\n", inizio);
        t.replace(inizio, fine - inizio, testo);
        scrivi_file(p, t);
    }

    prova::esito_strumento esegui(const std::string& comando, std::vector<std::string> altri = {}) {
        std::vector<std::string> a{comando, "M/Corvenna_linea.txt", "M/Corvenna_7381-.txt"};
        if (comando == "compila")
            a.insert(a.end(), {"-o", "O"});
        a.insert(a.end(), {"--diagnostica", "json"});
        a.insert(a.end(), altri.begin(), altri.end());
        return esegui_strumento(d.percorso(), a);
    }
};

const nlohmann::json* trova(const nlohmann::json& elenco, int riga, int colonna,
                            const std::string& nome) {
    for (const nlohmann::json& x : elenco)
        if (x["riga"] == riga && x["colonna"] == colonna && x["codice"] == nome)
            return &x;
    return nullptr;
}

// Each case through the real program: the diagnostic at its line, column and name, the exit
// status, and nothing written by `compila` when it is an error.
TEST(ControlloStrumento, EachCaseHasItsPlaceNameAndExitStatus) {
    struct caso {
        const char* file;
        int riga;
        std::string testo;
        int colonna;
        const char* nome;
        int stato;
    };
    const char* L = "Corvenna_linea.txt";
    const char* T = "Corvenna_7381-.txt";
    const std::vector<caso> casi{
        {L, 149, "cartello_indicatore,  91000,  OLTRE", 23, "oltre-il-percorso", 1},
        {L, 5, "progressiva chilometrica tre,  42300,  91900,  1", 32, "progressive-annullate", 1},
        {L, 11, "curva destra 1000,  700,  950", 1, "lettere-fraintese", 1},
        {L, 65, "pendenza,  38700,  200", 20, "valore-avvolto", 1},
        {T, 1, "[generle]", 1, "treno-vuoto", 1},
        {T, 19,
         "stazone,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA",
         1, "elemento-perso", 1},
        {T, 20,
         "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  75,  30,   S. "
         "LUCERIO",
         75, "orario-non-valido", 0},
        {T, 18, "--- nota, stazione soppressa", 11, "commento-con-virgola", 1},
        {T, 37, "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0", 51, "valori-su-piu-righe", 1},
    };
    for (const caso& k : casi) {
        modello_modificato m;
        m.sostituisci(k.file, k.riga, k.testo);
        const auto esito = m.esegui("compila", {"--consenti", "marcatori-sovrascritti"});
        EXPECT_EQ(esito.stato, k.stato) << k.nome << "\n" << esito.errori << esito.uscita;
        EXPECT_EQ(fs::exists(m.d.percorso() / "O"), k.stato == 0) << k.nome;
        const nlohmann::json elenco = nlohmann::json::parse(esito.uscita);
        const nlohmann::json* x = trova(elenco, k.riga, k.colonna, k.nome);
        ASSERT_NE(x, nullptr) << k.nome << "\n" << esito.uscita;
        EXPECT_EQ((*x)["file"], std::string("M/") + k.file);
    }
}

// A 35 km line and its train written from scratch, as a new author writes them: one fault a case.
struct bozza {
    cartella_temporanea d;

    static std::string crlf(const std::string& righe) {
        std::string t;
        for (const char c : righe) {
            if (c == '\n')
                t += '\r';
            t += c;
        }
        return t;
    }

    bozza(const std::string& curve, const std::string& stazioni) {
        scrivi_file(d.percorso() / "P_linea.txt",
                    crlf("[generale]\nlunghezza percorso,  35000\n[curve]\n" + curve + "[fine]\n"));
        scrivi_file(d.percorso() / "P_1000-.txt",
                    crlf("[generale]\nvelocita,  0,  75\n[stazioni]\n"
                         "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  8,  0,  "
                         "0,   ORIGINE\n" +
                         stazioni + "[fine]\n"));
    }

    prova::esito_strumento compila(const std::string& uscita, std::vector<std::string> altri = {}) {
        std::vector<std::string> a{"compila", "P_linea.txt",   "P_1000-.txt", "-o",
                                   uscita,    "--diagnostica", "json"};
        a.insert(a.end(), altri.begin(), altri.end());
        return esegui_strumento(d.percorso(), a);
    }
};

const std::string stazione_persa =
    "stazone,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  9,  30,   SAN VITO "
    "AL PASSO\n";
const std::string curve_scambiate = "curvad5,  32500,  300\ncurvad5,  30000,  300\n";

// Each case as the author met it: the exit status of `compila`, and the diagnostic's row, name
// and words.
TEST(ControlloStrumento, AnAuthorsMistakesAreToldWithTheirRowNameWordsAndExitStatus) {
    struct caso {
        std::string curve;
        std::string stazioni;
        const char* file;
        int riga;
        std::string nome;
        const char* parole;
        int stato;
    };
    const std::vector<caso> casi{
        {"", stazione_persa, "P_1000-.txt", 5, "elemento-perso",
         "la riga e' ignorata, e la stazione SAN VITO AL PASSO non entra nello scenario", 1},
        {"", "segnlae,  10900,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n", "P_1000-.txt", 5,
         "elemento-perso", "il segnale a 10900 m non entra nello scenario", 1},
        {"",
         "stazione,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  19,  0\n"
         "stazione,  20000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,   SAN "
         "VITO AL PASSO\n",
         "P_1000-.txt", 5, "riga-inghiottita",
         "la stazione SAN VITO AL PASSO della riga 6 non entra nello scenario", 1},
        {curve_scambiate, "", "P_linea.txt", 5, "curva-ignorata",
         "la curva a 30000 m finisce a 30300 m, prima della fine della precedente (32800 m)", 1},
        {"curva destra 500,  3000,  400\n", "", "P_linea.txt", 4, "lettere-fraintese",
         "una curva a destra di classe 5 si scrive 'curvad5'", 1},
        {"# curve della salita\n", "", "P_linea.txt", 4, "commento-non-valido",
         "i commenti si scrivono con '--'", 0},
        {"",
         "stazione,  26000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  39,  0,   "
         "VALLE\n"
         "stazione,  18800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,   "
         "MONTE\n",
         "P_1000-.txt", 6, "stazioni-vicine",
         "la stazione MONTE (a 18800 m) viene prima della stazione VALLE (a 26000 m, riga 5)", 1},
        {"",
         "stazione,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8:09:30,   SAN "
         "VITO\n",
         "P_1000-.txt", 5, "lettura-fallita", "un orario si scrive in tre campi", 1},
        // Stations swapped and, further on, a signal row one value short: the code that the short
        // row causes on the next row is told in the same run as the stations' code.
        {"",
         "stazione,  26000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  39,  0,   "
         "VALLE\n"
         "stazione,  18800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,   "
         "MONTE\n[segnali]\n"
         "segnale,  30000,  1,  4,  0,  0,  0,  0,  0,  0,  0\n"
         "segnale,  31000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n",
         "P_1000-.txt", 9, "lettura-fallita", "'segnale' non e' un numero", 1},
        // A fault of the line stops the train: the train's warning names the line's row.
        {"cartello_indicatore,  45000,  OLTRE\n",
         "segnale,  10900,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n", "P_1000-.txt", 5,
         "compilazione-interrotta", "resta il codice 15 della riga 4 della descrizione della linea",
         1},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        bozza b(k.curve, k.stazioni);
        const auto esito = b.compila("O");
        EXPECT_EQ(esito.stato, k.stato) << esito.errori << esito.uscita;
        const nlohmann::json elenco = nlohmann::json::parse(esito.uscita);
        const nlohmann::json* trovata = nullptr;
        for (const nlohmann::json& x : elenco)
            if (x["riga"] == k.riga && x["nome"] == k.nome && x["file"] == k.file)
                trovata = &x;
        ASSERT_NE(trovata, nullptr) << esito.uscita;
        EXPECT_NE((*trovata)["messaggio"].get<std::string>().find(k.parole), std::string::npos)
            << (*trovata)["messaggio"];
    }
}

// Allowed by name, a lost row gives the compile's own result: the scenario written without it,
// byte for byte the one of the draft from which the row is taken out.
TEST(ControlloStrumento, AllowedByNameALostRowGivesTheCompilesResult) {
    struct caso {
        std::string curve, stazioni, curve_senza, stazioni_senza, nome;
    };
    const std::vector<caso> casi{
        {"", stazione_persa, "", "", "elemento-perso"},
        {curve_scambiate, "", "curvad5,  32500,  300\n", "", "curva-ignorata"},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        bozza con(k.curve, k.stazioni);
        const auto consentito = con.compila("O", {"--consenti", k.nome});
        EXPECT_EQ(consentito.stato, 0) << consentito.errori;
        bozza senza(k.curve_senza, k.stazioni_senza);
        EXPECT_EQ(senza.compila("O").stato, 0);
        const auto file_con = prova::leggi_cartella(con.d.percorso() / "O");
        EXPECT_FALSE(file_con.empty());
        EXPECT_EQ(file_con, prova::leggi_cartella(senza.d.percorso() / "O"));
    }
}

TEST(ControlloStrumento, TheTemplateIsCleanWithItsOverlapAndItsShortSectionAllowed) {
    modello_modificato m;
    const auto esito = m.esegui(
        "controlla", {"--consenti", "marcatori-sovrascritti", "--consenti", "orario-impossibile"});
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.uscita, "[]\n");
    EXPECT_EQ(esito.errori, "0 errori, 0 avvisi\n");
}

TEST(ControlloStrumento, AllowedErrorsGiveTheGeneratorsResultAndForbiddenWarningsStop) {
    modello_modificato m;
    m.sostituisci("Corvenna_linea.txt", 149, "cartello_indicatore,  91000,  OLTRE");
    const auto consentito = m.esegui(
        "compila", {"--consenti", "oltre-il-percorso", "--consenti", "marcatori-sovrascritti"});
    EXPECT_EQ(consentito.stato, 0) << consentito.errori;
    EXPECT_TRUE(fs::exists(m.d.percorso() / "O" / "Corvenna_7381.sim"));

    modello_modificato v;
    const auto vietato = v.esegui("controlla", {"--vieta", "marcatori-sovrascritti"});
    EXPECT_EQ(vietato.stato, 1);
    // The template's other warning: Bagnoverde-Valterma below its lower bound.
    EXPECT_EQ(vietato.errori, "1 errore, 1 avviso\n");
}

TEST(ControlloStrumento, AnUnknownNameIsAUsageErrorWithTheNearestName) {
    modello_modificato m;
    const auto esito = m.esegui("controlla", {"--consenti", "oltre-il-percoso"});
    EXPECT_EQ(esito.stato, 64);
    EXPECT_NE(esito.errori.find("forse intendevi 'oltre-il-percorso'?"), std::string::npos)
        << esito.errori;
    const auto errore = m.esegui("controlla", {"--consenti", "fuori-tracciato"});
    EXPECT_EQ(errore.stato, 64);
}

} // namespace
} // namespace corvenna
