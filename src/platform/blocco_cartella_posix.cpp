// The directory lock on POSIX systems: a name derived from the directory's identity, bound as
// an abstract local socket (Linux), then an exclusive flock on a descriptor of the directory
// itself where it can be opened for reading. Neither creates a file, and the system drops both
// when their descriptors close, which also happens when the process ends without unwinding.

#include "platform/blocco_cartella.hpp"
#include "platform/motivo_sistema.hpp"

#include "base/errore_file.hpp"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace corvenna {

namespace {

void chiudi(int descrittore) {
    if (descrittore >= 0)
        ::close(descrittore);
}

#ifdef __linux__

// The socket name of a directory: the same for every path that leads to it.
std::string nome_cartella(const struct stat& stato) {
    char testo[80];
    std::snprintf(testo, sizeof testo, "genera_scenario.cartella.%llx.%llx",
                  static_cast<unsigned long long>(stato.st_dev),
                  static_cast<unsigned long long>(stato.st_ino));
    return testo;
}

// Waits for a run that holds the name: a connection to its socket ends when the socket
// closes. When there is nothing to connect to (the holder has just bound the name and does not
// listen yet, or has just closed), a short pause before the next try.
void attendi_detentore(const sockaddr_un& indirizzo, socklen_t lunghezza) {
    const int connessione = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connessione >= 0 &&
        ::connect(connessione, reinterpret_cast<const sockaddr*>(&indirizzo), lunghezza) == 0) {
        // Nothing is ever sent: the read ends when the connection does.
        char byte;
        for (;;) {
            const ssize_t letti = ::read(connessione, &byte, 1);
            if (letti == 0 || (letti < 0 && errno != EINTR))
                break;
        }
    } else {
        const timespec pausa{0, 10'000'000};
        ::nanosleep(&pausa, nullptr);
    }
    chiudi(connessione);
}

// The socket bound to the directory's name, once no other run holds it; -1 with `errore` set
// when the system offers no such socket.
int prendi_nome(int cartella, int& errore) {
    struct stat stato {};
    if (::fstat(cartella, &stato) != 0) {
        errore = errno;
        return -1;
    }
    const std::string nome = nome_cartella(stato);
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    // An abstract name: a NUL byte first, and no file in any directory.
    std::memcpy(indirizzo.sun_path + 1, nome.data(), nome.size());
    const auto lunghezza =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + nome.size());
    for (;;) {
        const int presa = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (presa < 0) {
            errore = errno;
            return -1;
        }
        if (::bind(presa, reinterpret_cast<const sockaddr*>(&indirizzo), lunghezza) == 0) {
            // Listening lets the waiting runs connect and learn when this one ends.
            if (::listen(presa, SOMAXCONN) == 0)
                return presa;
            errore = errno;
            chiudi(presa);
            return -1;
        }
        errore = errno;
        chiudi(presa);
        if (errore != EADDRINUSE)
            return -1;
        attendi_detentore(indirizzo, lunghezza);
    }
}

#else

int prendi_nome(int, int& errore) {
    errore = ENOTSUP;
    return -1;
}

#endif

// A descriptor of the directory holding its flock, once no other run holds it; -1 with
// `errore` set when the directory cannot be opened for reading or its file system has no locks.
int prendi_flock(int cartella, int& errore) {
    int descrittore;
    do {
        descrittore = ::openat(cartella, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (descrittore < 0 && errno == EINTR);
    if (descrittore < 0) {
        errore = errno;
        return -1;
    }
    int esito;
    do {
        esito = ::flock(descrittore, LOCK_EX);
    } while (esito != 0 && errno == EINTR);
    if (esito != 0) {
        errore = errno;
        chiudi(descrittore);
        return -1;
    }
    return descrittore;
}

} // namespace

blocco_cartella::blocco_cartella(const std::filesystem::path& cartella, std::intptr_t maniglia) {
    const int descrittore = static_cast<int>(maniglia);
    int errore_nome = 0;
    int errore_flock = 0;
    // Always in this order, so that no run holds the flock while it waits for the name.
    nome_ = prendi_nome(descrittore, errore_nome);
    blocco_ = prendi_flock(descrittore, errore_flock);
    if (nome_ == nessuna_maniglia && blocco_ == nessuna_maniglia)
        throw errore_file(cartella,
                          "la cartella non si puo' bloccare: " + motivo_di_errno(errore_flock));
}

blocco_cartella::~blocco_cartella() {
    chiudi(static_cast<int>(blocco_));
    chiudi(static_cast<int>(nome_));
}

} // namespace corvenna
