#pragma once

// What the compile has to say about the descriptions it read: an error (the code that ended or
// spoiled the compile) or a warning (something the compile accepted but an author rarely means),
// each with the place in the description that caused it.

#include "base/descrizione.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

// Another place that explains a diagnostic: the row that placed what a later row overwrote, the
// other half of an overlap.
struct luogo_correlato {
    std::optional<descrizione> file;
    int riga = 0;
    int colonna = 0;
    std::string messaggio;
};

// A fix that is certain: the text that replaces columns [colonna, colonna_fine) of one line
// (equal columns insert), with a title that says what it does.
struct correzione {
    std::string titolo;
    std::optional<descrizione> file;
    int riga = 0;
    int colonna = 0;
    int colonna_fine = 0;
    std::string testo;
};

struct diagnostica {
    gravita livello = gravita::errore;
    // The description the place lies in; std::nullopt when the diagnostic has no place.
    std::optional<descrizione> file;
    // Line and column (from 1) of the field that caused it; 0 when not known.
    int riga = 0;
    int colonna = 0;
    // The column just past the field, on the same line; 0 when not known.
    int colonna_fine = 0;
    // The recorded code, for errors; 0 for warnings.
    std::int32_t codice = 0;
    // The kind of a warning, which names it (a warning made an error keeps it); std::nullopt
    // for errors.
    std::optional<tipo_avviso> tipo;
    std::string messaggio;
    // The position on the line, in metres, when the diagnostic has one.
    std::optional<std::int32_t> metri;
    std::vector<luogo_correlato> correlati;
    std::vector<correzione> correzioni;
    // How many more diagnostics of the same kind, after this one, the pass that recorded it
    // only counted, having kept enough of that kind (diagnostics/raccolta_diagnostiche.hpp).
    // Each counts as this one does and is never shown.
    std::size_t altre_uguali = 0;
};

// A deque: a junk description gives one diagnostic per line, and a vector that doubles would
// hold two copies of them all while it grows.
using elenco_diagnostiche = std::deque<diagnostica>;

} // namespace corvenna
