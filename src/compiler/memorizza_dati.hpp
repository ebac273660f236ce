#pragma once

namespace corvenna {

struct costruzione;
class sorgente_descrizioni;

// Compiles the line description and then the train description from `sorgente` onto the track
// model, deleting each once read. The outcome is in `codice_errore` and `posizione_errore`.
void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente);

} // namespace corvenna
