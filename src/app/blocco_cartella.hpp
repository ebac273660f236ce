#pragma once

// The output directory of a run, held for the whole run. Two runs started at the same moment in
// one directory (a double click) would otherwise share the intermediate description files, and
// one could delete what the other is still reading. While a blocco_cartella lives, another run
// that takes one on the same directory waits until it is released.
//
// The lock leaves nothing in the directory: a run leaves exactly the files it writes. It is
// released when the object is destroyed and, by the system, when the process ends in any way.

#include <cstdint>
#include <filesystem>

namespace corvenna {

class blocco_cartella {
  public:
    // Waits until no other run holds `cartella`, then holds it. When the system offers no lock
    // for this directory (it cannot be opened, or its file system has no locks), the run goes on
    // without one: the lock only orders runs, and must never be the reason a run fails.
    explicit blocco_cartella(const std::filesystem::path& cartella);
    ~blocco_cartella();

    blocco_cartella(const blocco_cartella&) = delete;
    blocco_cartella& operator=(const blocco_cartella&) = delete;

    // True when the lock is held, false when the run goes on without one.
    bool attivo() const { return maniglia_ != nessuna_maniglia; }

  private:
    static constexpr std::intptr_t nessuna_maniglia = -1;
    // The system's handle of the lock: a file descriptor, or a mutex handle.
    std::intptr_t maniglia_ = nessuna_maniglia;
};

} // namespace corvenna
