#pragma once

// The build as one function: the two descriptions in, the finished model and what went wrong
// out. It reads the descriptions only through the source it is given and writes no file.

#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/diagnostica.hpp"
#include "model/costruzione.hpp"
#include "model/identita_scenario.hpp"

#include <cstdint>
#include <string>

namespace corvenna {

// Runs the build on `c`, whose identity and `genera_planimetria` the caller has set: resets the
// item table, compiles both descriptions from `sorgente`, then (when the cells exist) the
// finishing pass, the header stamp and the scenario codes. Returns 0, or 1250 / 1251 when the
// header check failed; the codes are then not stored. The compile's outcome is in
// `codice_errore` and `posizione_errore`.
int costruisci(costruzione& c, sorgente_descrizioni& sorgente);
// The same, with what the build has to say about the descriptions in `diagnostiche` (replacing
// what it held): every code it records, at the field that caused it, and every warning.
int costruisci(costruzione& c, sorgente_descrizioni& sorgente, elenco_diagnostiche& diagnostiche);

struct scenario_costruito {
    costruzione c;
    // 0, or the number of the failed header check (1250, 1251).
    int errore_intestazione = 0;
    // Errors and warnings, in the order the build found them.
    elenco_diagnostiche diagnostiche;

    // True when the model may be written out as a sound scenario.
    bool riuscito() const {
        return c.celle_create() && c.codice_errore == 0 && errore_intestazione == 0;
    }
};

scenario_costruito costruisci_scenario(sorgente_descrizioni& sorgente,
                                       const identita_scenario& identita,
                                       std::int32_t genera_planimetria);

} // namespace corvenna
