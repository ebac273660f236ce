#pragma once

// The description line behind each feature of a drawing made straight from the two
// descriptions. The lines are found as the compile finds them: by the keyword in the first
// field and the position in the second, turned into the cell or the metre the compile puts the
// feature on. Stations are the train description's station lines in order, as the items are.

#include "drawing/disegno_origini.hpp"

#include <string>

namespace corvenna {

// `linea` and `treno`: the descriptions' Windows-1252 text, as compiled.
origini_disegno origini_descrizioni(const std::string& linea, const std::string& treno);

} // namespace corvenna
