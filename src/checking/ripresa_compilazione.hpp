#pragma once

// The compile stops at its first error. To report the faults after it, the checking pass
// compiles again, each time without the rows whose errors ended the earlier run, until a run
// ends with no error of a row: every later error is reported once, the compile's own included.
// A row the pass found broken (short of values, a keyword read out of a comment) is read as the
// compile reads it until a run stops at or past it, so that the code it causes on a later row
// is told at that row; then it goes with the error's row. A fault that only follows from an
// earlier one (the train stopped by a position refused in the line) is not told again.

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
