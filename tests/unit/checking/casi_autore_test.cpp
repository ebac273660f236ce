// The mistakes a new author made writing a line and its train from scratch: each told at its row,
// by name and in words that say what is lost or what is true.

#include "checking/controllo_descrizioni.hpp"
#include "checking/politica_avvisi.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "pipeline/costruisci_scenario.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace corvenna {
namespace {

std::string crlf(std::string_view righe) {
    std::string t;
    for (const char c : righe) {
        if (c == '\n')
            t += '\r';
        t += c;
    }
    return t;
}

// A 35 km line and a train with one station, with the rows of a case added before [fine].
std::string linea(std::string_view generale = "", std::string_view righe = "") {
    return crlf("[generale]\nlunghezza percorso,  35000\n" + std::string(generale) + "[curve]\n" +
                std::string(righe) + "[fine]\n");
}

const std::string stazione_origine =
    "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  8,  0,  0,   ORIGINE\n";

std::string treno(std::string_view righe = "") {
    return crlf("[generale]\nvelocita,  0,  75\n[stazioni]\n" + stazione_origine +
                std::string(righe) + "[fine]\n");
}

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

// The descriptions as `scenario controlla` takes them: the compile, the checking pass, the
// tool's policy.
elenco_diagnostiche controlla(const std::string& l, const std::string& t,
                              const politica_avvisi& politica = {}) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = l;
    sorgente.testi[descrizione::treno] = t;
    auto s =
        std::make_unique<scenario_costruito>(costruisci_scenario(sorgente, {"Prova", "1234"}, 1));
    elenco_diagnostiche d = controlla_descrizioni(l, t, 1, std::move(s->diagnostiche));
    applica_politica(d, politica);
    return d;
}

const diagnostica* trova(const elenco_diagnostiche& elenco, descrizione file, int riga,
                         std::string_view nome) {
    for (const diagnostica& d : elenco)
        if (d.file == file && d.riga == riga && nome_di(d) == nome)
            return &d;
    return nullptr;
}

struct caso {
    const char* titolo;
    std::string linea;
    std::string treno;
    descrizione file;
    int riga;
    const char* nome;
    bool errore;
    // Pieces the message must hold.
    std::vector<const char*> parole;
    // The text of the certain fix, when the case has one.
    const char* correzione = nullptr;
};

