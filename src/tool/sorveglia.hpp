#pragma once

// `scenario controlla --watch`: the check run again on every save of either description, the
// screen cleared before each run, until Ctrl-C. The wait is the system's notification of a save,
// never a poll.

#include "tool/comando_compila.hpp"

#include <iosfwd>

namespace corvenna {

// Runs the check now and after each save of `o.linea` or `o.treno` (a save of any other file is
// not one). A failure to read a description is shown and the watch goes on; the next save may
// mend it. Returns 0 when Ctrl-C ends the watch, 64 for a description read from standard input
// (it cannot be watched), 2 when the folders cannot be watched.
int controlla_sorvegliando(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori);

} // namespace corvenna
