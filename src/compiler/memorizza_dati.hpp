#pragma once

namespace corvenna {

struct costruzione;
class sorgente_descrizioni;
class registro_compilazione;

// Compiles the line description and then the train description from `sorgente` onto the track
// model, deleting each once read. The outcome is in `codice_errore` and `posizione_errore`; the
// diagnostics, and which description line placed the feature of each cell, go to `reg`.
void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente, registro_compilazione& reg);

// The same, keeping no diagnostics.
void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente);

} // namespace corvenna
