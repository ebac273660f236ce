#pragma once

// The compile's diagnostics as the editor takes them: each a range in UTF-16 units of the
// document's lines, a severity, the same code (an error's number, a warning's name) and message
// (as UTF-8) as `controlla --diagnostica json` gives, and the related places as locations.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"

#include <nlohmann/json.hpp>

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

// The LSP range of line `riga` (from 1; 0 for no line) from column `colonna` to `colonna_fine`
// (characters from 1; 0 for not known): an unknown end reaches to the end of the field that
// starts there, an unknown column covers the line's first character.
nlohmann::json intervallo_lsp(std::string_view testo, int riga, int colonna, int colonna_fine);

// One Diagnostic. `testo` is the text of the document it is published for.
nlohmann::json diagnostica_lsp(const diagnostica& d, std::string_view testo,
                               const documento_di& documento);

} // namespace corvenna
