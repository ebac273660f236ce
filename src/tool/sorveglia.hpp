#pragma once

// `--watch`: a command run again on every save of the files it reads, the screen cleared before
// each run, until Ctrl-C. The wait is the system's notification of a save, never a poll.
// `scenario controlla --watch` checks again; `scenario disegna --watch` draws the page again.

#include "tool/comando_compila.hpp"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace corvenna {

// Runs `esegui` now and after each save of one of `file` (a save of any other file is not one).
// A file that cannot be read is told and the watch goes on; the next save may mend it. A run
// that returns the usage error ends the watch with it (no save can mend the command line).
// A watched folder renamed or removed is told, and the watch goes on on its path: the folder
// that comes back there, by a rename or made anew, runs the command again. Returns 0 when
// Ctrl-C ends the watch; throws errore_file (status 2) when the folders cannot be watched, or a
// gone folder's path no longer can.
int esegui_sorvegliando(const std::vector<std::filesystem::path>& file,
                        const std::function<int()>& esegui, std::ostream& errori);

// The check of `o` under the watch; 64 for a description read from standard input (it cannot
// be watched).
int controlla_sorvegliando(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori);

} // namespace corvenna
