#pragma once

#include "compiler/compilazione.hpp"

namespace corvenna {

class lettore_descrizione;

// Reads a station line into item `numero` and puts its platform, approach markers and stop
// cell onto the cells. `fuori_tracciato` when the station failed the range check, which ends
// only the reading of the train description. On success (`prosegui`) `numero` is the item
// number for the next station.
esito_riga compila_stazione(compilazione& k, lettore_descrizione& r, std::int32_t& numero);

} // namespace corvenna
