#include "pipeline/esito_costruzione.hpp"

#include "diagnostics/tipi_diagnostica.hpp"
#include "model/codici_errore.hpp"

#include <algorithm>
#include <string>
#include <utility>

namespace corvenna {

elenco_diagnostiche completa_diagnostiche(scenario_costruito& s) {
    // Taken, not copied: a description of junk has a diagnostic a line.
    elenco_diagnostiche diagnostiche = std::move(s.diagnostiche);
    s.diagnostiche.clear();
    const bool ha_errore =
        std::any_of(diagnostiche.begin(), diagnostiche.end(),
                    [](const diagnostica& d) { return d.livello == gravita::errore; });
    if (s.riuscito() || ha_errore)
        return diagnostiche;
    diagnostica d;
    d.codice = s.errore_intestazione != 0 ? s.errore_intestazione
               : s.c.codice_errore != 0   ? s.c.codice_errore
                                          : codice::lettura_fallita;
    d.messaggio = s.errore_intestazione != 0 ? "i campi dell'intestazione sono gia' occupati"
                                             : std::string(testo_codice(d.codice));
    if (s.errore_intestazione == 0 && codice_con_posizione(d.codice))
        d.metri = s.c.posizione_errore;
    diagnostiche.push_back(d);
    return diagnostiche;
}

} // namespace corvenna
