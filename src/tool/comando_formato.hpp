#pragma once

// `scenario formato [PAROLA] [--markdown]`: the reference of the description format, from the
// format's table. With a keyword (or a keyword field as written, "curvas4"), its values one a
// line with unit and range; with a section, the section and its keywords; with nothing, the
// whole reference. docs/formato.md is `scenario formato --markdown`.

#include "tool/comando.hpp"

#include <ostream>
#include <string>

namespace corvenna {

// Writes the reference asked for on `uscita`. A word that is no keyword and no section is a
// usage error: the message on `errori` suggests the nearest name (status uso_errato).
int esegui_formato(const std::string& parola, bool markdown, std::ostream& uscita,
                   std::ostream& errori);

void aggiungi_formato(CLI::App& app, azione_comando& azione);

} // namespace corvenna
