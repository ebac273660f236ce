#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Compiles the line description and then the train description in `cartella` onto the track
// model, deleting each once read. The outcome is in `codice_errore` and `posizione_errore`.
void memorizza_dati(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
