#pragma once

// A compiled scenario as one JSON object, for an author to read or a script to check
// (docs/schemi/ispeziona.schema.json):
//
//   "scenario"     identity, dimensions and train settings, with units in the names, and
//                  whether the scenario codes agree with the names they come from;
//   "progressive"  the kilometric systems: from which metre, the reading at metre 0, direction;
//   "stazioni"     each station at its position, with its platform, role ("fermata" with its
//                  time and stop point, or "transito") and driver's kilometre;
//   "curve"        each curve of the plan view (ispezione_curve.hpp); empty without one;
//   "tratti"       one object per 50 m cell: what binds the train there and what stands there
//                  (ispezione_risposte.hpp);
//   "planimetria"  null without a plan-view file; otherwise "metri", the arrays "x" and "y" in
//                  metres (one element per metre: null when empty) and "tipi", the runs of equal
//                  element kind ({"da", "a", "tipo": "intero" | "doppio" | "vuoto"}) of each axis;
//   "grezzo"       the stored records under their file names: "voci" (with each item's role) and
//                  "celle", for who needs the bytes.
//
// Names are converted from Windows-1252 to UTF-8. One record to a line; the object is written
// as it goes, so the plan view of a long line never exists as a JSON tree.

#include "inspect/ispezione_tratti.hpp"

#include <ostream>
#include <string_view>

namespace corvenna {

// `a_capo` ends every line.
// `fonti`, `curve`: the description line of each cell's feature and of each curve, when known.
void scrivi_json(std::ostream& uscita, const costruzione& c, std::string_view a_capo,
                 const fonti_celle& fonti = {}, const fonti_curve& curve = {});

} // namespace corvenna
