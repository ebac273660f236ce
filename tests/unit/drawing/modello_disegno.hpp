#pragma once

// Models for the drawing's tests: small descriptions, written inline by each test, built into
// a finished model exactly as the tool builds an author's.

#include "base/codifica_1252.hpp"
#include "format/righe_documento.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "scenario/documenti_scenario.hpp"
#include "support/compila_prova.hpp"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace corvenna::prova {

inline costruzione modello(const std::string& testo_linea, const std::string& testo_treno) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = testo_linea;
    sorgente.testi[descrizione::treno] = testo_treno;
    scenario_costruito s = costruisci_scenario(sorgente, {"Prova", "42"}, 1);
    EXPECT_TRUE(s.riuscito()) << "code " << s.c.codice_errore << " at " << s.c.posizione_errore;
    return std::move(s.c);
}

// A line table as its description file holds it: Windows-1252, CR LF, up to the end marker.
inline std::string testo_tabella(std::span<const std::string_view> righe) {
    std::string t;
    for (const std::string_view riga : righe) {
        if (riga == fine_tabella)
            break;
        t += in_1252(riga);
        t += "\r\n";
    }
    return t;
}

// The built-in scenario, from the descriptions the generator writes.
inline costruzione modello_incorporato() {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] =
        testo_tabella(documento(file_uscita::descrizione_linea).righe);
    sorgente.testi[descrizione::treno] =
        testo_tabella(documento(file_uscita::descrizione_treno).righe);
    scenario_costruito s = costruisci_scenario(
        sorgente, {std::string(nome_scenario_predefinito), std::string(numero_treno_predefinito)},
        1);
    EXPECT_TRUE(s.riuscito());
    return std::move(s.c);
}

} // namespace corvenna::prova
