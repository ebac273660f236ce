#pragma once

// The diagnostics of a build as one JSON array, one object per diagnostic:
//
//   {"file": "Corvenna_linea.txt", "riga": 57, "colonna": 9, "gravita": "errore",
//    "codice": 15, "messaggio": "posizione 99500 oltre il percorso (88000 m)", "metri": 99500,
//    "nome": "fuori-tracciato", "numero": 15, "colonna_fine": 14,
//    "correlati": [], "correzioni": []}
//
// The first seven fields are the ones readers of earlier reports know and keep their meaning:
// `file` is the description's name to show (null for a diagnostic without a file), `riga` and
// `colonna` are null when not known, `codice` is the number for an error and the warning's
// stable name for a warning, `metri` is null without a position. The others hold one type
// each: `nome` is always the kind's stable name (an error's too), `numero` the error's code or
// null for a warning, `colonna_fine` the column just past the field or null; `correlati` lists
// the other places that explain it ({file, riga, colonna, messaggio}) and `correzioni` the
// certain fixes ({titolo, file, riga, colonna, colonna_fine, testo}: the text that replaces
// columns [colonna, colonna_fine) of that line). Messages, which may quote the descriptions'
// Windows-1252 bytes, are written as UTF-8; a byte that is not valid UTF-8 (in a file name)
// becomes U+FFFD, so the output is always valid JSON.

#include "diagnostics/diagnostica.hpp"
#include "diagnostics/limite_diagnostiche.hpp"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace corvenna {

// The stable name of an error's code ("codice-N" for a code the table does not have), and of
// a diagnostic's kind, warning or error.
std::string nome_di_codice(std::int32_t codice);
std::string nome_del_tipo(const diagnostica& d);

// `nome_linea` and `nome_treno` are the names to show for the two descriptions (UTF-8).
// `rientro` below 0 writes the array on one line; otherwise each level is indented by that many
// blanks.
std::string diagnostiche_json(const elenco_diagnostiche& elenco, std::string_view nome_linea,
                              std::string_view nome_treno, int rientro = -1);

// The same array written to `uscita` one object at a time, bounded by `limite`: the
// diagnostics it shows, each as above, then one object for each kind it left out, with the
// same fields (file, riga, colonna and metri null; codice the kind's; messaggio the line
// testo_tralasciate says) and "tralasciate", the number left out.
void scrivi_diagnostiche_json(std::ostream& uscita, const elenco_diagnostiche& elenco,
                              std::string_view nome_linea, std::string_view nome_treno,
                              limite_diagnostiche& limite, int rientro = -1);

} // namespace corvenna
