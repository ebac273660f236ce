#include "platform/sorveglianza.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

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

} // namespace

struct sorveglianza_file::stato {
    int inotify = -1;
    int tubo[2] = {-1, -1};
    // The folders watched and the names of the files watched in each.
    std::map<int, std::set<std::string>> nomi;
    struct sigaction precedente {};
};

sorveglianza_file::sorveglianza_file(const std::vector<std::filesystem::path>& file)
    : stato_(std::make_unique<stato>()) {
    stato_->inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (stato_->inotify < 0)
        throw errore_file(".", motivo_di_errno(errno));
    std::map<std::string, int> cartelle;
    for (const std::filesystem::path& f : file) {
        const std::filesystem::path cartella = f.has_parent_path() ? f.parent_path() : ".";
        auto trovata = cartelle.find(cartella.string());
        if (trovata == cartelle.end()) {
            const int w = ::inotify_add_watch(stato_->inotify, cartella.c_str(),
                                              IN_CLOSE_WRITE | IN_MOVED_TO);
            if (w < 0) {
                const int e = errno;
                ::close(stato_->inotify);
                throw errore_file(cartella, motivo_di_errno(e));
            }
            trovata = cartelle.emplace(cartella.string(), w).first;
        }
        stato_->nomi[trovata->second].insert(f.filename().string());
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
        for (ssize_t p = 0; p < letti;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + p);
            const auto nomi = stato_->nomi.find(e->wd);
            if (e->len > 0 && nomi != stato_->nomi.end() && nomi->second.contains(e->name))
                salvato = true;
            p += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
}

void pulisci_schermo() {
    if (::isatty(STDERR_FILENO))
        std::fputs("\x1b[2J\x1b[H", stderr);
}

} // namespace corvenna::piattaforma
