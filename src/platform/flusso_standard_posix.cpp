#include "platform/flusso_standard.hpp"

#include <cerrno>
#include <unistd.h>

namespace corvenna::piattaforma {

void flussi_standard_binari() {}

std::size_t leggi_ingresso_standard(char* dati, std::size_t quanti) {
    for (;;) {
        const ssize_t letti = ::read(STDIN_FILENO, dati, quanti);
        if (letti >= 0)
            return static_cast<std::size_t>(letti);
        if (errno != EINTR)
            return 0;
    }
}

bool scrivi_uscita_standard(std::string_view dati) {
    while (!dati.empty()) {
        const ssize_t scritti = ::write(STDOUT_FILENO, dati.data(), dati.size());
        if (scritti < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        dati.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return true;
}

} // namespace corvenna::piattaforma
