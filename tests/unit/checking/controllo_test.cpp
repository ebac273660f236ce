#include "checking/controllo_descrizioni.hpp"
#include "checking/politica_avvisi.hpp"
#include "checking/suggerimento.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "format/righe_documento.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/guasti_seminati.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

template <typename Tabella>
std::vector<std::string> righe_di(const Tabella& t) {
    std::vector<std::string> righe;
    for (const std::string_view r : t) {
        if (r == fine_tabella)
            break;
        righe.emplace_back(r);
    }
    return righe;
}

std::string testo(const std::vector<std::string>& righe) {
    std::string t;
    for (const std::string& r : righe)
        t += r + "\r\n";
    return t;
}

// The built-in descriptions with some rows (numbered from 1) rewritten.
struct modello {
    std::vector<std::string> linea = righe_di(righe_linea);
    std::vector<std::string> treno = righe_di(righe_treno);
};

std::string nome_di(const diagnostica& d) {
    if (d.tipo)
        return std::string(tipo_di(*d.tipo).nome);
    return "codice " + std::to_string(d.codice);
}

std::string mostra(const elenco_diagnostiche& elenco) {
    std::string s;
    for (const diagnostica& d : elenco)
        s += (d.file == descrizione::linea ? "L:" : "T:") + std::to_string(d.riga) + ":" +
             std::to_string(d.colonna) + " " + nome_di(d) +
             (d.livello == gravita::errore ? " errore: " : " avviso: ") + d.messaggio + "\n";
    return s;
}

struct controllato {
    elenco_diagnostiche della_compilazione;
    elenco_diagnostiche diagnostiche;
};

// The descriptions as `controlla` takes them: the compile, the checking pass, the tool's policy.
controllato controlla(const std::string& linea, const std::string& treno,
                      const politica_avvisi& politica = {}) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea;
    sorgente.testi[descrizione::treno] = treno;
    auto s =
        std::make_unique<scenario_costruito>(costruisci_scenario(sorgente, {"Prova", "1234"}, 1));
    controllato c;
    c.della_compilazione = s->diagnostiche;
    c.diagnostiche = controlla_descrizioni(linea, treno, 1, std::move(s->diagnostiche));
    applica_politica(c.diagnostiche, politica);
    return c;
}

const diagnostica* trova(const elenco_diagnostiche& elenco, descrizione file, int riga, int colonna,
                         std::string_view nome) {
    for (const diagnostica& d : elenco)
        if (d.file == file && d.riga == riga && d.colonna == colonna && nome_di(d) == nome)
            return &d;
    return nullptr;
}

struct caso {
    const char* nome;
    // Rows rewritten: file, row from 1, new text (std::nullopt empties the whole file).
    std::vector<std::tuple<descrizione, int, std::optional<std::string>>> righe;
    descrizione file;
    int riga;
    int colonna;
    bool errore;
    // A piece the message must hold.
    const char* messaggio;
};

