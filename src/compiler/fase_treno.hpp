#pragma once

#include "compiler/compilazione.hpp"

namespace corvenna {

// The train phase of the compile: reads the train description, fills the speed limits and the
// adhesion of every cell, the train settings, stations, "abbattimento" points, signals and
// slowdowns, deletes the description and checks the kilometric systems.
esito_fase compila_treno(compilazione& k);

} // namespace corvenna
