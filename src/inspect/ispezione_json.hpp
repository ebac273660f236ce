#pragma once

// A compiled scenario as one JSON object, for an author to read or a script to check:
//
//   "voci"        the 87 items, each with its number ("indice") and its fields in file order;
//   "celle"       one object per cell, with its number and its fields in file order;
//   "planimetria" null without a plan-view file; otherwise "metri", the arrays "x" and "y" (one
//                 element per metre: null when empty, the number otherwise) and "tipi", the runs
//                 of equal element kind ({"da", "a", "tipo": "intero" | "doppio" | "vuoto"}) of
//                 each axis, which keep an integer apart from a double;
//   "derivati"    what follows from those fields: the scenario's identity and dimensions, the
//                 scenario codes, each item's role, each station's stop cell and time of day,
//                 each cell's kind by name, speed in km/h and gradient in per mille.
//
// Names are converted from Windows-1252 to UTF-8. One record to a line; the object is written
// as it goes, so the plan view of a long line never exists as a JSON tree.

#include <ostream>
#include <string_view>

namespace corvenna {

struct costruzione;

// `a_capo` ends every line.
void scrivi_json(std::ostream& uscita, const costruzione& c, std::string_view a_capo);

} // namespace corvenna
