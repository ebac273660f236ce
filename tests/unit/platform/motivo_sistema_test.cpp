#include "platform/motivo_sistema.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace corvenna {
namespace {

TEST(MotivoDiSistema, CommonFailuresAreToldInItalian) {
    struct caso {
        int codice;
        const char* motivo;
    };
    const std::vector<caso> casi = {
        {ENOSPC, "spazio esaurito sul disco"},
        {EACCES, "permesso negato"},
        {EPERM, "permesso negato"},
        {ENOENT, "file o cartella inesistente"},
        {ENAMETOOLONG, "nome troppo lungo"},
        {EFBIG, "file troppo grande (oltre il limite dei file del processo)"},
        {EEXIST, "esiste gia'"},
        {EROFS, "file system in sola lettura"},
        {EIO, "errore di ingresso/uscita del dispositivo"},
        {EISDIR, "e' una cartella"},
        {ENOMEM, "memoria insufficiente"},
        {ELOOP, "troppi livelli di collegamenti simbolici"},
    };
    for (const caso& c : casi) {
        EXPECT_EQ(motivo_di_errno(c.codice), c.motivo) << c.codice;
        EXPECT_EQ(motivo_di_errore(std::make_error_code(static_cast<std::errc>(c.codice))),
                  c.motivo)
            << c.codice;
#ifndef _WIN32
        // On POSIX systems the system's codes are errno's.
        EXPECT_EQ(motivo_di_sistema(c.codice), c.motivo) << c.codice;
        EXPECT_EQ(motivo_di_errore(std::error_code(c.codice, std::system_category())), c.motivo)
            << c.codice;
#endif
    }
}

TEST(MotivoDiSistema, AnyOtherFailureKeepsTheSystemsText) {
    EXPECT_EQ(motivo_di_errno(EXDEV), std::generic_category().message(EXDEV));
    EXPECT_FALSE(motivo_di_errno(EXDEV).empty());
}

} // namespace
} // namespace corvenna
