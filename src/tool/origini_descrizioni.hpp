#pragma once

// The description line behind each feature of a drawing made straight from the two
// descriptions, taken from the lines the compile recorded while it placed the features
// (righe_sorgente), in the shape the page looks them up by.

#include "drawing/disegno_origini.hpp"
#include "pipeline/costruisci_scenario.hpp"

namespace corvenna {

// Point features by their cell, stations in item order, mountain stretches by the metre of
// their first cell, curves by the start metre their line gives.
origini_disegno origini_descrizioni(const righe_sorgente& righe);

} // namespace corvenna
