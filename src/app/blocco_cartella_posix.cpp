// The directory lock on POSIX systems: an exclusive flock on a descriptor of the directory
// itself, so no lock file is created. The system drops the lock when the descriptor closes,
// which also happens when the process ends without unwinding.

#include "app/blocco_cartella.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace corvenna {

blocco_cartella::blocco_cartella(const std::filesystem::path& cartella) {
    int descrittore;
    do {
        descrittore = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (descrittore < 0 && errno == EINTR);
    if (descrittore < 0)
        return;
    int esito;
    do {
        esito = ::flock(descrittore, LOCK_EX);
    } while (esito != 0 && errno == EINTR);
    if (esito != 0) {
        ::close(descrittore);
        return;
    }
    maniglia_ = descrittore;
}

blocco_cartella::~blocco_cartella() {
    if (attivo())
        ::close(static_cast<int>(maniglia_));
}

} // namespace corvenna
