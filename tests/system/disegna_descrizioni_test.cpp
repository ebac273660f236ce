// `scenario disegna` straight from a line and a train description: compiled in memory, nothing
// written but the page, each tooltip naming its description line; the opening range of the
// command line; and the refusals, each with its exit status and nothing written.

#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;

std::size_t occorrenze(const std::string& testo, const std::string& cercato) {
    std::size_t n = 0;
    for (std::size_t i = testo.find(cercato); i != std::string::npos;
         i = testo.find(cercato, i + 1))
        ++n;
    return n;
}

// The built-in scenario's descriptions, exported into `cartella`.
void esporta(const fs::path& cartella) {
    ASSERT_EQ(esegui_strumento(cartella, {"esporta", "."}).stato, 0);
}

TEST(DisegnaDescrizioni, PageFromTheDescriptionsNamesEachFeaturesLineAndWritesNothingElse) {
    cartella_temporanea t;
    esporta(t.percorso());
    const auto prima = std::distance(fs::directory_iterator(t.percorso()), {});
    const auto r =
        esegui_strumento(t.percorso(), {"disegna", "Corvenna_linea.txt", "Corvenna_7381-.txt",
                                        "--da", "40,5", "--a", "52"});
    ASSERT_EQ(r.stato, 0) << r.errori;
    // The built-in scenario's one warning is shown, as `controlla` shows it.
    EXPECT_NE(r.errori.find("[marcatori-sovrascritti]"), std::string::npos) << r.errori;
    EXPECT_EQ(std::distance(fs::directory_iterator(t.percorso()), {}), prima + 1);
    const std::string pagina = prova::leggi_file(t.percorso() / "Corvenna_7381.html");
    EXPECT_NE(pagina.find("<body data-da-m=\"40500\" data-a-m=\"52000\">"), std::string::npos);
    // The signal at 40050 m is line 57 of the train description: once in the plan, once in
    // the profile. Every station names its line.
    EXPECT_EQ(occorrenze(pagina, "riga 57 della descrizione del treno</title>"), 2u);
    EXPECT_EQ(occorrenze(pagina, "riga 19 della descrizione del treno</title>"), 2u);
    EXPECT_EQ(occorrenze(pagina, "della descrizione del treno</title>"), 2u * (16 + 29));
}

// A range that runs past the route's end is clipped to it, and the command line says so; the
// page's heading states the range it opens on.
TEST(DisegnaDescrizioni, ARangePastTheRoutesEndIsClippedAndTold) {
    cartella_temporanea t;
    esporta(t.percorso());
    const auto r =
        esegui_strumento(t.percorso(), {"disegna", "Corvenna_linea.txt", "Corvenna_7381-.txt",
                                        "--da", "80", "--a", "95"});
    ASSERT_EQ(r.stato, 0) << r.errori;
    EXPECT_NE(r.errori.find("scenario: --a 95: oltre la fine del percorso, lungo 88,000 km: la "
                            "vista si ferma a km 88,000\n"),
              std::string::npos)
        << r.errori;
    const std::string pagina = prova::leggi_file(t.percorso() / "Corvenna_7381.html");
    EXPECT_NE(pagina.find("<body data-da-m=\"80000\" data-a-m=\"88000\">"), std::string::npos);
    EXPECT_NE(pagina.find("Vista: <b id=\"finestra\">km 80,000 – 88,000</b>"), std::string::npos);
}

TEST(DisegnaDescrizioni, RefusalsWriteNothing) {
    cartella_temporanea t;
    esporta(t.percorso());
    const std::string linea = prova::leggi_file(t.percorso() / "Corvenna_linea.txt");
    std::string rotta = linea;
    rotta.replace(rotta.find("cartello_indicatore,  2900"), 26, "cartello_indicatore,  99500");
    prova::scrivi_file(t.percorso() / "Rotta_linea.txt", rotta);
    fs::copy_file(t.percorso() / "Corvenna_7381-.txt", t.percorso() / "Rotta_7381-.txt");
    fs::copy_file(t.percorso() / "Corvenna_7381-.txt", t.percorso() / "treno.txt");

    struct caso {
        std::vector<std::string> argomenti;
        int stato;
        std::string messaggio;
    };
    const caso casi[] = {
        {{"Corvenna_linea.txt", "Corvenna_7381-.txt", "--da", "quaranta"}, 64, "--da quaranta"},
        {{"Corvenna_linea.txt", "Corvenna_7381-.txt", "--da", "50", "--a", "40"}, 64, "--a 40"},
        {{"Corvenna_linea.txt", "Corvenna_7381-.txt", "--da", "88", "--a", "95"},
         64,
         "scenario: --da 88: oltre la fine del percorso, lungo 88,000 km\n"},
        {{"Rotta_linea.txt", "Rotta_7381-.txt"}, 1, "[codice 15]"},
        {{"Corvenna_linea.txt", "treno.txt"}, 64, "indicare --nome e --treno"},
        {{"Corvenna_linea.txt", "Corvenna_7381-.txt", "-o", "Corvenna_linea.txt"},
         64,
         "Corvenna_linea.txt"},
    };
    for (const caso& k : casi) {
        std::vector<std::string> argomenti{"disegna"};
        argomenti.insert(argomenti.end(), k.argomenti.begin(), k.argomenti.end());
        const auto r = esegui_strumento(t.percorso(), argomenti);
        EXPECT_EQ(r.stato, k.stato) << k.messaggio << "\n" << r.errori;
        EXPECT_NE(r.errori.find(k.messaggio), std::string::npos) << r.errori;
    }
    for (const auto& f : fs::directory_iterator(t.percorso()))
        EXPECT_NE(f.path().extension(), ".html") << f.path();
    EXPECT_EQ(prova::leggi_file(t.percorso() / "Corvenna_linea.txt"), linea);
}

} // namespace
} // namespace corvenna
