#pragma once

// Replacement of a file at a path, with the standard library alone. The new content goes to a
// temporary file in the same directory, created only where no file of that name exists, and
// renamed over the target once it is complete: a failure never destroys or truncates the
// earlier file, and leaves no temporary file behind.
//
// It neither flushes the new content to the storage nor holds the directory: it suits a
// directory that only this process writes (tests, scratch files). The programs write through
// the locked directory of a run (cartella_bloccata in the app layer), which adds both.

#include <filesystem>
#include <functional>
#include <ostream>

namespace corvenna {

// Writes the file at `destinazione` with what `scrivi` puts on the stream (opened in binary
// mode). Throws errore_file, naming the target and the reason, when any step fails; the
// target then holds what it held before.
void sostituisci_file(const std::filesystem::path& destinazione,
                      const std::function<void(std::ostream&)>& scrivi);

} // namespace corvenna
