#include "platform/motivo_sistema.hpp"

#include <cerrno>
#include <optional>

namespace corvenna {

namespace {

std::optional<std::string> motivo_italiano(int codice) {
    switch (codice) {
    case ENOSPC:
        return "spazio esaurito sul disco";
    case EACCES:
    case EPERM:
        return "permesso negato";
    case ENOENT:
        return "file o cartella inesistente";
    case ENAMETOOLONG:
        return "nome troppo lungo";
    case EEXIST:
        return "esiste gia'";
    case EROFS:
        return "file system in sola lettura";
    case EIO:
        return "errore di ingresso/uscita del dispositivo";
    case EISDIR:
        return "e' una cartella";
    case ENOMEM:
        return "memoria insufficiente";
    case ELOOP:
        return "troppi livelli di collegamenti simbolici";
    case EFBIG:
        return "file troppo grande (oltre il limite dei file del processo)";
    default:
        return std::nullopt;
    }
}

} // namespace

std::string motivo_di_errno(int codice) {
    if (auto motivo = motivo_italiano(codice))
        return *motivo;
    return std::generic_category().message(codice);
}

std::string motivo_di_errore(const std::error_code& errore) {
    if (errore.category() == std::generic_category())
        return motivo_di_errno(errore.value());
    if (errore.category() == std::system_category())
        return motivo_di_sistema(errore.value());
    return errore.message();
}

} // namespace corvenna
