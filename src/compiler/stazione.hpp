#pragma once

#include "compiler/compilazione.hpp"

#include <optional>

namespace corvenna {

class lettore_descrizione;

// Reads a station line into item `numero` and puts its platform, approach markers and stop
// cell onto the cells. std::nullopt when the compile goes on; `fuori` is set when the station
// failed the range check, which ends only the reading of the train description. On success
// `numero` is the item number for the next station.
std::optional<esito_fase> compila_stazione(compilazione& k, lettore_descrizione& r,
                                           std::int32_t& numero, bool& fuori);

} // namespace corvenna
