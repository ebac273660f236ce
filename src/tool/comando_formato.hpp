#pragma once

// `scenario formato [PAROLA] [--markdown]`: the reference of the description format, from the
// format's table. With a keyword (or a keyword field as written, "curvas4"), its values one a
// line with unit and range; with a section, the section and its keywords; with nothing, the
// whole reference. docs/formato.md is `scenario formato --markdown`.

#include "tool/comando.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace corvenna {

// Writes the reference asked for on `uscita`. A word that an author would try for a keyword
// ("galleria", "orario") gives what it is and the keywords it leads to. A word that names
// nothing of the format is a usage error: the message on `errori` suggests the nearest name (status
// uso_errato).
int esegui_formato(const std::string& parola, bool markdown, std::ostream& uscita,
                   std::ostream& errori);

// The words `formato` takes, once each: every keyword, every word that leads to one ("galleria"),
// every section without its brackets.
std::vector<std::string> nomi_formato();

void aggiungi_formato(CLI::App& app, azione_comando& azione);

} // namespace corvenna
