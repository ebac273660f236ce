#pragma once

// Compiled models to test and measure with, built in memory by the build function: the built-in
// scenario, and a line of 1000000 m (the longest route) with a curve in every kilometre and a
// gradient change every 2 km, run with the built-in train.

#include "base/codifica_1252.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "format/righe_documento.hpp"
#include "model/costruzione.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvenna::prova {

// The line table's text as its file holds it.
using corvenna::testo_righe;

// A line of 1000000 m, the longest route: the built-in scenario's general section with the
// route length set to 1000000 m, then a curve in every kilometre, alternating hand and class,
// and a gradient change every 2 km.
inline std::string testo_linea_1000km() {
    std::string testo = "[generale]\r\nlunghezza percorso,  1000000\r\n";
    for (const std::string_view riga : righe_linea) {
        if (riga == "[curve]")
            break;
        if (riga != "[generale]" && riga.find("lunghezza") == std::string_view::npos)
            testo += in_1252(riga) + "\r\n";
    }
    testo += "[curve]\r\n";
    for (int km = 0; km < 1000; ++km) {
        const char mano = km % 2 == 0 ? 's' : 'd';
        const int classe = 2 + km % 4;
        testo += "curva" + std::string(1, mano) + std::to_string(classe) + ",  " +
                 std::to_string(km * 1000 + 300) + ",  600\r\n";
    }
    testo += "[pendenze]\r\n";
    for (int km = 0; km < 1000; km += 2)
        testo += "pendenza,  " + std::to_string(km * 1000) + ",  " + std::to_string(km % 19 - 9) +
                 "\r\n";
    testo += "[fine]\r\n";
    return testo;
}

// The finished model of the two descriptions, as "Corvenna" train "7381". Throws when the build
// does not succeed.
inline costruzione compila_scenario(const std::string& linea, const std::string& treno,
                                    std::int32_t genera_planimetria) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea;
    sorgente.testi[descrizione::treno] = treno;
    scenario_costruito s = costruisci_scenario(sorgente, {"Corvenna", "7381"}, genera_planimetria);
    if (!s.riuscito())
        throw std::runtime_error("the build failed with code " + std::to_string(s.c.codice_errore));
    return std::move(s.c);
}

// Built once per program.
inline const costruzione& scenario_incorporato() {
    static const costruzione c =
        compila_scenario(testo_righe(righe_linea), testo_righe(righe_treno), 1);
    return c;
}
inline const costruzione& scenario_1000km() {
    static const costruzione c =
        compila_scenario(testo_linea_1000km(), testo_righe(righe_treno), 1);
    return c;
}

} // namespace corvenna::prova
