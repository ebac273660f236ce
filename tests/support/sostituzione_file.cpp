#include "support/sostituzione_file.hpp"

#include "base/errore_file.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

namespace corvenna {

namespace {

// A name in the target's directory that no other writer uses at the same moment.
std::filesystem::path nome_temporaneo(const std::filesystem::path& destinazione) {
    static std::atomic<unsigned> progressivo{0};
    const auto istante = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path p = destinazione;
    p += ".tmp" + std::to_string(istante) + "-" + std::to_string(progressivo++);
    return p;
}

// Output, binary; where the library offers it (libstdc++ 12 and later, not on Windows, whose C
// library may refuse the mode) created exclusively, which needs no truncation: a new file is
// empty. Elsewhere an existing file would be truncated.
constexpr std::ios::openmode modo_temporaneo =
#if defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 12 && !defined(_WIN32)
    std::ios::binary | std::ios::out | std::ios::__noreplace;
#else
    std::ios::binary | std::ios::out | std::ios::trunc;
#endif

std::string motivo_sistema(int codice) {
    return std::generic_category().message(codice);
}

} // namespace

void sostituisci_file(const std::filesystem::path& destinazione,
                      const std::function<void(std::ostream&)>& scrivi) {
    std::filesystem::path temporaneo = nome_temporaneo(destinazione);
    auto rimuovi_temporaneo = [&] {
        std::error_code ignora;
        std::filesystem::remove(temporaneo, ignora);
    };

    {
        std::ofstream uscita;
        // A large buffer: the writers emit many small fields.
        constexpr std::size_t dimensione_buffer = 1 << 16;
        auto buffer = std::make_unique_for_overwrite<char[]>(dimensione_buffer);
        uscita.rdbuf()->pubsetbuf(buffer.get(), dimensione_buffer);
        // The temporary is created only where no file of its name exists (where the library
        // offers it): a name taken meanwhile, even by a link, is never opened; the next try
        // takes another name.
        constexpr int tentativi = 100;
        for (int tentativo = 1;; ++tentativo) {
            errno = 0;
            uscita.open(temporaneo, modo_temporaneo);
            if (uscita)
                break;
            const int codice = errno != 0 ? errno : EIO;
            if (codice != EEXIST || tentativo == tentativi)
                throw errore_file(destinazione, motivo_sistema(codice));
            uscita.clear();
            temporaneo = nome_temporaneo(destinazione);
        }
        // The reason of the first failed write: a failed stream makes no further system call,
        // so errno still holds it when the writer returns.
        errno = 0;
        try {
            scrivi(uscita);
        } catch (const errore_file&) {
            uscita.close();
            rimuovi_temporaneo();
            throw;
        } catch (const std::exception& e) {
            uscita.close();
            rimuovi_temporaneo();
            throw errore_file(destinazione, e.what());
        }
        int codice_scrittura = uscita ? 0 : errno;
        if (uscita) {
            errno = 0;
            uscita.flush();
            if (!uscita)
                codice_scrittura = errno;
        }
        errno = 0;
        uscita.close();
        if (!uscita) {
            if (codice_scrittura == 0)
                codice_scrittura = errno;
            rimuovi_temporaneo();
            throw errore_file(destinazione,
                              motivo_sistema(codice_scrittura != 0 ? codice_scrittura : EIO));
        }
    }

    std::error_code errore;
    std::filesystem::rename(temporaneo, destinazione, errore);
    if (errore) {
        rimuovi_temporaneo();
        throw errore_file(destinazione, errore.message());
    }
}

} // namespace corvenna
