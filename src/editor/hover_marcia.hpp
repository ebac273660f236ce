#pragma once

// The dry run in a hover: on a station row's time fields, its section's minimum, lower bound and
// margin; anywhere on a signal row, the braking distance from it when it is a distant signal.
// The figures come from the compiled pair (the program that runs the server computes them).

#include "editor/campi_riga.hpp"
#include "editor/risposte_documento.hpp"

#include <string>

namespace corvenna {

// The paragraph to add to the hover of field `indice` of row `r` on line `riga` (from 0), with
// its leading blank line; empty when the dry run has nothing to say there.
std::string hover_marcia(const riga_letta& r, int indice, int riga,
                         const compilazione_coppia& compilata);

} // namespace corvenna
