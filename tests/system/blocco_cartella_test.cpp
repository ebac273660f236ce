// The lock of a run's directory: held by the locked directory of a run, by another process and
// by the real program, in a directory that can be read and in one that can only be written.

#include "platform/cartella_bloccata.hpp"

#include "base/errore_file.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

// A child process that takes the lock on `cartella` and then writes one byte on a pipe; the
// test reads the pipe to learn whether the child holds the lock.
class concorrente {
  public:
    explicit concorrente(const fs::path& cartella) {
        int estremi[2];
        if (::pipe(estremi) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            // The child keeps only its pipe end: an inherited descriptor of a lock held by the
            // test would keep that lock alive after the test releases it.
            const int scrittura = estremi[1];
            ::close_range(3, static_cast<unsigned>(scrittura) - 1, 0);
            ::close_range(static_cast<unsigned>(scrittura) + 1, ~0u, 0);
            try {
                const cartella_bloccata cartella_figlio(cartella);
                const char preso = 'S';
                if (::write(scrittura, &preso, 1) != 1)
                    ::_exit(2);
            } catch (const errore_file&) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        ::close(estremi[1]);
        lettura_ = estremi[0];
    }
    ~concorrente() {
        ::close(lettura_);
        int stato;
        ::waitpid(pid_, &stato, 0);
    }

    // The byte the child wrote once it held the lock, or 0 when it has written nothing within
    // `attesa`.
    char preso(std::chrono::milliseconds attesa) {
        pollfd p{lettura_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(attesa.count())) <= 0)
            return 0;
        char c = 0;
        return ::read(lettura_, &c, 1) == 1 ? c : 0;
    }

  private:
    pid_t pid_ = -1;
    int lettura_ = -1;
};

TEST(BloccoCartella, AnotherProcessWaitsUntilTheHolderReleases) {
    cartella_temporanea cartella;
    auto blocco = std::make_unique<cartella_bloccata>(cartella.percorso());

    concorrente altro(cartella.percorso());
    // However long it waits, the other process cannot hold the lock while this one does.
    EXPECT_EQ(altro.preso(std::chrono::milliseconds(300)), 0);
    blocco.reset();
    EXPECT_EQ(altro.preso(std::chrono::minutes(1)), 'S');
}

TEST(BloccoCartella, LocksOfDifferentDirectoriesAreIndependent) {
    cartella_temporanea prima;
    cartella_temporanea seconda;
    const cartella_bloccata blocco(prima.percorso());
    concorrente altro(seconda.percorso());
    EXPECT_EQ(altro.preso(std::chrono::minutes(1)), 'S');
}

// Another path to the same directory leads to the same lock.
TEST(BloccoCartella, ALinkToTheDirectoryLeadsToTheSameLock) {
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso() / "cartella";
    fs::create_directory(cartella);
    fs::create_directory_symlink(cartella, radice.percorso() / "collegamento");
    auto blocco = std::make_unique<cartella_bloccata>(cartella);
    concorrente altro(radice.percorso() / "collegamento");
    EXPECT_EQ(altro.preso(std::chrono::milliseconds(300)), 0);
    blocco.reset();
    EXPECT_EQ(altro.preso(std::chrono::minutes(1)), 'S');
}

TEST(BloccoCartella, LeavesNothingInTheDirectory) {
    cartella_temporanea cartella;
    {
        const cartella_bloccata blocco(cartella.percorso());
        EXPECT_TRUE(fs::is_empty(cartella.percorso()));
    }
    EXPECT_TRUE(fs::is_empty(cartella.percorso()));
}

TEST(BloccoCartella, AMissingDirectoryStopsTheRunWithItsName) {
    cartella_temporanea cartella;
    const fs::path mancante = cartella.percorso() / "non_esiste";
    try {
        const cartella_bloccata blocco(mancante);
        FAIL() << "a missing directory was locked";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), mancante);
        EXPECT_EQ(e.motivo(), "file o cartella inesistente");
    }
    EXPECT_FALSE(fs::exists(mancante));
}

// The program in a directory of its own, ready to run.
struct banco_programma {
    cartella_temporanea radice;
    fs::path cartella = radice.percorso() / "programma";
    banco_programma() { installa_programma(cartella); }
};

