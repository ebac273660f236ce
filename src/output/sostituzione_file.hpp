#pragma once

// Replacement of an output file. The new content goes to a temporary file in the same
// directory, which is renamed over the target only once it is complete: a failed run never
// destroys or truncates the earlier file, and leaves no temporary file behind.

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
