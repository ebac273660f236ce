// Every kind of diagnostic has its explanation and its example, and each example gives its
// diagnostic while its mending does not.

#include "diagnostics/esempi_diagnostica.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
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

bool presente(const prova_diagnostiche::costruito& r, const tipo_diagnostica& tipo) {
    if (tipo.livello == gravita::errore &&
        (r.s.c.codice_errore == tipo.codice || r.s.errore_intestazione == tipo.codice))
        return true;
    return std::any_of(r.s.diagnostiche.begin(), r.s.diagnostiche.end(), [&](const diagnostica& d) {
        return d.tipo ? tipo_di(*d.tipo).nome == tipo.nome : d.codice == tipo.codice;
    });
}

TEST(EsempiDiagnostica, EveryKindHasAnExplanationAndAnExample) {
    std::string mancanti;
    for (const tipo_diagnostica& tipo : tipi_diagnostica()) {
        const esempio_diagnostica* e = esempio_di(tipo.nome);
        if (tipo.spiegazione.empty() || e == nullptr || e->correzione.empty() ||
            (e->linea.empty() && e->treno.empty()))
            mancanti += " " + std::string(tipo.nome);
    }
    EXPECT_EQ(mancanti, "") << "tipi senza spiegazione o esempio (src/diagnostics/"
                               "esempi_diagnostica.cpp)";
    // And no example of a kind the build does not have.
    for (const esempio_diagnostica& e : esempi_diagnostica())
        EXPECT_NE(tipo_di_nome(e.nome), nullptr) << e.nome;
}

TEST(EsempiDiagnostica, EachExampleGivesItsDiagnosticAndItsMendingDoesNot) {
    for (const esempio_diagnostica& e : esempi_diagnostica()) {
        if (non_compilabili.contains(e.nome))
            continue;
        SCOPED_TRACE(std::string(e.nome));
        const tipo_diagnostica* tipo = tipo_di_nome(e.nome);
        ASSERT_NE(tipo, nullptr);
        const auto errato =
            costruisci_testi(testo_crlf(e.linea, linea_minima), testo_crlf(e.treno, treno_minimo));
        EXPECT_TRUE(presente(errato, *tipo)) << errato.testo();
        const auto corretto = costruisci_testi(
            testo_crlf(e.linea_corretta.empty() ? e.linea : e.linea_corretta, linea_minima),
            testo_crlf(e.treno_corretto.empty() ? e.treno : e.treno_corretto, treno_minimo));
        EXPECT_FALSE(presente(corretto, *tipo)) << corretto.testo();
    }
}

} // namespace
} // namespace corvenna
