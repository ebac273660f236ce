#pragma once

// The build's outcome as its diagnostics: a failed build always has an error among them.

#include "diagnostics/diagnostica.hpp"
#include "pipeline/costruisci_scenario.hpp"

namespace corvenna {

// The build's diagnostics, with one error added for an outcome that none of them reports, so a
// failed build never prints "0 errori". The build's list is moved out of `s`, which keeps an
// empty one.
elenco_diagnostiche completa_diagnostiche(scenario_costruito& s);

} // namespace corvenna
