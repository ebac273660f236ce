#pragma once

// The writers of the scenario's five text files. Each writes its line table from the scenario's
// data into `cartella`, replaced whole, and leaves in `indice` the slot at which writing stopped.

#include "base/cartella_uscita.hpp"
#include "scenario/documenti_scenario.hpp"

namespace corvenna {

struct costruzione;

// Into the directory `cartella` of a run, as `durata` says: the generator writes the two
// descriptions, which its build deletes again, as intermediate files.
void scrivi_documento(costruzione& c, cartella_uscita& cartella, const documento_scenario& d,
                      persistenza durata);

// Each document alone, durably.
void dati_linea(costruzione& c, cartella_uscita& cartella);
void dati_treno(costruzione& c, cartella_uscita& cartella);
void dati_note(costruzione& c, cartella_uscita& cartella);
void dati_rallentamenti(costruzione& c, cartella_uscita& cartella);
void dati_scheda(costruzione& c, cartella_uscita& cartella);

} // namespace corvenna