// A second run started while the directory is held shows its wait notice at once, then waits
// without touching the directory, and does its work once the holder lets go.
TEST(BloccoCartella, AQueuedRunShowsTheWaitNoticeAndWritesNothingUntilReleased) {
    const contenuti& riferimento = scenario_di_riferimento();
    banco_programma b;

    auto blocco = std::make_unique<cartella_bloccata>(b.cartella);
    esecuzione run(b.cartella);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (run.messaggi().empty() && run.in_corso() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(run.messaggi(), "Attendere\n");
    // However long it is given, the run writes nothing while the directory is held.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(run.in_corso());
    EXPECT_EQ(residui(b.cartella), "");
    EXPECT_TRUE(leggi_cartella(b.cartella).empty());

    blocco.reset();
    const esito_esecuzione esito = run.attendi();
    EXPECT_EQ(esito.stato, 0) << esito.messaggi;
    EXPECT_EQ(esito.messaggi, "Attendere\n");
    EXPECT_EQ(leggi_cartella(b.cartella), riferimento);
}

// Runs started at the same moment in one directory, many times over: all succeed, and the
// directory ends with exactly the six files of an undisturbed run.
// `leggibile` opens the directory to the test's checks, when given, and closes it again after.
void esecuzioni_simultanee(const fs::path& cartella, int insieme, int ripetizioni,
                           const opzioni_esecuzione& opzioni,
                           const std::function<void(bool)>& leggibile = {}) {
    const contenuti& riferimento = scenario_di_riferimento();
    for (int giro = 0; giro < ripetizioni; ++giro) {
        SCOPED_TRACE("round " + std::to_string(giro));
        int partenza[2];
        ASSERT_EQ(::pipe2(partenza, O_CLOEXEC), 0);
        opzioni_esecuzione con_partenza = opzioni;
        con_partenza.attesa_partenza = partenza[0];
        std::vector<std::unique_ptr<esecuzione>> runs;
        for (int i = 0; i < insieme; ++i)
            runs.push_back(std::make_unique<esecuzione>(cartella, con_partenza));
        // One write releases every waiting child at once.
        const std::string via(static_cast<std::size_t>(insieme), 'x');
        ASSERT_EQ(::write(partenza[1], via.data(), via.size()), insieme);
        ::close(partenza[0]);
        ::close(partenza[1]);

        for (auto& run : runs) {
            const esito_esecuzione esito = run->attendi();
            EXPECT_EQ(esito.stato, 0) << esito.messaggi;
            EXPECT_EQ(esito.messaggi, "Attendere\n");
        }
        if (leggibile)
            leggibile(true);
        EXPECT_EQ(residui(cartella), "");
        const contenuti file = leggi_cartella(cartella);
        EXPECT_EQ(difetti_scenario(file), "");
        EXPECT_TRUE(file == riferimento);
        if (leggibile)
            leggibile(false);
    }
}

TEST(BloccoCartella, SimultaneousRunsEndWithOneCompleteScenario) {
    banco_programma b;
    esecuzioni_simultanee(b.cartella, 4, 8, {});
}

// A directory its user may write but not read (mode 0333) cannot be opened for an flock; the
// lock derived from its identity still orders the runs.
TEST(BloccoCartella, RunsInADirectoryThatCannotBeReadStillRunOneAtATime) {
    banco_programma b;
    constexpr fs::perms scrittura_sola = fs::perms::owner_write | fs::perms::owner_exec |
                                         fs::perms::group_write | fs::perms::group_exec |
                                         fs::perms::others_write | fs::perms::others_exec;
    opzioni_esecuzione opzioni;
    std::function<void(bool)> leggibile;
    if (::geteuid() == 0) {
        // Root reads every directory: the runs take an ordinary user's rights, and the way
        // to the directory lets that user through.
        opzioni.utente = std::pair<uid_t, gid_t>(65534, 65534);
        fs::permissions(b.radice.percorso(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        if (!avviabile_da(b.cartella, *opzioni.utente))
            GTEST_SKIP() << "user 65534 cannot reach " << b.cartella.string()
                         << ": a directory on the way is closed to it (a root directory of mode "
                            "0700, as in some containers)";
    } else {
        leggibile = [&](bool si) {
            fs::permissions(b.cartella, si ? fs::perms::owner_all : scrittura_sola);
        };
    }
    fs::permissions(b.cartella, scrittura_sola);
    esecuzioni_simultanee(b.cartella, 16, 3, opzioni, leggibile);
    fs::permissions(b.cartella, fs::perms::owner_all);
}

} // namespace
} // namespace corvenna
