#pragma once

// `scenario spiega [CODICE|NOME]`: what a diagnostic means, the smallest descriptions that give
// it and how to mend them. An error is named by its code ("15") or its name, a warning by its
// name ("riga-ripetuta", as printed between brackets). Without a word, the list of every kind.

#include "tool/comando.hpp"

#include <ostream>
#include <string>

namespace corvenna {

// Writes the explanation on `uscita`. A word that names no kind is a usage error: the message
// on `errori` suggests the nearest code or name (status uso_errato).
int esegui_spiega(const std::string& parola, std::ostream& uscita, std::ostream& errori);

void aggiungi_spiega(CLI::App& app, azione_comando& azione);

} // namespace corvenna
