#pragma once

// The writers of the scenario's five text files. Each writes its line table from the scenario's
// data into `cartella`, through the file replacement routine, and leaves in `indice` the slot at
// which writing stopped.

#include "output/cartella_uscita.hpp"
#include "scenario/documenti_scenario.hpp"

#include <filesystem>

namespace corvenna {

struct costruzione;

// Into the directory `cartella` of a run, as `durata` says: the generator writes the two
// descriptions, which its build deletes again, as intermediate files.
void scrivi_documento(costruzione& c, cartella_uscita& cartella, const documento_scenario& d,
                      persistenza durata);

// Into the directory at `cartella`, through sostituisci_file.
void scrivi_documento(costruzione& c, const std::filesystem::path& cartella,
                      const documento_scenario& d);

void dati_linea(costruzione& c, const std::filesystem::path& cartella);
void dati_treno(costruzione& c, const std::filesystem::path& cartella);
void dati_note(costruzione& c, const std::filesystem::path& cartella);
void dati_rallentamenti(costruzione& c, const std::filesystem::path& cartella);
void dati_scheda(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
