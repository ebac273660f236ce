#pragma once

// The dry run on the page: the speed of the model's run against distance over the train's
// limits (the cells' speeds, slowdowns included), each section's margin over the model's
// minimum, and the distant signals whose braking distance runs past their main signal, marked.
// One SVG over the whole route, at the width of the plan and the profile, with its own styles.

#include "model/costruzione.hpp"
#include "running/marcia_treno.hpp"

#include <string>

namespace corvenna {

// Appends the section "Marcia a vuoto" to the page's HTML.
void scrivi_sezione_marcia(std::string& u, const costruzione& c, const esito_marcia& e,
                           double larghezza);

} // namespace corvenna
