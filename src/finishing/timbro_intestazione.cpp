#include "finishing/timbro_intestazione.hpp"

#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"

#include <cstdint>

namespace corvenna {

int timbra_intestazione(costruzione& c) {
    // Without a cell 1 there is nowhere to put the stamp: refused like an occupied field.
    if (c.celle.size() < 2)
        return codice::timbro_occupato;
    voce& scenario = c.voci[voce_scenario];
    cella& prima = c.celle[1];
    if (scenario.i1 != 0 || prima.dato1 != 0)
        return codice::timbro_occupato;
    scenario.i1 = timbro_voce;
    prima.dato1 = timbro_cella;
    // The scenario codes go to these two fields next: the description must have left them free.
    if (scenario.orario != 0 || prima.dato2 != 0)
        return codice::codici_occupati;
    return 0;
}

} // namespace corvenna
