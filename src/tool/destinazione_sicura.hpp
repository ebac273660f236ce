#pragma once

// The files a command is to write, checked before anything is read or written: a user's output
// file is written only in place of a regular file or under a free name, and never in place of a
// file the same command reads, under whatever name or link it is reached.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

namespace corvenna {

// The user chose an output that must not be written. The message names it and says why; the
// exit status is that of a command line not understood, since the choice is the user's.
class errore_destinazione : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The name that means standard output in place of an output file.
inline const std::filesystem::path uscita_standard = "-";

// The first of `letti` that `scritto` is the same file as, by its identity (device and file
// number, or volume and index), not its name; std::nullopt when none is, or `scritto` does not
// exist.
std::optional<std::filesystem::path>
stesso_file_di(const std::filesystem::path& scritto,
               const std::vector<std::filesystem::path>& letti);

// Throws errore_destinazione, naming `destinazione` as the option `opzione` gave it, when it is
// anything but a regular file or a free name (a link, even one that leads nowhere, a FIFO, a
// device, a socket, a directory), or when it is one of `letti`. Throws errore_file when it
// cannot be looked at.
void controlla_destinazione(const std::filesystem::path& destinazione, const char* opzione,
                            const std::vector<std::filesystem::path>& letti);

} // namespace corvenna
