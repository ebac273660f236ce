#pragma once

// Small description fixtures for the compiler tests: texts joined with CR LF, compiled from
// memory.

#include "compiler/memorizza_dati.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "model/costruzione.hpp"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna::prova {

inline std::string testo(std::initializer_list<std::string_view> righe) {
    std::string t;
    for (std::string_view riga : righe) {
        t += riga;
        t += "\r\n";
    }
    return t;
}

// A line description of `lunghezza` metres with the given lines after the general section.
inline std::string linea(std::initializer_list<std::string_view> righe,
                         std::string_view lunghezza = "10000") {
    std::string t = testo({"[generale]"}) + "lunghezza percorso,  " + std::string(lunghezza) +
                    "\r\n" + testo({"[righe]"}) + testo(righe) + testo({"[fine]"});
    return t;
}

inline std::string treno(std::initializer_list<std::string_view> righe) {
    return testo({"[generale]"}) + testo(righe) + testo({"[fine]"});
}

struct risultato {
    costruzione c;
    sorgente_memoria sorgente;
};

// Compiles the two texts (a missing text is a description that does not exist) with the plan
// view on.
inline risultato compila(std::optional<std::string> testo_linea,
                         std::optional<std::string> testo_treno = treno({})) {
    risultato r;
    r.c.nome_scenario = "Corvenna";
    r.c.numero_treno = "7381";
    r.c.genera_planimetria = 1;
    if (testo_linea)
        r.sorgente.testi[descrizione::linea] = *testo_linea;
    if (testo_treno)
        r.sorgente.testi[descrizione::treno] = *testo_treno;
    memorizza_dati(r.c, r.sorgente);
    return r;
}

} // namespace corvenna::prova
