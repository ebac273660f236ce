#pragma once

// The compile's diagnostics as the editor takes them: each a range in UTF-16 units of the
// document's lines, a severity, the same code (an error's number, a warning's name) and message
// (as UTF-8) as `controlla --diagnostica json` gives, and the related places as locations.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"
#include "diagnostics/indice_righe.hpp"
#include "editor/risposte_lsp.hpp"

#include <functional>
#include <string>
#include <string_view>

namespace corvenna {

// The UTF-8 text of a description (to place columns) and its URI, for each of the pair, with
// where its lines start, found once: a thousand diagnostics on a text of megabytes each find
// their line in one step. Call indicizza() once the text is in place, and move it no more.
struct luogo_documento {
    std::string uri;
    std::string testo;
    indice_righe righe;

    void indicizza() { righe = indicizza_righe(testo); }
    // Line `riga` (from 1) without its line end; empty when there is none.
    std::string_view riga(int riga) const { return riga_indicizzata(righe, riga); }
};
using documento_di = std::function<const luogo_documento&(descrizione)>;

// The range of line `riga` (from 1; 0 for no line) of `doc` from column `colonna` to
// `colonna_fine` (characters from 1; 0 for not known): an unknown end reaches to the end of the
// field that starts there, an unknown column covers the line's first character.
intervallo_testo intervallo_colonne(const luogo_documento& doc, int riga, int colonna,
                                    int colonna_fine);

// One diagnostic as the editor shows it, in the document `doc` it is published for.
diagnostica_lsp in_diagnostica_lsp(const diagnostica& d, const luogo_documento& doc,
                                   const documento_di& documento);

// The editor's edit of a fix in `doc`: the exact columns [colonna, colonna_fine) of its line.
modifica_testo modifica_correzione(const luogo_documento& doc, const correzione& c);

} // namespace corvenna
