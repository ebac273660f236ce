// The locked directory of a run on POSIX systems: one descriptor of the directory, and every
// file operation relative to it.

#include "platform/cartella_bloccata.hpp"

#include "platform/flusso_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "base/errore_file.hpp"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ostream>
#include <pthread.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace corvenna {

namespace {

std::string motivo_sistema(int codice) {
    return std::generic_category().message(codice);
}

// The temporary being written, for the handlers of the signals that end a process: the
// directory's descriptor (-1 when there is none) and the name. Both change only while those
// signals are blocked.
volatile std::sig_atomic_t cartella_in_scrittura = -1;
char temporaneo_in_scrittura[NAME_MAX + 1];

constexpr int segnali_di_fine[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void alla_fine_per_segnale(int segnale) {
    if (cartella_in_scrittura >= 0)
        ::unlinkat(cartella_in_scrittura, temporaneo_in_scrittura, 0);
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
// itself keeps its disposition.
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

// The ending signals held back for the life of the object: a temporary is created and
// recorded, or renamed and forgotten, as one step.
class segnali_trattenuti {
  public:
    segnali_trattenuti() {
        const sigset_t insieme = insieme_di_fine();
        ::pthread_sigmask(SIG_BLOCK, &insieme, &prima_);
    }
    ~segnali_trattenuti() { ::pthread_sigmask(SIG_SETMASK, &prima_, nullptr); }
    segnali_trattenuti(const segnali_trattenuti&) = delete;
    segnali_trattenuti& operator=(const segnali_trattenuti&) = delete;

  private:
    sigset_t prima_;
};

int apri_cartella(const std::filesystem::path& cartella, int modo) {
    int descrittore;
    do {
        descrittore = ::open(cartella.c_str(), modo | O_DIRECTORY | O_CLOEXEC);
    } while (descrittore < 0 && errno == EINTR);
    return descrittore;
}

// Writes all of a block; 0, or the reason of the failure.
int scrivi_tutto(int file, const char* dati, std::size_t quanti) {
    while (quanti > 0) {
        const ssize_t scritti = ::write(file, dati, quanti);
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

int sincronizza_file(int file) {
    int esito;
    do {
        esito = ::fsync(file);
    } while (esito != 0 && errno == EINTR);
    return esito == 0 ? 0 : errno;
}

void verifica_nome(const std::string& nome, const std::filesystem::path& percorso) {
    if (!nome_semplice(nome))
        throw errore_file(percorso, "nome di file non valido");
}

} // namespace

cartella_bloccata::cartella_bloccata(const std::filesystem::path& cartella) : cartella_(cartella) {
    int descrittore = apri_cartella(cartella, O_RDONLY);
    leggibile_ = descrittore >= 0;
#ifdef O_PATH
    // A directory that may be written but not read: its descriptor then only leads to its files.
    if (descrittore < 0 && errno == EACCES)
        descrittore = apri_cartella(cartella, O_PATH);
#endif
    if (descrittore < 0)
        throw errore_file(cartella, motivo_sistema(errno));
    maniglia_ = descrittore;
    try {
        blocco_ = std::make_unique<blocco_cartella>(cartella, maniglia_);
    } catch (...) {
        ::close(descrittore);
        throw;
    }
    installa_gestori();
}

cartella_bloccata::~cartella_bloccata() {
    try {
        sincronizza();
    } catch (const errore_file&) {
        // Reported only where the run asks for it; here the run is already failing.
    }
    blocco_.reset();
    ::close(static_cast<int>(maniglia_));
}

std::filesystem::path cartella_bloccata::percorso(const std::string& nome) const {
    return cartella_ / nome;
}

void cartella_bloccata::sostituisci(const std::string& nome, const scrittura_file& scrivi,
                                    persistenza durata) {
    const std::filesystem::path destinazione = percorso(nome);
    verifica_nome(nome, destinazione);
    const int cartella = static_cast<int>(maniglia_);

    // Created exclusively and never through a link: a name already taken, by anything, is
    // skipped for the next one.
    std::string temporaneo;
    int file = -1;
    {
        const segnali_trattenuti trattenuti;
        constexpr int tentativi = 100;
        for (int tentativo = 1; file < 0; ++tentativo) {
            temporaneo =
                nome_temporaneo(nome, static_cast<unsigned long>(::getpid()), progressivo_++);
            file = ::openat(cartella, temporaneo.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            const int codice = errno;
            if (file < 0 && ((codice != EEXIST && codice != EINTR) || tentativo == tentativi))
                throw errore_file(destinazione, motivo_sistema(codice));
        }
        // The name fits: the system has just created a file with it.
        std::memcpy(temporaneo_in_scrittura, temporaneo.c_str(), temporaneo.size() + 1);
        cartella_in_scrittura = cartella;
    }
    auto abbandona = [&] {
        const segnali_trattenuti trattenuti;
        ::unlinkat(cartella, temporaneo.c_str(), 0);
        cartella_in_scrittura = -1;
    };

    std::string motivo;
    {
        flusso_file buffer([file](const char* dati, std::size_t quanti) {
            return scrivi_tutto(file, dati, quanti);
        });
        std::ostream uscita(&buffer);
        try {
            scrivi(uscita);
            uscita.flush();
        } catch (const errore_file&) {
            ::close(file);
            abbandona();
            throw;
        } catch (const std::exception& e) {
            motivo = e.what();
        }
        if (motivo.empty() && !uscita)
            motivo = buffer.errore() != 0 ? motivo_sistema(buffer.errore()) : "scrittura fallita";
    }
    if (motivo.empty() && durata == persistenza::durevole) {
        if (const int codice = sincronizza_file(file); codice != 0)
            motivo = motivo_sistema(codice);
    }
    // Some file systems report a failed write only when the file closes.
    if (::close(file) != 0 && motivo.empty() && errno != EINTR)
        motivo = motivo_sistema(errno);
    if (!motivo.empty()) {
        abbandona();
        throw errore_file(destinazione, motivo);
    }

    int codice = 0;
    {
        const segnali_trattenuti trattenuti;
        if (::renameat(cartella, temporaneo.c_str(), cartella, nome.c_str()) != 0) {
            codice = errno;
            ::unlinkat(cartella, temporaneo.c_str(), 0);
        }
        cartella_in_scrittura = -1;
    }
    if (codice != 0)
        throw errore_file(destinazione, motivo_sistema(codice));
    if (durata == persistenza::durevole) {
        da_sincronizzare_ = true;
        ultimo_durevole_ = nome;
    }
}

void cartella_bloccata::sincronizza() {
    if (!da_sincronizzare_)
        return;
    da_sincronizzare_ = false;
    const int cartella = static_cast<int>(maniglia_);
    int codice = 0;
    if (leggibile_) {
        codice = sincronizza_file(cartella);
        // A file system that cannot flush a directory has nothing to flush there.
        if (codice == EINVAL || codice == ENOTSUP)
            codice = 0;
    } else {
        // The descriptor of a directory that cannot be read flushes nothing: the whole file
        // system that holds the last file written is flushed instead.
        const int file =
            ::openat(cartella, ultimo_durevole_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
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
    }
    if (codice != 0)
        throw errore_file(cartella_, motivo_sistema(codice));
}

void cartella_bloccata::rimuovi_temporanei(std::span<const std::string> nomi) {
    if (!leggibile_)
        return;
    const int cartella = static_cast<int>(maniglia_);
    // A descriptor of its own: the listing moves the position of the one it reads.
    const int copia = ::openat(cartella, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copia < 0)
        return;
    DIR* elenco = ::fdopendir(copia);
    if (elenco == nullptr) {
        ::close(copia);
        return;
    }
    std::vector<std::string> residui;
    while (const dirent* voce = ::readdir(elenco))
        for (const std::string& nome : nomi)
            if (temporaneo_di(voce->d_name, nome))
                residui.emplace_back(voce->d_name);
    ::closedir(elenco);
    // A directory of such a name is not ours and stays (the call fails for it).
    for (const std::string& residuo : residui)
        ::unlinkat(cartella, residuo.c_str(), 0);
}

bool cartella_bloccata::esiste(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    struct stat stato {};
    if (::fstatat(static_cast<int>(maniglia_), nome.c_str(), &stato, 0) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    throw errore_file(percorso(nome), motivo_sistema(errno));
}

std::optional<std::string> cartella_bloccata::leggi(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    int file;
    do {
        file = ::openat(static_cast<int>(maniglia_), nome.c_str(), O_RDONLY | O_CLOEXEC);
    } while (file < 0 && errno == EINTR);
    if (file < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw errore_file(percorso(nome), motivo_sistema(errno));
    }
    std::string testo;
    std::vector<char> blocco(std::size_t{1} << 16);
    for (;;) {
        const ssize_t letti = ::read(file, blocco.data(), blocco.size());
        if (letti == 0)
            break;
        if (letti < 0) {
            if (errno == EINTR)
                continue;
            const int codice = errno;
            ::close(file);
            throw errore_file(percorso(nome), motivo_sistema(codice));
        }
        testo.append(blocco.data(), static_cast<std::size_t>(letti));
    }
    ::close(file);
    return testo;
}

void cartella_bloccata::cancella(const std::string& nome) {
    verifica_nome(nome, percorso(nome));
    if (::unlinkat(static_cast<int>(maniglia_), nome.c_str(), 0) != 0 && errno != ENOENT)
        throw errore_file(percorso(nome), motivo_sistema(errno));
}

} // namespace corvenna
