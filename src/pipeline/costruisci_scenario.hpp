#pragma once

// The build as one function: the two descriptions in, the finished model and what went wrong
// out. It reads the descriptions only through the source it is given and writes no file.

#include "base/descrizione.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/diagnostica.hpp"
#include "model/costruzione.hpp"
#include "model/identita_scenario.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// A line of one of the descriptions, numbered from 1.
struct riga_descrizione {
    descrizione file = descrizione::linea;
    int riga = 0;
    friend bool operator==(const riga_descrizione&, const riga_descrizione&) = default;
};

// A stretch's line with the start metre it gives.
struct tratto_descritto {
    std::int32_t inizio = 0;
    riga_descrizione riga;
};

// The description lines behind the model's features, as the compile recorded them while it
// placed each one: whoever names a feature's line (the page's tooltips, ispeziona's sources)
// reads them here rather than compiling the descriptions again.
struct righe_sorgente {
    // Per cell: the line that placed its kind (a signal, a board, a stop, a slowdown, a tunnel
    // marker); none for the cells no line placed, the finishing pass's own among them.
    std::vector<std::optional<riga_descrizione>> celle;
    // Per station, in the order of the items (item 1 first).
    std::vector<riga_descrizione> stazioni;
    // The mountain stretches and the curves, in the order of their lines.
    std::vector<tratto_descritto> montagne;
    std::vector<tratto_descritto> curve;
};

struct scenario_costruito {
    costruzione c;
    // 0, or the number of the failed header check (1250, 1251).
    int errore_intestazione = 0;
    // Errors and warnings, in the order the build found them.
    elenco_diagnostiche diagnostiche;
    // The line of each feature, as far as the compile went.
    righe_sorgente righe;

    // True when the model may be written out as a sound scenario.
    bool riuscito() const {
        return c.celle_create() && c.codice_errore == 0 && errore_intestazione == 0;
    }
};

// Whether a build that reads the curves also computes the plan view's points (see
// costruzione::punti_planimetria): a diagnosis that never draws nor writes the plan leaves them.
enum class punti_della_planimetria { calcolati, tralasciati };

scenario_costruito
costruisci_scenario(sorgente_descrizioni& sorgente, const identita_scenario& identita,
                    std::int32_t genera_planimetria,
                    punti_della_planimetria punti = punti_della_planimetria::calcolati);

} // namespace corvenna
