#include "platform/sorveglianza.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace corvenna::piattaforma {

namespace {

// The write end of the pipe the Ctrl-C handler wakes the wait through: a signal handler may
// only write to a descriptor.
volatile std::sig_atomic_t descrittore_interruzione = -1;

extern "C" void su_interruzione(int) {
    const int salvato = errno;
    const char c = 'i';
    if (descrittore_interruzione >= 0) {
        const ssize_t n = ::write(descrittore_interruzione, &c, 1);
        static_cast<void>(n);
    }
    errno = salvato;
}

// How long a save's burst of events may keep coming before the wait ends: an editor's save is
// a write, a close, perhaps a rename, within a few milliseconds.
constexpr int quiete_ms = 60;

// What a watched folder's watch reports: its files saved, and its own rename or removal.
constexpr std::uint32_t maschera_cartella =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVE_SELF | IN_DELETE_SELF | IN_MASK_ADD;
// What the watch of a folder above a gone one reports: an entry made or renamed into it (the
// gone folder, or a folder on its path, come back), and its own rename or removal. A folder may
// be both, for two folders watched: the masks add up.
constexpr std::uint32_t maschera_antenato =
    IN_CREATE | IN_MOVED_TO | IN_MOVE_SELF | IN_DELETE_SELF | IN_ONLYDIR | IN_MASK_ADD;

} // namespace

struct sorveglianza_file::stato {
    struct cartella_sorvegliata {
        std::filesystem::path percorso;
        // The names of the files watched in it.
        std::set<std::string> nomi;
        // Its watch; -1 while its path leads to no folder.
        int wd = -1;
    };

    int inotify = -1;
    int tubo[2] = {-1, -1};
    std::vector<cartella_sorvegliata> cartelle;
    // The watches of the nearest existing folders above the gone ones.
    std::set<int> antenati;
    struct sigaction precedente {};

    // The watch of the nearest folder above `cartella` that exists. Throws errore_file naming
    // `cartella` when there is none that can be watched.
    int sorveglia_antenato(const std::filesystem::path& cartella) const {
        std::filesystem::path sotto = cartella;
        for (;;) {
            std::filesystem::path sopra = sotto.parent_path();
            if (sopra.empty())
                sopra = ".";
            if (sopra == sotto)
                throw errore_file(cartella, motivo_di_errno(ENOENT));
            const int w = ::inotify_add_watch(inotify, sopra.c_str(), maschera_antenato);
            if (w >= 0)
                return w;
            if (errno != ENOENT && errno != ENOTDIR)
                throw errore_file(cartella, motivo_di_errno(errno));
            sotto = sopra;
        }
    }

    // Watches again the path of each gone folder: the folder when it is back (returns true),
    // else the nearest folder above it. Watches of folders above that are no longer needed go.
    bool segui_percorsi() {
        bool tornata = false;
        std::set<int> nuovi_antenati;
        for (cartella_sorvegliata& c : cartelle) {
            if (c.wd >= 0)
                continue;
            c.wd = ::inotify_add_watch(inotify, c.percorso.c_str(), maschera_cartella | IN_ONLYDIR);
            if (c.wd >= 0) {
                tornata = true;
                continue;
            }
            nuovi_antenati.insert(sorveglia_antenato(c.percorso));
        }
        for (const int w : antenati) {
            bool usato = nuovi_antenati.contains(w);
            for (const cartella_sorvegliata& c : cartelle)
                usato = usato || c.wd == w;
            if (!usato)
                ::inotify_rm_watch(inotify, w);
        }
        antenati = std::move(nuovi_antenati);
        return tornata;
    }
};

