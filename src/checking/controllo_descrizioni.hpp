#pragma once

// The checking pass as one function: the compile's own diagnostics in, every error and warning
// of both descriptions out, in file order. The compile is not changed by it: its diagnostics are
// all kept (its first error's code and position always), de-duplicated against what the pass
// finds, and only a few of its warnings give way to the pass's sharper ones at the same place (a
// short row told at the row's end, a wrapped value told in the author's units, an unknown
// keyword told with the nearest known one).

#include "diagnostics/diagnostica.hpp"

#include <cstdint>
#include <string>

namespace corvenna {

elenco_diagnostiche controlla_descrizioni(const std::string& linea, const std::string& treno,
                                          std::int32_t genera_planimetria,
                                          elenco_diagnostiche della_compilazione);

} // namespace corvenna
