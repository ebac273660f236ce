#include "app/sorgente_cartella.hpp"

#include <fstream>
#include <iterator>
#include <system_error>

namespace corvenna {

bool sorgente_cartella::esiste(descrizione d) const {
    std::error_code errore;
    return std::filesystem::exists(percorso(d), errore);
}

std::optional<std::string> sorgente_cartella::leggi(descrizione d) const {
    std::ifstream ingresso(percorso(d), std::ios::binary);
    if (!ingresso)
        return std::nullopt;
    std::string testo((std::istreambuf_iterator<char>(ingresso)), std::istreambuf_iterator<char>());
    if (ingresso.bad())
        return std::nullopt;
    return testo;
}

bool sorgente_cartella::cancella(descrizione d) {
    std::error_code errore;
    std::filesystem::remove(percorso(d), errore);
    return !errore;
}

} // namespace corvenna
