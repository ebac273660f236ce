#pragma once

// The compile stops at its first error. To report the faults after it, the checking pass
// compiles again, each time without the rows whose errors ended the earlier run (and without
// the rows it found broken), until a run ends with no error of a row: every later error is
// reported once, and a fault that only followed from an earlier one (a value taken from a row
// that was itself wrong, the train stopped by a position refused in the line) goes with it.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace corvenna {

// The diagnostics of the further runs that the first compile (`prima`) did not give. When the
// line description cannot be compiled at all (no route length, no [generale]), the train is
// compiled against a bare line of `lunghezza_percorso` metres (1000000 when unknown), and the
// line's diagnostics of those runs are left out.
elenco_diagnostiche riprendi_compilazione(const std::string& linea, const std::string& treno,
                                          std::int32_t genera_planimetria,
                                          const elenco_diagnostiche& prima,
                                          const std::map<descrizione, std::set<int>>& righe_guaste,
                                          std::optional<std::int32_t> lunghezza_percorso);

// Two diagnostics that say the same thing at the same place: same file, line, column and kind.
bool stessa_diagnostica(const diagnostica& a, const diagnostica& b);

} // namespace corvenna
