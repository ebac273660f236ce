#pragma once

// The compile's diagnostics as the editor takes them: each a range in UTF-16 units of the
// document's lines, a severity, the same code (an error's number, a warning's name) and message
// (as UTF-8) as `controlla --diagnostica json` gives, and the related places as locations.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"
#include "editor/risposte_lsp.hpp"

#include <functional>
#include <string>
#include <string_view>

namespace corvenna {

// The UTF-8 text of a description (to place columns) and its URI, for each of the pair.
struct luogo_documento {
    std::string uri;
    std::string testo;
};
using documento_di = std::function<const luogo_documento&(descrizione)>;

// The range of line `riga` (from 1; 0 for no line) from column `colonna` to `colonna_fine`
// (characters from 1; 0 for not known): an unknown end reaches to the end of the field that
// starts there, an unknown column covers the line's first character.
intervallo_testo intervallo_colonne(std::string_view testo, int riga, int colonna,
                                    int colonna_fine);

// One diagnostic as the editor shows it. `testo` is the text of the document it is published
// for.
diagnostica_lsp in_diagnostica_lsp(const diagnostica& d, std::string_view testo,
                                   const documento_di& documento);

// The editor's edit of a fix: the exact columns [colonna, colonna_fine) of its line.
modifica_testo modifica_correzione(std::string_view testo, const correzione& c);

} // namespace corvenna