TEST(CasiAutore, EachMistakeIsToldAtItsRowByNameAndInTrueWords) {
    using D = descrizione;
    const std::vector<caso> casi{
        {"stazione scritta male",
         linea(),
         treno("stazone,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  9,  30,"
               "   SAN VITO AL PASSO\n"),
         D::treno,
         5,
         "elemento-perso",
         true,
         {"'stazone' non e' una parola chiave",
          "la stazione SAN VITO AL PASSO non entra nello scenario", "forse intendevi `stazione`?"},
         "stazione"},
        {"segnale scritto male",
         linea(),
         treno("segnlae,  10900,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"),
         D::treno,
         5,
         "elemento-perso",
         true,
         {"il segnale a 10900 m non entra nello scenario"},
         "segnale"},
        {"progressiva con la maiuscola",
         linea("Progressiva chilometrica uno,  0,  -1500,  0\n"),
         treno(),
         D::linea,
         3,
         "elemento-perso",
         true,
         {"qui le maiuscole contano", "la progressiva chilometrica uno non entra nello scenario"},
         "progressiva chilometrica uno"},
        {"parola di una riga senza elemento scritta male",
         linea(),
         treno("velocta,  5000,  90\n"),
         D::treno,
         5,
         "parola-chiave-simile",
         false,
         {"forse intendevi `velocita`?"},
         "velocita"},
        {"stazione senza il nome",
         linea(),
         treno("stazione,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  19,  0\n"
               "stazione,  20000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,"
               "   SAN VITO AL PASSO\n"),
         D::treno,
         5,
         "riga-inghiottita",
         true,
         {"attesi 17 valori, trovati 16: manca 'nome' (campo 17)",
          "la parola chiave 'stazione' diventa un suo valore",
          "la stazione SAN VITO AL PASSO della riga 6 non entra nello scenario"}},
        {"curva fuori ordine",
         linea("", "curvad5,  32500,  300\ncurvad5,  30000,  300\n"),
         treno(),
         D::linea,
         5,
         "curva-ignorata",
         true,
         {"la curva a 30000 m finisce a 30300 m", "non entra nello scenario",
          "in ordine di posizione"}},
        {"due progressive allo stesso metro",
         linea("progressiva chilometrica uno,  0,  0,  0\n"
               "progressiva chilometrica due,  0,  1000,  0\n"
               "progressiva chilometrica tre,  20000,  5000,  0\n"),
         treno(),
         D::linea,
         4,
         "progressiva-mai-applicata",
         true,
         {"la progressiva chilometrica due inizia a 0 m come la uno (riga 3)",
          "non si applica mai"}},
        {"stazioni scambiate",
         linea(),
         treno("stazione,  26000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  39,  0,"
               "   VALLE\n"
               "stazione,  18800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,"
               "   MONTE\n"),
         D::treno,
         6,
         "codice 22",
         true,
         {"la stazione MONTE (a 18800 m) viene prima della stazione VALLE (a 26000 m, riga 5)",
          "in ordine di posizione"}},
        {"curva destra con un raggio",
         linea("", "curva destra 500,  3000,  400\n"),
         treno(),
         D::linea,
         4,
         "lettere-fraintese",
         true,
         {"classe 5 a sinistra", "una curva a destra di classe 5 si scrive 'curvad5'"},
         "curvad5"},
        {"curva destra con un raggio che non ha la sua cifra",
         linea("", "curva destra 1000,  3000,  400\n"),
         treno(),
         D::linea,
         4,
         "lettere-fraintese",
         true,
         {"classe 1 a sinistra", "il raggio 1000 m e' la classe 4",
          "una curva a destra di classe 4 si scrive 'curvad4'"},
         "curvad4"},
        {"commento con il cancelletto",
         linea("", "# curve della salita\n"),
         treno(),
         D::linea,
         4,
         "commento-non-valido",
         false,
         {"'#' non apre un commento: i commenti si scrivono con '--'"},
         "--"},
        {"commento con la doppia barra",
         linea(),
         treno("// fermate\n"),
         D::treno,
         5,
         "commento-non-valido",
         false,
         {"'//' non apre un commento"},
         "--"},
        {"commento con una virgola",
         linea("", "-- curve, della salita\n"),
         treno(),
         D::linea,
         4,
         "commento-con-virgola",
         false,
         {"il commento finisce alla virgola: 'della salita' e' letto come un campo chiave"}},
        {"stazione corta di un valore",
         linea(),
         treno("stazione,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  19,"
               "   SAN VITO AL PASSO\n"),
         D::treno,
         5,
         "codice 25",
         true,
         {"'SAN' non e' un numero", "la riga ha 16 valori e 'stazione' ne prende 17: ne manca uno",
          "il campo 16 ('secondi'), un numero"}},
        {"orario in un campo",
         linea(),
         treno("stazione,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8:09:30,"
               "   SAN VITO AL PASSO\n"),
         D::treno,
         5,
         "codice 25",
         true,
         {"un orario si scrive in tre campi, ore, minuti e secondi", "'8:09:30' e' 8,  9,  30"}},
        {"treno fermato da un errore della linea",
         linea("", "cartello_indicatore,  45000,  OLTRE\n"),
         treno("segnale,  10900,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"),
         D::treno,
         5,
         "compilazione-interrotta",
         false,
         {"resta il codice 15 della riga 4 della descrizione della linea"}},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.titolo);
        const elenco_diagnostiche d = controlla(k.linea, k.treno);
        const diagnostica* x = trova(d, k.file, k.riga, k.nome);
        ASSERT_NE(x, nullptr) << mostra(d);
        EXPECT_EQ(x->livello == gravita::errore, k.errore) << mostra(d);
        for (const char* parola : k.parole)
            EXPECT_NE(x->messaggio.find(parola), std::string::npos) << x->messaggio;
        if (k.correzione) {
            ASSERT_EQ(x->correzioni.size(), 1u) << x->messaggio;
            EXPECT_EQ(x->correzioni[0].testo, k.correzione);
        }
    }
}

// A draft with two faults that the compile meets one after the other: the stations swapped (code
// 22) and, further on, a signal row one value short, whose missing value the compile reads from
// the next row (code 25 there). Both codes are told in one run, each at its row.
TEST(CasiAutore, EveryFaultOfADraftIsToldInOneRunTheCompilesOwnCodesIncluded) {
    const std::string t =
        treno("stazione,  26000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  39,  0,"
              "   VALLE\n"
              "stazione,  18800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  29,  0,"
              "   MONTE\n"
              "[segnali]\n"
              "segnale,  30000,  1,  4,  0,  0,  0,  0,  0,  0,  0\n"
              "segnale,  31000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n");
    const elenco_diagnostiche d = controlla(linea(), t);
    EXPECT_NE(trova(d, descrizione::treno, 6, "codice 22"), nullptr) << mostra(d);
    const diagnostica* corta = trova(d, descrizione::treno, 8, "valori-su-piu-righe");
    ASSERT_NE(corta, nullptr) << mostra(d);
    EXPECT_NE(corta->messaggio.find("la compilazione si ferma alla riga 9"), std::string::npos)
        << corta->messaggio;
    const diagnostica* letta = trova(d, descrizione::treno, 9, "codice 25");
    ASSERT_NE(letta, nullptr) << mostra(d);
    EXPECT_NE(letta->messaggio.find("'segnale' non e' un numero"), std::string::npos)
        << letta->messaggio;
}

// Allowed by name, each of the new errors is the compile's result again: a warning the author
// keeps on purpose, not shown.
TEST(CasiAutore, AllowedByNameTheLossIsKeptAndNotShown) {
    politica_avvisi p;
    p.consentiti = {"elemento-perso", "riga-inghiottita", "curva-ignorata",
                    "progressiva-mai-applicata"};
    const std::string t =
        treno("stazone,  12800,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  8,  9,  30,"
              "   SAN VITO AL PASSO\n");
    const std::string l = linea("", "curvad5,  32500,  300\ncurvad5,  30000,  300\n");
    const elenco_diagnostiche d = controlla(l, t, p);
    for (const diagnostica& x : d)
        EXPECT_NE(x.livello, gravita::errore) << mostra(d);
}

} // namespace
} // namespace corvenna
