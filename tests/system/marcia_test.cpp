// `scenario marcia` and the dry run's checks in `controlla` and `compila`, on the built-in
// scenario as `scenario esporta` writes it: Bagnoverde-Valterma told as impossible whatever the
// model, the sections each named model runs short, a refused model, and the compiled files
// unchanged by the check.

#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using json = nlohmann::json;

const std::string linea = "modello/Corvenna_linea.txt";
const std::string treno = "modello/Corvenna_7381-.txt";

void esporta(const fs::path& cartella) {
    const prova::esito_strumento e = esegui_strumento(cartella, {"esporta", "modello"});
    ASSERT_EQ(e.stato, 0) << e.errori;
}

// The warnings named `nome` in what `controlla` printed, first line of each.
std::vector<std::string> avvisi(const std::string& errori, const std::string& nome) {
    std::vector<std::string> righe;
    std::size_t p = 0;
    while (p < errori.size()) {
        const std::size_t fine = errori.find('\n', p);
        const std::string riga = errori.substr(p, fine == std::string::npos ? fine : fine - p);
        if (riga.find("[" + nome + "]") != std::string::npos)
            righe.push_back(riga);
        if (fine == std::string::npos)
            break;
        p = fine + 1;
    }
    return righe;
}

TEST(Marcia, BagnoverdeValtermaIsImpossibleWhateverTheModel) {
    const cartella_temporanea cartella;
    esporta(cartella.percorso());
    const std::string atteso =
        "modello/Corvenna_7381-.txt:34:70: avviso: da BAGNOVERDE a VALTERMA l'orario da' 300 s, "
        "meno del limite inferiore di 302 s (4950 m alle velocita' delle celle): nessun treno "
        "tiene l'orario [orario-impossibile]";
    for (const std::vector<std::string>& modello : {std::vector<std::string>{},
                                                    {"--modello", "locomotiva"},
                                                    {"--modello", "regionale"},
                                                    {"--modello", "merci"}}) {
        std::vector<std::string> argomenti{"controlla", linea, treno};
        argomenti.insert(argomenti.end(), modello.begin(), modello.end());
        const prova::esito_strumento e = esegui_strumento(cartella.percorso(), argomenti);
        EXPECT_EQ(e.stato, 0) << e.errori;
        EXPECT_EQ(avvisi(e.errori, "orario-impossibile"), std::vector<std::string>{atteso})
            << e.errori;
    }
}

TEST(Marcia, NamedModelsRunTheseSectionsShort) {
    const cartella_temporanea cartella;
    esporta(cartella.percorso());
    // The sections under 3 % of margin, with the margin in per cent rounded to the unit.
    const std::map<std::string, std::map<std::string, int>> attesi = {
        {"locomotiva", {{"SASSOGRIGIO-BAGNOVERDE", -3}, {"BAGNOVERDE-VALTERMA", -14}}},
        {"regionale", {{"SASSOGRIGIO-BAGNOVERDE", 0}, {"BAGNOVERDE-VALTERMA", -12}}},
        // A freight train keeps no section of a passenger timetable.
        {"merci", {}},
    };
    for (const auto& [modello, corte] : attesi) {
        const prova::esito_strumento e =
            esegui_strumento(cartella.percorso(),
                             {"marcia", linea, treno, "--modello", modello, "--formato", "json"});
        ASSERT_EQ(e.stato, 0) << e.errori;
        EXPECT_EQ(e.errori, "");
        const json j = json::parse(e.uscita);
        EXPECT_EQ(j.at("modello").at("nome"), modello);
        ASSERT_EQ(j.at("tratte").size(), 11u);
        std::map<std::string, int> trovate;
        for (const json& t : j["tratte"])
            if (t.at("margine_percento").get<double>() < 3)
                trovate[t.at("da").get<std::string>() + "-" + t.at("a").get<std::string>()] =
                    static_cast<int>(std::lround(t["margine_percento"].get<double>()));
        if (modello == "merci")
            EXPECT_EQ(trovate.size(), 11u);
        else
            EXPECT_EQ(trovate, corte) << modello;
        const json& ultima = j["tratte"][10];
        EXPECT_EQ(ultima.at("orario_s"), 300);
        EXPECT_EQ(ultima.at("limite_s"), 302);
        EXPECT_EQ(ultima.at("partenza"), "07:49:00");
        EXPECT_GT(ultima.at("minimo_s").get<double>(), 302);
        // No distant signal of the built-in line is too close to its main signal.
        for (const json& s : j.at("segnali"))
            EXPECT_GT(s.at("margine_m").get<double>(), 0) << s;
    }
}

TEST(Marcia, WithoutAModelTheRunSaysWhichItAssumed) {
    const cartella_temporanea cartella;
    esporta(cartella.percorso());
    const prova::esito_strumento e =
        esegui_strumento(cartella.percorso(), {"marcia", linea, treno, "--formato", "csv"});
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.errori, "scenario: nessun --modello: uso il modello locomotiva (12 vetture)\n");
    EXPECT_EQ(e.uscita.substr(0, e.uscita.find('\n')),
              "da,a,da_metro,a_metro,da_km,a_km,partenza,arrivo,orario_s,minimo_s,limite_s,"
              "margine_s,margine_percento");
}

TEST(Marcia, ABadModelFieldIsRefusedByName) {
    const cartella_temporanea cartella;
    esporta(cartella.percorso());
    prova::scrivi_file(cartella.percorso() / "m.json",
                       R"({"massa_t": 300, "lunghezza_m": -5, "davis": {}, "trazione": [[0, 1]],
                           "velocita_massima_kmh": 100, "frenatura_servizio_ms2": 0.5})");
    for (const char* comando : {"marcia", "controlla"}) {
        const prova::esito_strumento e =
            esegui_strumento(cartella.percorso(), {comando, linea, treno, "--modello", "m.json"});
        EXPECT_EQ(e.stato, 64) << comando;
        EXPECT_NE(e.errori.find("scenario: --modello m.json: lunghezza_m deve essere un numero "
                                "maggiore di 0 e al piu' 5000\n"),
                  std::string::npos)
            << e.errori;
    }
}

TEST(Marcia, CompiledFilesAreTheSameWithTheCheck) {
    const cartella_temporanea cartella;
    esporta(cartella.percorso());
    const prova::esito_strumento e = esegui_strumento(
        cartella.percorso(), {"compila", linea, treno, "-o", "uscita", "--modello", "merci"});
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_FALSE(avvisi(e.errori, "orario-irrealizzabile").empty());
    for (const std::string& nome : prova::file_binari)
        EXPECT_EQ(prova::leggi_file(cartella.percorso() / "uscita" / nome),
                  prova::scenario_di_riferimento().at(nome))
            << nome;
}

} // namespace
} // namespace corvenna
