#pragma once

// Counts the bytes the benchmark program holds through operator new, so a benchmark can report
// the largest amount its work held at one moment.

#include <cstddef>

namespace corvenna::banco {

// Starts a new measurement: the peak becomes what is held now.
void azzera_picco();

// The most bytes held at one moment since azzera_picco, less what was held then.
std::size_t picco_dall_azzeramento();

} // namespace corvenna::banco
