// The locked directory's primitives on POSIX systems: one descriptor of the directory, every
// file call relative to it (openat, renameat, unlinkat), and the handlers of the signals that
// end a process, which remove the temporary being written.

#include "platform/primitive_file.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace corvenna {

namespace {

std::string motivo_sistema(int codice) {
    return motivo_di_sistema(codice);
}

// The temporaries being written, for the handlers of the signals that end a process: the
// directory's descriptor (-1 when there is none) and the names, each in a slot of its own (an
// empty name is a free slot). They change only while those signals are blocked. A set of files
// holds one slot per file; a temporary that finds no free slot is left to the next run's removal.
constexpr int posti_temporanei = 16;
volatile std::sig_atomic_t cartella_in_scrittura = -1;
char temporanei_in_scrittura[posti_temporanei][NAME_MAX + 1];

constexpr int segnali_di_fine[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void alla_fine_per_segnale(int segnale) {
    if (cartella_in_scrittura >= 0)
        for (const char* nome : temporanei_in_scrittura)
            if (nome[0] != '\0')
                ::unlinkat(cartella_in_scrittura, nome, 0);
    // Ends the process as the signal would have: it is delivered again once this handler
    // returns, now with the default action.
    ::signal(segnale, SIG_DFL);
    ::raise(segnale);
}

sigset_t insieme_di_fine() {
    sigset_t insieme;
    sigemptyset(&insieme);
    for (const int segnale : segnali_di_fine)
        sigaddset(&insieme, segnale);
    return insieme;
}

// Once per process. A signal that the process ignores (a run started with nohup) or handles
// itself keeps its disposition. SIGXFSZ is ignored, so that a write past the file size limit
// fails with EFBIG like any other failed write.
void installa_gestori() {
    static bool installati = false;
    if (installati)
        return;
    installati = true;
    ::signal(SIGXFSZ, SIG_IGN);
    for (const int segnale : segnali_di_fine) {
        struct sigaction attuale {};
        if (::sigaction(segnale, nullptr, &attuale) != 0 || attuale.sa_handler != SIG_DFL)
            continue;
        struct sigaction gestore {};
        gestore.sa_handler = alla_fine_per_segnale;
        gestore.sa_mask = insieme_di_fine();
        ::sigaction(segnale, &gestore, nullptr);
    }
}

int apri_cartella(const std::filesystem::path& cartella, int modo) {
    int descrittore;
    do {
        descrittore = ::open(cartella.c_str(), modo | O_DIRECTORY | O_CLOEXEC);
    } while (descrittore < 0 && errno == EINTR);
    return descrittore;
}

int sincronizza_file(int file) {
    int esito;
    do {
        esito = ::fsync(file);
    } while (esito != 0 && errno == EINTR);
    return esito == 0 ? 0 : errno;
}

class primitive_posix final : public primitive_file {
  public:
    explicit primitive_posix(const std::filesystem::path& cartella) {
        descrittore_ = apri_cartella(cartella, O_RDONLY);
        leggibile_ = descrittore_ >= 0;
#ifdef O_PATH
        // A directory that may be written but not read: its descriptor then only leads to its
        // files.
        if (descrittore_ < 0 && errno == EACCES)
            descrittore_ = apri_cartella(cartella, O_PATH);
#endif
        if (descrittore_ < 0)
            throw errore_file(cartella, motivo_sistema(errno));
    }
    ~primitive_posix() override {
        ::close(descrittore_);
    }

    primitive_posix(const primitive_posix&) = delete;
    primitive_posix& operator=(const primitive_posix&) = delete;

    std::intptr_t maniglia() const override {
        return descrittore_;
    }

    std::filesystem::path nome_di_sistema(std::string_view nome) const override {
        return std::filesystem::path(nome);
    }
    std::string testo_del_nome(const std::filesystem::path& nome) const override {
        return nome.native();
    }

    std::string motivo(int codice) const override {
        return motivo_sistema(codice);
    }
    bool non_trovato(int codice) const override {
        return codice == ENOENT;
    }
    bool da_ritentare(int codice) const override {
        return codice == EEXIST || codice == EINTR;
    }
    unsigned long processo() const override {
        return static_cast<unsigned long>(::getpid());
    }

    int crea_esclusivo(const std::filesystem::path& nome, maniglia_file& file) override {
        file = ::openat(descrittore_, nome.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        return file < 0 ? errno : 0;
    }

    // Never waiting, as every open of a run that holds the lock: a FIFO put in place of a file
    // reads as empty, or fails, instead of stopping the run and those queued behind it.
    int apri_in_lettura(const std::filesystem::path& nome, maniglia_file& file) override {
        int descrittore;
        do {
            descrittore =
                ::openat(descrittore_, nome.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        } while (descrittore < 0 && errno == EINTR);
        file = descrittore;
        return descrittore < 0 ? errno : 0;
    }

    apertura_propria apri_proprio(const std::filesystem::path& nome, maniglia_file& file) override {
        int descrittore;
        do {
            descrittore = ::openat(descrittore_, nome.c_str(),
                                   O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        } while (descrittore < 0 && errno == EINTR);
        struct stat stato {};
        if (descrittore < 0) {
            const int codice = errno;
            // A link (ELOOP), a socket (ENXIO) and the like are said by what they are, and a
            // record of another user that this one may not read by whose it is.
            if (::fstatat(descrittore_, nome.c_str(), &stato, AT_SYMLINK_NOFOLLOW) == 0 &&
                (!S_ISREG(stato.st_mode) || stato.st_uid != ::geteuid()))
                return {0, tipo_di_modo(stato.st_mode), stato.st_uid != ::geteuid()};
            return {codice};
        }
        if (::fstat(descrittore, &stato) != 0) {
            const int codice = errno;
            ::close(descrittore);
            return {codice};
        }
        const tipo_voce tipo = tipo_di_modo(stato.st_mode);
        const bool altrui = stato.st_uid != ::geteuid();
        if (tipo != tipo_voce::regolare || altrui) {
            ::close(descrittore);
            return {0, tipo, altrui};
        }
        // The reads that follow wait for the data as on any regular file.
        file = descrittore;
        return {};
    }

    int scrivi(maniglia_file file, const char* dati, std::size_t quanti) override {
        while (quanti > 0) {
            const ssize_t scritti = ::write(static_cast<int>(file), dati, quanti);
            if (scritti < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            dati += scritti;
            quanti -= static_cast<std::size_t>(scritti);
        }
        return 0;
    }

    int leggi(maniglia_file file, char* dati, std::size_t quanti, std::size_t& letti) override {
        for (;;) {
            const ssize_t esito = ::read(static_cast<int>(file), dati, quanti);
            if (esito >= 0) {
                letti = static_cast<std::size_t>(esito);
                return 0;
            }
            if (errno != EINTR)
                return errno;
        }
    }

    int svuota(maniglia_file file) override {
        return sincronizza_file(static_cast<int>(file));
    }

    // An interrupted close has closed the descriptor all the same.
    int chiudi(maniglia_file file) override {
        return ::close(static_cast<int>(file)) != 0 && errno != EINTR ? errno : 0;
    }

    int rinomina(const std::filesystem::path& da, const std::filesystem::path& a,
                 persistenza) override {
        return ::renameat(descrittore_, da.c_str(), descrittore_, a.c_str()) != 0 ? errno : 0;
    }

    int rimuovi(const std::filesystem::path& nome) override {
        return ::unlinkat(descrittore_, nome.c_str(), 0) != 0 ? errno : 0;
    }

    int cerca(const std::filesystem::path& nome) override {
        struct stat stato {};
        return ::fstatat(descrittore_, nome.c_str(), &stato, 0) != 0 ? errno : 0;
    }

    bool e_cartella(const std::filesystem::path& nome) override {
        struct stat stato {};
        return ::fstatat(descrittore_, nome.c_str(), &stato, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISDIR(stato.st_mode);
    }

    // Every entry of the directory, when it can be read.
    std::vector<std::filesystem::path> elenca() override {
        std::vector<std::filesystem::path> voci;
        if (!leggibile_)
            return voci;
        // A descriptor of its own: the listing moves the position of the one it reads.
        const int copia = ::openat(descrittore_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (copia < 0)
            return voci;
        DIR* elenco = ::fdopendir(copia);
        if (elenco == nullptr) {
            ::close(copia);
            return voci;
        }
        while (const dirent* voce = ::readdir(elenco))
            voci.emplace_back(voce->d_name);
        ::closedir(elenco);
        return voci;
    }

    int sincronizza_cartella(const std::filesystem::path& ultimo_durevole) override {
        if (leggibile_) {
            const int codice = sincronizza_file(descrittore_);
            // A file system that cannot flush a directory has nothing to flush there.
            return codice == EINVAL || codice == ENOTSUP ? 0 : codice;
        }
        // The descriptor of a directory that cannot be read flushes nothing: the whole file
        // system that holds the last file written is flushed instead.
        int codice = 0;
        const int file =
            ::openat(descrittore_, ultimo_durevole.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
#ifdef __linux__
        if (file >= 0 && ::syncfs(file) != 0)
            codice = errno;
        if (file < 0)
            ::sync();
#else
        ::sync();
#endif
        if (file >= 0)
            ::close(file);
        return codice;
    }

    void prepara_segnali() override {
        installa_gestori();
    }

    void trattieni_segnali() override {
        const sigset_t insieme = insieme_di_fine();
        ::pthread_sigmask(SIG_BLOCK, &insieme, &prima_);
    }
    void rilascia_segnali() override {
        ::pthread_sigmask(SIG_SETMASK, &prima_, nullptr);
    }

    void segna_temporaneo(const std::filesystem::path& nome) override {
        for (char* posto : temporanei_in_scrittura)
            if (posto[0] == '\0') {
                // The name fits: the system has just created a file with it.
                std::memcpy(posto, nome.c_str(), nome.native().size() + 1);
                cartella_in_scrittura = descrittore_;
                return;
            }
    }
    void dimentica_temporaneo(const std::filesystem::path& nome) override {
        bool altri = false;
        for (char* posto : temporanei_in_scrittura) {
            if (nome.native() == posto)
                posto[0] = '\0';
            altri = altri || posto[0] != '\0';
        }
        if (!altri)
            cartella_in_scrittura = -1;
    }

  private:
    int descrittore_;
    // Whether the descriptor allows listing and flushing the directory.
    bool leggibile_ = false;
    // The signal mask before trattieni_segnali.
    sigset_t prima_{};
};

} // namespace

std::unique_ptr<primitive_file> apri_primitive_file(const std::filesystem::path& cartella) {
    return std::make_unique<primitive_posix>(cartella);
}

} // namespace corvenna
