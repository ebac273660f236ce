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
         1, "parola-chiave-simile", 0},
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