TEST(Controllo, EachSilentResultIsReportedAtItsFieldWithItsName) {
    using D = descrizione;
    std::vector<caso> casi{
        {"oltre-il-percorso",
         {{D::linea, 149, "cartello_indicatore,  91000,  OLTRE"}},
         D::linea,
         149,
         23,
         true,
         "oltre la fine del percorso (88000 m)"},
        {"codice 15",
         {{D::linea, 149, "cartello_indicatore,  99500,  OLTRE"}},
         D::linea,
         149,
         23,
         true,
         "puo' stare fino a 94900 m"},
        {"progressive-annullate",
         {{D::linea, 4, "sfondo uno,  1"}, {D::linea, 5, "sfondo uno,  1"}},
         D::linea,
         3,
         32,
         true,
         "iniziano tutte a 0"},
        {"progressive-annullate",
         {{D::linea, 4, "progressiva chilometrica due,  55000,  -42300,  0"}},
         D::linea,
         5,
         32,
         true,
         "due progressive chilometriche iniziano a 55000 m"},
        {"lettere-fraintese",
         {{D::linea, 11, "curva destra 1000,  700,  950"}},
         D::linea,
         11,
         1,
         true,
         "classe 1 a sinistra"},
        {"lettere-fraintese",
         {{D::treno, 36, "[segnale]"}},
         D::treno,
         36,
         1,
         true,
         "contiene la parola chiave 'segnale'"},
        {"valore-avvolto",
         {{D::linea, 65, "pendenza,  38700,  200"}},
         D::linea,
         65,
         20,
         true,
         "200 per mille non sta nel campo (da -100 a 155): diventa -56 per mille"},
        {"valore-avvolto",
         {{D::treno, 7, "aderenza,  0,  300"}},
         D::treno,
         7,
         16,
         true,
         "diventa 44"},
        {"treno-vuoto", {{D::treno, 0, std::nullopt}}, D::treno, 1, 1, true, "[generale]"},
        {"treno-vuoto", {{D::treno, 1, "[generle]"}}, D::treno, 1, 1, true, "[generale]"},
        {"intestazione-sconosciuta",
         {{D::treno, 1, "[generle]"}},
         D::treno,
         1,
         1,
         false,
         "forse intendevi `[generale]`?"},
        {"elemento-perso",
         {{D::treno, 19,
           "stazone,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  "
           "41,  0,   CORVENNA"}},
         D::treno,
         19,
         1,
         true,
         "forse intendevi `stazione`?"},
        {"elemento-perso",
         {{D::treno, 37, "segnael,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}},
         D::treno,
         37,
         1,
         true,
         "forse intendevi `segnale`?"},
        {"elemento-perso",
         {{D::linea, 3, "Progressiva chilometrica uno,  0,  -1500,  0"}},
         D::linea,
         3,
         1,
         true,
         "le maiuscole contano"},
        {"parola-chiave-simile",
         {{D::treno, 10, "velocta,  1500,  125"}},
         D::treno,
         10,
         1,
         false,
         "forse intendevi `velocita`?"},
        {"intestazione-sconosciuta",
         {{D::treno, 8, "[vel_limte]"}},
         D::treno,
         8,
         1,
         false,
         "forse intendevi `[vel_limite]`?"},
        {"orario-non-valido",
         {{D::treno, 20,
           "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  "
           "6,  75,  30,   S. LUCERIO"}},
         D::treno,
         20,
         75,
         false,
         "il minuto 75 non esiste"},
        {"orario-decrescente",
         {{D::treno, 20,
           "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  "
           "6,  40,  30,   S. LUCERIO"}},
         D::treno,
         20,
         71,
         false,
         "precede quello della stazione alla riga 19"},
        {"commento-con-virgola",
         {{D::treno, 18, "--- nota, stazione soppressa"}},
         D::treno,
         18,
         11,
         false,
         "letto come la parola chiave 'stazione'"},
        {"valori-su-piu-righe",
         {{D::treno, 37, "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0"}},
         D::treno,
         37,
         51,
         false,
         "attesi 11 valori, trovati 10"},
        {"separatore-non-valido",
         {{D::treno, 10, "velocita;  1500;  125"}},
         D::treno,
         10,
         9,
         false,
         "un punto e virgola"},
        {"separatore-non-valido",
         {{D::treno, 10, "velocita\t1500\t125"}},
         D::treno,
         10,
         9,
         false,
         "una tabulazione"},
        {"riga-fuori-sezione",
         {{D::linea, 6, "pendenza,  0,  0"}},
         D::linea,
         6,
         1,
         false,
         "sta nella sezione [generale]"},
        {"trattino-in-parola-chiave",
         {{D::treno, 10, "velocita-linea,  1500,  125"}},
         D::treno,
         10,
         1,
         false,
         "scartato come un commento"},
    };
    // Every station row emptied: told at the [stazioni] header.
    caso senza{"senza-stazioni", {}, D::treno, 18, 1, true, "nessuna riga 'stazione'"};
    for (int riga = 19; riga <= 34; ++riga)
        senza.righe.emplace_back(D::treno, riga, "");
    casi.push_back(senza);
    for (const caso& k : casi) {
        modello m;
        bool vuoto = false;
        for (const auto& [file, riga, nuovo] : k.righe) {
            auto& righe = file == descrizione::linea ? m.linea : m.treno;
            if (!nuovo)
                vuoto = true;
            else
                righe[static_cast<std::size_t>(riga - 1)] = *nuovo;
        }
        const auto c = controlla(testo(m.linea), vuoto ? std::string() : testo(m.treno));
        const diagnostica* d = trova(c.diagnostiche, k.file, k.riga, k.colonna, k.nome);
        ASSERT_NE(d, nullptr) << k.nome << "\n" << mostra(c.diagnostiche);
        EXPECT_EQ(d->livello == gravita::errore, k.errore) << k.nome;
        EXPECT_NE(d->messaggio.find(k.messaggio), std::string::npos)
            << k.nome << ": " << d->messaggio;
    }
}

TEST(Controllo, TheTemplateHasOnlyItsOneMarkerOverlapWhichCanBeAllowedByName) {
    const modello m;
    const auto c = controlla(testo(m.linea), testo(m.treno));
    ASSERT_EQ(c.diagnostiche.size(), 1u) << mostra(c.diagnostiche);
    EXPECT_EQ(nome_di(c.diagnostiche[0]), "marcatori-sovrascritti");
    politica_avvisi consenti;
    consenti.consentiti.insert("marcatori-sovrascritti");
    EXPECT_EQ(mostra(controlla(testo(m.linea), testo(m.treno), consenti).diagnostiche), "");
}

TEST(Controllo, EveryErrorIsReportedOnceAndTheTrainIsCheckedPastABrokenLine) {
    modello m;
    // Two positions past the track in the line: the compile stops reading it at the first.
    m.linea[147] = "cartello_indicatore,  99500,  A";
    m.linea[148] = "cartello_indicatore,  99700,  B";
    // In the train, a station too close to the one before (code 22) and later a signal on a
    // position that is not free.
    m.treno[19] = "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
                  "30,   S. LUCERIO";
    m.treno[19].replace(m.treno[19].find("5200"), 4, "0250");
    m.treno[46] = "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0";
    const auto c = controlla(testo(m.linea), testo(m.treno));
    const auto& d = c.diagnostiche;
    EXPECT_NE(trova(d, descrizione::linea, 148, 23, "codice 15"), nullptr) << mostra(d);
    EXPECT_NE(trova(d, descrizione::linea, 149, 23, "codice 15"), nullptr) << mostra(d);
    EXPECT_NE(trova(d, descrizione::treno, 20, 12, "codice 22"), nullptr) << mostra(d);
    EXPECT_NE(trova(d, descrizione::treno, 47, 11, "codice 16"), nullptr) << mostra(d);
    // The stop of the train that only follows from the line's error is not told again.
    EXPECT_EQ(std::count_if(d.begin(), d.end(),
                            [](const diagnostica& x) {
                                return x.tipo == tipo_avviso::compilazione_interrotta;
                            }),
              std::count_if(c.della_compilazione.begin(), c.della_compilazione.end(),
                            [](const diagnostica& x) {
                                return x.tipo == tipo_avviso::compilazione_interrotta;
                            }));
    // The compile's own first error stands among them as it recorded it.
    const auto primo =
        std::find_if(c.della_compilazione.begin(), c.della_compilazione.end(),
                     [](const diagnostica& x) { return x.livello == gravita::errore; });
    ASSERT_NE(primo, c.della_compilazione.end());
    EXPECT_TRUE(std::any_of(d.begin(), d.end(), [&](const diagnostica& x) {
        return x.codice == primo->codice && x.riga == primo->riga && x.colonna == primo->colonna &&
               x.metri == primo->metri;
    }));
    // In file order, each once.
    for (std::size_t i = 1; i < d.size(); ++i) {
        if (!d[i].file || !d[i - 1].file || d[i].riga == 0)
            continue;
        EXPECT_LE(std::pair(*d[i - 1].file, d[i - 1].riga), std::pair(*d[i].file, d[i].riga))
            << mostra(d);
    }
}

TEST(Controllo, TheTrainIsCheckedWhenTheLineHasNoRouteLength) {
    modello m;
    m.linea[1] = "sfondo tre,  0";
    m.treno[46] = "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0";
    const auto c = controlla(testo(m.linea), testo(m.treno));
    EXPECT_NE(trova(c.diagnostiche, descrizione::treno, 47, 11, "codice 16"), nullptr)
        << mostra(c.diagnostiche);
}

TEST(Controllo, AllowingAndForbiddingByName) {
    modello m;
    m.linea[148] = "cartello_indicatore,  91000,  OLTRE";
    m.treno[9] = "velocita,  1500,  123";
    politica_avvisi p;
    p.consentiti.insert("oltre-il-percorso");
    p.vietati.insert("velocita-arrotondata");
    const auto c = controlla(testo(m.linea), testo(m.treno), p);
    const diagnostica* oltre =
        trova(c.diagnostiche, descrizione::linea, 149, 23, "oltre-il-percorso");
    ASSERT_NE(oltre, nullptr);
    EXPECT_EQ(oltre->livello, gravita::avviso);
    const diagnostica* velocita =
        trova(c.diagnostiche, descrizione::treno, 10, 19, "velocita-arrotondata");
    ASSERT_NE(velocita, nullptr);
    EXPECT_EQ(velocita->livello, gravita::errore);

    EXPECT_EQ(nome_non_accettato("oltre-il-percorso", true), std::nullopt);
    EXPECT_EQ(nome_non_accettato("oltre-il-percorsso", true),
              "'oltre-il-percorsso' non e' il nome di un avviso: forse intendevi "
              "'oltre-il-percorso'?");
    EXPECT_NE(nome_non_accettato("fuori-tracciato", true), std::nullopt);
    EXPECT_EQ(nome_non_accettato("fuori-tracciato", false), std::nullopt);
}

TEST(Controllo, NearestWordBySlipsOfTheKeyboard) {
    const std::vector<std::string_view> parole{"stazione", "segnale", "sabbia", "[vel_limite]"};
    EXPECT_EQ(piu_vicina("stazone", parole), "stazione");
    EXPECT_EQ(piu_vicina("sengale", parole), "segnale");
    EXPECT_EQ(piu_vicina("[vel_limte]", parole), "[vel_limite]");
    EXPECT_EQ(piu_vicina("rallentamento", parole), std::nullopt);
    EXPECT_EQ(piu_vicina("stazione", parole), std::nullopt);
    EXPECT_EQ(distanza_modifica("ab", "ba"), 1);
}

// Seeded faults in the template, 1 to 5 a file: found at their exact line and column, few
// diagnostics beside them, the compile's own first error always there.
TEST(Controllo, SeededFaultsAreFoundAtTheirFields) {
    const prova::misura_controllo m = prova::misura_guasti(60, 20261211);
    ASSERT_GT(m.guasti, 0);
    std::cout << "guasti seminati: " << m.file << " file, " << m.trovati << " trovati di "
              << m.guasti << ", " << m.estranee << " diagnostiche estranee di " << m.diagnostiche
              << ", primo errore presente in " << m.primo_errore_presente << " di " << m.con_errore
              << "\n";
    EXPECT_GE(m.trovati * 100, m.guasti * 95) << m.trovati << " di " << m.guasti;
    EXPECT_LE(m.estranee * 100, m.diagnostiche * 5) << m.estranee << " di " << m.diagnostiche;
    EXPECT_EQ(m.primo_errore_presente, m.con_errore);
}

} // namespace
} // namespace corvenna
