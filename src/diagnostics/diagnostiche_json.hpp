#pragma once

// The diagnostics of a build as one JSON array, one object per diagnostic:
//
//   {"file": "Corvenna_linea.txt", "riga": 57, "colonna": 9, "gravita": "errore",
//    "codice": 15, "messaggio": "posizione 99500 oltre il percorso (88000 m)", "metri": 99500}
//
// `file` is the description's name to show (null for a diagnostic without a file), `riga` and
// `colonna` are null when not known, `codice` is the number for an error and the warning's
// stable name for a warning, `metri` is null without a position. Messages, which may quote the
// descriptions' Windows-1252 bytes, are written as UTF-8.

#include "diagnostics/diagnostica.hpp"

#include <string>
#include <string_view>

namespace corvenna {

// `nome_linea` and `nome_treno` are the names to show for the two descriptions (UTF-8).
// `rientro` below 0 writes the array on one line; otherwise each level is indented by that many
// blanks.
std::string diagnostiche_json(const elenco_diagnostiche& elenco, std::string_view nome_linea,
                              std::string_view nome_treno, int rientro = -1);

} // namespace corvenna
