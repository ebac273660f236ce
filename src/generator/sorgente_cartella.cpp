#include "generator/sorgente_cartella.hpp"
#include "platform/motivo_sistema.hpp"

#include <cerrno>
#include <system_error>

namespace corvenna {

bool sorgente_cartella::esiste(descrizione d) const {
    try {
        return cartella_.esiste(nome_file(d));
    } catch (const errore_file& e) {
        registra(e);
        return false;
    }
}

std::optional<std::string> sorgente_cartella::leggi(descrizione d) const {
    try {
        std::optional<std::string> testo = cartella_.leggi(nome_file(d));
        // The run wrote it moments ago: a description that is gone went by another hand.
        if (!testo)
            registra(errore_file(cartella_.percorso(nome_file(d)), motivo_di_errno(ENOENT)));
        return testo;
    } catch (const errore_file& e) {
        registra(e);
        return std::nullopt;
    }
}

bool sorgente_cartella::cancella(descrizione d) {
    try {
        cartella_.cancella(nome_file(d));
        return true;
    } catch (const errore_file& e) {
        registra(e);
        return false;
    }
}

} // namespace corvenna
