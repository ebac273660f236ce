#pragma once

// The dry run's findings as diagnostics of the descriptions, for `controlla`, `compila` and the
// language server: at the time fields of a station row, a section whose timetable no train
// keeps (orario-impossibile: below the lower bound, needs no model), and with a model one the
// model does not keep (orario-irrealizzabile) or keeps with less than 3 % (margine-scarso); at a
// distant signal's row, a main signal too close to stop before it (frenatura-insufficiente).
// All warnings: the reading of the station times is ours.

#include "diagnostics/diagnostica.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "running/marcia_treno.hpp"

#include <string>
#include <string_view>

namespace corvenna {

// `linea` and `treno`: the two descriptions as compiled (Windows-1252), to find the fields.
// Nothing for a scenario that did not compile.
elenco_diagnostiche diagnostiche_marcia(const scenario_costruito& s, std::string_view linea,
                                        std::string_view treno, const modello_treno* modello);

// What the dry run says of the row on line `riga` of description `d`, in one paragraph: for a
// station row that ends a section, the section's scheduled time, the model's minimum, the lower
// bound and the margin; for a distant signal's row, its braking distance and margin. Empty for
// any other row and for a scenario that did not compile.
std::string testo_marcia_riga(const scenario_costruito& s, const modello_treno& modello,
                              descrizione d, int riga);

// `nuove` added to `tutte`, and the whole in file order (line description first, then by line
// and column), as the checking pass orders its own.
void aggiungi_in_ordine(elenco_diagnostiche& tutte, elenco_diagnostiche nuove);

// Where a station row's time stands: the columns of its hours field and just past its seconds
// field, on line `riga` of `testo`; none when the row does not read as a station.
struct campo_orario {
    int colonna = 0;
    int colonna_fine = 0;
};
std::optional<campo_orario> campo_orario_stazione(std::string_view testo, int riga);

// Where the position field of the row on line `riga` begins and ends.
std::optional<campo_orario> campo_posizione(std::string_view testo, int riga);

// "123 s", "330.1 s", "1.5 %": the figures of the messages, the table and the hover.
std::string secondi_testo(double s);
std::string percento_testo(double p);

} // namespace corvenna
