#pragma once

// Certain fixes for warnings the compile gives, found from the description's text: a rounded
// value written as the value the compile keeps, a setting given twice with its earlier line
// (which does not count) emptied. Each fix leaves the compiled scenario as it was, so applying
// it silences the warning without changing a byte; where the kept value is not certain (a
// position halfway between two cells rounds one way for a stretch and the other for a point
// feature) there is no fix.

#include "diagnostics/diagnostica.hpp"

#include <string_view>

namespace corvenna {

// Adds the fixes to the compile's warnings in `diagnostiche`, and the end column of the value
// they name. `linea` and `treno` are the texts the compile read.
void aggiungi_correzioni_certe(elenco_diagnostiche& diagnostiche, std::string_view linea,
                               std::string_view treno);

} // namespace corvenna
