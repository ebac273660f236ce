#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;
class sorgente_descrizioni;

// Compiles the line description and then the train description in `cartella` onto the track
// model, deleting each once read. The outcome is in `codice_errore` and `posizione_errore`.
void memorizza_dati(costruzione& c, const std::filesystem::path& cartella);

// The same, with the descriptions taken from `sorgente`.
void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente);

} // namespace corvenna