sorveglianza_file::sorveglianza_file(const std::vector<std::filesystem::path>& file)
    : stato_(std::make_unique<stato>()) {
    stato_->inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (stato_->inotify < 0)
        throw errore_file(".", motivo_di_errno(errno));
    for (const std::filesystem::path& f : file) {
        const std::filesystem::path cartella = f.has_parent_path() ? f.parent_path() : ".";
        auto trovata = std::find_if(stato_->cartelle.begin(), stato_->cartelle.end(),
                                    [&](const auto& c) { return c.percorso == cartella; });
        if (trovata == stato_->cartelle.end()) {
            const int w = ::inotify_add_watch(stato_->inotify, cartella.c_str(),
                                              maschera_cartella | IN_ONLYDIR);
            if (w < 0) {
                const int e = errno;
                ::close(stato_->inotify);
                throw errore_file(cartella, motivo_di_errno(e));
            }
            stato_->cartelle.push_back({cartella, {}, w});
            trovata = std::prev(stato_->cartelle.end());
        }
        trovata->nomi.insert(f.filename().string());
    }
    if (::pipe2(stato_->tubo, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int e = errno;
        ::close(stato_->inotify);
        throw errore_file(".", motivo_di_errno(e));
    }
    descrittore_interruzione = stato_->tubo[1];
    struct sigaction azione {};
    azione.sa_handler = su_interruzione;
    sigemptyset(&azione.sa_mask);
    ::sigaction(SIGINT, &azione, &stato_->precedente);
}

sorveglianza_file::~sorveglianza_file() {
    ::sigaction(SIGINT, &stato_->precedente, nullptr);
    descrittore_interruzione = -1;
    ::close(stato_->tubo[0]);
    ::close(stato_->tubo[1]);
    ::close(stato_->inotify);
}

sorveglianza_file::evento sorveglianza_file::attendi() {
    scomparse_.clear();
    bool salvato = false;
    for (;;) {
        pollfd attese[2] = {{stato_->inotify, POLLIN, 0}, {stato_->tubo[0], POLLIN, 0}};
        // Without a save yet: no limit. After one: only while its burst lasts.
        const int pronti = ::poll(attese, 2, salvato ? quiete_ms : -1);
        if (pronti < 0) {
            if (errno == EINTR)
                continue;
            return evento::interrotto;
        }
        if (pronti == 0)
            return evento::salvato;
        if (attese[1].revents != 0) {
            char c;
            while (::read(stato_->tubo[0], &c, 1) > 0) {
            }
            return evento::interrotto;
        }
        alignas(inotify_event) char buffer[8192];
        const ssize_t letti = ::read(stato_->inotify, buffer, sizeof buffer);
        // Whether a folder's path may lead elsewhere now: one gone, or an entry made above one.
        bool percorsi_cambiati = false;
        for (ssize_t p = 0; p < letti;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + p);
            p += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            // Events were lost: anything may have been saved, or moved.
            if ((e->mask & IN_Q_OVERFLOW) != 0) {
                salvato = true;
                percorsi_cambiati = true;
                continue;
            }
            for (stato::cartella_sorvegliata& c : stato_->cartelle) {
                if (c.wd != e->wd)
                    continue;
                if ((e->mask & (IN_MOVE_SELF | IN_DELETE_SELF | IN_IGNORED)) != 0) {
                    // Renamed, its watch would go on reporting a folder at another path.
                    ::inotify_rm_watch(stato_->inotify, c.wd);
                    c.wd = -1;
                    scomparse_.push_back(c.percorso);
                    percorsi_cambiati = true;
                } else if (e->len > 0 && c.nomi.contains(e->name)) {
                    salvato = true;
                }
            }
            percorsi_cambiati = percorsi_cambiati || stato_->antenati.contains(e->wd);
        }
        if (percorsi_cambiati && stato_->segui_percorsi())
            salvato = true;
        // A folder gone and back within one read was renamed over or made anew: a save.
        std::erase_if(scomparse_, [this](const std::filesystem::path& c) {
            for (const stato::cartella_sorvegliata& s : stato_->cartelle)
                if (s.percorso == c && s.wd >= 0)
                    return true;
            return false;
        });
        if (!scomparse_.empty())
            return evento::scomparsa;
    }
}

void pulisci_schermo() {
    if (::isatty(STDERR_FILENO))
        std::fputs("\x1b[2J\x1b[H", stderr);
}

} // namespace corvenna::piattaforma
