#pragma once

// A scenario is two files in one folder, `NOME_linea.txt` and `NOME_NUMERO-.txt`: editing
// either one changes what the other compiles to, so the server diagnoses them together. Here
// are the names and the pairing.

#include "base/descrizione.hpp"
#include "model/identita_scenario.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// Which description a file name is and the identity it carries; the line's name carries no
// train number.
struct nome_descrizione {
    descrizione tipo = descrizione::linea;
    identita_scenario identita;
};

std::optional<nome_descrizione> riconosci_nome(std::string_view nome_file);

// The folder part of a path ("" for a bare name) and the name part.
std::string_view cartella_di(std::string_view percorso);
std::string_view nome_di(std::string_view percorso);

// The paths of both files of the pair `percorso` belongs to, or std::nullopt when its name is
// not one of a pair. For a line description, its train is the first by name among
// `candidati` (names in the same folder: the open documents' and the folder's entries); `treno`
// is empty when there is none.
struct coppia_scenario {
    std::string linea;
    std::string treno;
    identita_scenario identita;
};
std::optional<coppia_scenario> coppia_di(const std::string& percorso,
                                         const std::vector<std::string>& candidati);

} // namespace corvenna
