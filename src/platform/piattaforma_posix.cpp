// The platform layer on Linux and other POSIX systems: a console program that reports on
// standard error.

#include "platform/piattaforma.hpp"

#include "base/stato_uscita.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace corvenna::piattaforma {

std::filesystem::path cartella_programma() {
    std::error_code errore;
    const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", errore);
    if (errore)
        throw std::filesystem::filesystem_error("cartella del programma", "/proc/self/exe", errore);
    return eseguibile.parent_path();
}

void mostra_attesa() {
    std::fputs("Attendere\n", stderr);
    std::fflush(stderr);
}

void chiudi_attesa() {}

void errore(std::string_view a) {
    const std::string testo = " Errore n. " + std::string(a) + "\n";
    std::fputs(testo.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(stato_uscita::errori_descrizioni);
}

void segnala(std::string_view messaggio) {
    const std::string testo = std::string(messaggio) + "\n";
    std::fputs(testo.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace corvenna::piattaforma
