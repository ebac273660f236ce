#include "app/blocco_cartella.hpp"

#include "programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
            {
                const blocco_cartella blocco(cartella);
                const char preso = blocco.attivo() ? 'S' : 'N';
                if (::write(scrittura, &preso, 1) != 1)
                    ::_exit(2);
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
    auto blocco = std::make_unique<blocco_cartella>(cartella.percorso());
    ASSERT_TRUE(blocco->attivo());

    concorrente altro(cartella.percorso());
    // However long it waits, the other process cannot hold the lock while this one does.
    EXPECT_EQ(altro.preso(std::chrono::milliseconds(300)), 0);
    blocco.reset();
    EXPECT_EQ(altro.preso(std::chrono::minutes(1)), 'S');
}

TEST(BloccoCartella, LocksOfDifferentDirectoriesAreIndependent) {
    cartella_temporanea prima;
    cartella_temporanea seconda;
    const blocco_cartella blocco(prima.percorso());
    concorrente altro(seconda.percorso());
    EXPECT_EQ(altro.preso(std::chrono::minutes(1)), 'S');
}

TEST(BloccoCartella, LeavesNothingInTheDirectory) {
    cartella_temporanea cartella;
    {
        const blocco_cartella blocco(cartella.percorso());
        EXPECT_TRUE(blocco.attivo());
        EXPECT_TRUE(fs::is_empty(cartella.percorso()));
    }
    EXPECT_TRUE(fs::is_empty(cartella.percorso()));
}

TEST(BloccoCartella, WithoutTheDirectoryTheRunGoesOnUnlocked) {
    cartella_temporanea cartella;
    const blocco_cartella blocco(cartella.percorso() / "non_esiste");
    EXPECT_FALSE(blocco.attivo());
    EXPECT_FALSE(fs::exists(cartella.percorso() / "non_esiste"));
}

TEST(BloccoCartella, ARunWaitsWhileItsDirectoryIsHeld) {
    const contenuti& riferimento = scenario_di_riferimento();
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso() / "programma";
    installa_programma(cartella);

    auto blocco = std::make_unique<blocco_cartella>(cartella);
    esecuzione run(cartella);
    // While the directory is held the run writes nothing, however long it is given.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(run.in_corso());
    EXPECT_EQ(residui(cartella), "");
    EXPECT_TRUE(leggi_cartella(cartella).empty());

    blocco.reset();
    const esito_esecuzione esito = run.attendi();
    EXPECT_EQ(esito.stato, 0) << esito.messaggi;
    EXPECT_EQ(leggi_cartella(cartella), riferimento);
}

// A double click, many times over: several runs started at the same moment in one directory
// all succeed, and the directory ends with exactly the six files of an undisturbed run.
TEST(BloccoCartella, SimultaneousRunsEndWithOneCompleteScenario) {
    const contenuti& riferimento = scenario_di_riferimento();
    constexpr int esecuzioni_insieme = 4;
    constexpr int ripetizioni = 8;

    cartella_temporanea radice;
    const fs::path cartella = radice.percorso() / "programma";
    installa_programma(cartella);

    for (int giro = 0; giro < ripetizioni; ++giro) {
        SCOPED_TRACE("round " + std::to_string(giro));
        int partenza[2];
        ASSERT_EQ(::pipe2(partenza, O_CLOEXEC), 0);
        std::vector<std::unique_ptr<esecuzione>> runs;
        for (int i = 0; i < esecuzioni_insieme; ++i)
            runs.push_back(std::make_unique<esecuzione>(
                cartella, opzioni_esecuzione{.limite_file = {}, .attesa_partenza = partenza[0]}));
        // One write releases every waiting child at once.
        const std::string via(esecuzioni_insieme, 'x');
        ASSERT_EQ(::write(partenza[1], via.data(), via.size()), esecuzioni_insieme);
        ::close(partenza[0]);
        ::close(partenza[1]);

        for (auto& run : runs) {
            const esito_esecuzione esito = run->attendi();
            EXPECT_EQ(esito.stato, 0) << esito.messaggi;
            EXPECT_EQ(esito.messaggi, "Attendere\n");
        }
        EXPECT_EQ(residui(cartella), "");
        const contenuti file = leggi_cartella(cartella);
        EXPECT_EQ(difetti_scenario(file), "");
        EXPECT_TRUE(file == riferimento);
    }
}

} // namespace
} // namespace corvenna
