// The look at a user's files on POSIX systems: lstat and stat, and a read opened with
// O_NONBLOCK, so that opening a FIFO with no writer returns at once, and checked with fstat.

#include "platform/file_regolare.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvenna {

namespace {

// Closes the descriptor when the read ends, however it ends.
struct descrittore_aperto {
    int numero;
    ~descrittore_aperto() { ::close(numero); }
};

} // namespace

tipo_voce tipo_di_modo(unsigned long modo) {
    if (S_ISREG(modo))
        return tipo_voce::regolare;
    if (S_ISDIR(modo))
        return tipo_voce::cartella;
    if (S_ISLNK(modo))
        return tipo_voce::collegamento;
    if (S_ISFIFO(modo))
        return tipo_voce::fifo;
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return tipo_voce::dispositivo;
    if (S_ISSOCK(modo))
        return tipo_voce::socket;
    return tipo_voce::altro;
}

tipo_voce tipo_di_voce(const std::filesystem::path& percorso) {
    struct stat stato {};
    if (::lstat(percorso.c_str(), &stato) != 0) {
        if (errno == ENOENT)
            return tipo_voce::inesistente;
        throw errore_file(percorso, motivo_di_sistema(errno));
    }
    return tipo_di_modo(stato.st_mode);
}

std::optional<identita_file> identita_di(const std::filesystem::path& percorso) {
    struct stat stato {};
    if (::stat(percorso.c_str(), &stato) != 0)
        return std::nullopt;
    return identita_file{static_cast<std::uint64_t>(stato.st_dev),
                         static_cast<std::uint64_t>(stato.st_ino)};
}

std::string leggi_file_regolare(const std::filesystem::path& percorso, std::size_t massimo,
                                oltre_il_massimo oltre) {
    int numero;
    do {
        numero = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (numero < 0 && errno == EINTR);
    if (numero < 0) {
        const int codice = errno;
        // A socket cannot be opened at all: say what it is rather than the system's reason.
        struct stat stato {};
        if (::stat(percorso.c_str(), &stato) == 0 && !S_ISREG(stato.st_mode))
            throw errore_file(percorso, motivo_non_regolare(tipo_di_modo(stato.st_mode)));
        throw errore_file(percorso, motivo_di_sistema(codice));
    }
    const descrittore_aperto file{numero};
    struct stat stato {};
    if (::fstat(file.numero, &stato) != 0)
        throw errore_file(percorso, motivo_di_sistema(errno));
    if (!S_ISREG(stato.st_mode))
        throw errore_file(percorso, motivo_non_regolare(tipo_di_modo(stato.st_mode)));

    const bool rifiuta = oltre == oltre_il_massimo::rifiuta;
    if (rifiuta && static_cast<std::uint64_t>(stato.st_size) > massimo)
        throw errore_file(percorso,
                          motivo_troppo_grande(static_cast<std::uint64_t>(stato.st_size), massimo));

    std::string dati;
    if (stato.st_size > 0)
        dati.reserve(std::min(static_cast<std::size_t>(stato.st_size), massimo));
    // Refusing, one byte past the bound is read to tell a file that grew.
    const std::size_t da_leggere = rifiuta && massimo < SIZE_MAX ? massimo + 1 : massimo;
    char blocco[1 << 16];
    while (dati.size() < da_leggere) {
        const std::size_t quanti = std::min(sizeof blocco, da_leggere - dati.size());
        const ssize_t letti = ::read(file.numero, blocco, quanti);
        if (letti < 0) {
            if (errno == EINTR)
                continue;
            throw errore_file(percorso, motivo_di_sistema(errno));
        }
        if (letti == 0)
            break;
        dati.append(blocco, static_cast<std::size_t>(letti));
    }
    if (dati.size() > massimo)
        throw errore_file(percorso, motivo_troppo_grande(std::nullopt, massimo));
    return dati;
}

} // namespace corvenna
