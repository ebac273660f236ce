#pragma once

// The lock that orders the runs in one directory. Two runs started at the same moment in one
// directory (a double click) would otherwise share the intermediate description files and the
// temporaries, and one could delete what the other is still reading. While a blocco_cartella
// lives, another that is taken on the same directory waits until it is released.
//
// The lock leaves nothing in the directory: a run leaves exactly the files it writes. It is
// released when the object is destroyed and, by the system, when the process ends in any way.
//
// On Linux a run holds two locks, taken in this order: a name derived from the directory's
// identity (device and inode), bound as an abstract local socket, which needs no right on the
// directory at all; and an flock on the directory itself where the directory can be opened
// for reading, which also orders runs in other network namespaces or on other machines sharing
// the directory. On Windows, a named mutex derived from the directory's identity on its volume.
// A run never goes on unlocked: when neither lock can be taken it stops.

#include <cstdint>
#include <filesystem>

namespace corvenna {

class blocco_cartella {
  public:
    // Waits until no other run holds the directory, then holds it. `maniglia` is the system's
    // handle of the directory, open (a descriptor on POSIX systems, which may be an O_PATH
    // one; a HANDLE on Windows); `cartella` its path, for messages. Throws errore_file, naming
    // the directory, when no lock can be taken.
    blocco_cartella(const std::filesystem::path& cartella, std::intptr_t maniglia);
    ~blocco_cartella();

    blocco_cartella(const blocco_cartella&) = delete;
    blocco_cartella& operator=(const blocco_cartella&) = delete;

  private:
    static constexpr std::intptr_t nessuna_maniglia = -1;
    // The system's handles of the locks held: on POSIX systems the descriptor of the directory
    // opened for the flock and the socket bound to the directory's name; on Windows the mutex.
    std::intptr_t blocco_ = nessuna_maniglia;
    std::intptr_t nome_ = nessuna_maniglia;
};

} // namespace corvenna
