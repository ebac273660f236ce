// Every kind of diagnostic has its explanation and its example, and each example gives its
// diagnostic while its mending does not, through the compile and the checking pass as
// `scenario controlla` runs them.

#include "checking/controllo_descrizioni.hpp"
#include "diagnostics/esempi_diagnostica.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "running/diagnostiche_marcia.hpp"
#include "support/diagnostiche_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

namespace corvenna {
namespace {

using prova_diagnostiche::costruisci_testi;

// Kinds whose example cannot be a few lines: it would take 79 stations, 81 relief stretches or a
// missing file.
const std::set<std::string_view> non_compilabili = {"voci-esaurite", "troppe-montagne",
                                                    "linea-mancante"};

std::string testo_crlf(std::string_view testo, std::string_view minimo) {
    if (testo.empty())
        testo = minimo;
    std::string t;
    for (char c : testo) {
        if (c == '\n')
            t += '\r';
        t += c;
    }
    return t + "\r\n";
}

bool di_tipo(const diagnostica& d, const tipo_diagnostica& tipo) {
    return d.tipo ? tipo_di(*d.tipo).nome == tipo.nome
                  : tipo.livello == gravita::errore && d.codice == tipo.codice;
}

struct controllato {
    prova_diagnostiche::costruito compilato;
    // What the checking pass gives on top of the compile's diagnostics.
    elenco_diagnostiche controllo;

    bool presente(const tipo_diagnostica& tipo) const {
        const scenario_costruito& s = compilato.s;
        if (tipo.livello == gravita::errore &&
            (s.c.codice_errore == tipo.codice || s.errore_intestazione == tipo.codice))
            return true;
        const auto di = [&](const diagnostica& d) { return di_tipo(d, tipo); };
        // The pass tells a few of the compile's warnings in sharper words of its own: the
        // compile's kind counts as given either way.
        return std::any_of(s.diagnostiche.begin(), s.diagnostiche.end(), di) ||
               std::any_of(controllo.begin(), controllo.end(), di);
    }
    std::string testo() const {
        std::string t = compilato.testo();
        for (const diagnostica& d : controllo)
            t += compilato.testo_di(d);
        return t;
    }
};

// The two descriptions compiled, then checked as `scenario controlla --modello locomotiva`
// checks them.
controllato controlla(std::string_view linea, std::string_view treno) {
    controllato c{
        costruisci_testi(testo_crlf(linea, linea_minima), testo_crlf(treno, treno_minimo)), {}};
    c.controllo = controlla_descrizioni(*c.compilato.linea, *c.compilato.treno, 1,
                                        c.compilato.s.diagnostiche);
    // With the dry run's check, as `scenario controlla --modello locomotiva` adds it.
    const modello_treno modello = modello_predefinito(c.compilato.s.c);
    aggiungi_in_ordine(c.controllo, diagnostiche_marcia(c.compilato.s, *c.compilato.linea,
                                                        *c.compilato.treno, &modello));
    return c;
}

TEST(EsempiDiagnostica, EveryKindHasAnExplanationAndAnExample) {
    std::string mancanti;
    for (const tipo_diagnostica& tipo : tipi_diagnostica()) {
        bool manca = tipo.spiegazione.empty();
        if (tipo.dello_strumento) {
            // No description gives a failure of the tool: its example is a command line.
            const esempio_strumento* e = esempio_strumento_di(tipo.nome);
            manca = manca || e == nullptr || e->comando.empty() || e->correzione.empty() ||
                    esempio_di(tipo.nome) != nullptr;
        } else {
            const esempio_diagnostica* e = esempio_di(tipo.nome);
            manca = manca || e == nullptr || e->correzione.empty() ||
                    (e->linea.empty() && e->treno.empty()) ||
                    esempio_strumento_di(tipo.nome) != nullptr;
        }
        if (manca)
            mancanti += " " + std::string(tipo.nome);
    }
    EXPECT_EQ(mancanti, "") << "tipi senza spiegazione o esempio (src/diagnostics/"
                               "esempi_diagnostica.cpp)";
    // And no example of a kind the build does not have.
    for (const esempio_diagnostica& e : esempi_diagnostica())
        EXPECT_NE(tipo_di_nome(e.nome), nullptr) << e.nome;
    for (const esempio_strumento& e : esempi_strumento())
        EXPECT_NE(tipo_di_nome(e.nome), nullptr) << e.nome;
}

TEST(EsempiDiagnostica, EachExampleGivesItsDiagnosticAndItsMendingDoesNot) {
    for (const esempio_diagnostica& e : esempi_diagnostica()) {
        if (non_compilabili.contains(e.nome))
            continue;
        SCOPED_TRACE(std::string(e.nome));
        const tipo_diagnostica* tipo = tipo_di_nome(e.nome);
        ASSERT_NE(tipo, nullptr);
        const controllato errato = controlla(e.linea, e.treno);
        EXPECT_TRUE(errato.presente(*tipo)) << errato.testo();
        const controllato corretto =
            controlla(e.linea_corretta.empty() ? e.linea : e.linea_corretta,
                      e.treno_corretto.empty() ? e.treno : e.treno_corretto);
        EXPECT_FALSE(corretto.presente(*tipo)) << corretto.testo();
    }
}

} // namespace
} // namespace corvenna
