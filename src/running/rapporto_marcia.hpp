#pragma once

// The dry run as the command gives it: a text table per section with the whole line and the
// signals whose margin is short (the speed profile on request); one JSON object
// (docs/schemi/marcia.schema.json): "modello" (the model used, its emergency deceleration
// always written), "tratte", "totale", "segnali", "profilo" (every 10 m); or one CSV table.
// Names are converted from Windows-1252 to UTF-8; `a_capo` ends every line.

#include "running/marcia_treno.hpp"

#include <ostream>
#include <string_view>

namespace corvenna {

enum class tabella_marcia { tratte, segnali, profilo };

void scrivi_marcia_testo(std::ostream& uscita, const costruzione& c, const esito_marcia& e,
                         bool con_profilo, std::string_view a_capo);
void scrivi_marcia_json(std::ostream& uscita, const esito_marcia& e, std::string_view a_capo);
void scrivi_marcia_csv(std::ostream& uscita, const costruzione& c, const esito_marcia& e,
                       tabella_marcia tabella, std::string_view a_capo);

// One line that names the model and its figures: "locomotiva: 560 t, 337 m, 160 km/h, ...".
std::string descrizione_modello(const esito_marcia& e);

} // namespace corvenna
