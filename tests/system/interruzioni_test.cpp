// The whole program interrupted: by the signals that end a process, by a kill just before each
// of its file system calls in turn, and by a failure of each of those calls in turn (an I/O
// error, a full disk). However a run ends, each scenario file holds its earlier content or the
// new one, complete; once any command has read the scenario, the six files are the whole earlier
// scenario or the whole new one; and the next run leaves the directory with the scenario alone.
//
// The sweeps drive the program with strace (Debian package strace), which kills the process or
// fails the call at the chosen occurrence of a system call; without it they are skipped.

#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

// The run's directory, with the program and an earlier scenario in it, inside a temporary
// directory that also takes the run's messages.
struct banco_interrotto {
    cartella_temporanea radice;
    fs::path cartella = radice.percorso() / "programma";
    contenuti prima = scenario_precedente();

    banco_interrotto() {
        installa_programma(cartella);
        scrivi_scenario(cartella, prima);
    }
};

// What the run after an interrupted one must do: end well and leave the scenario alone.
void verifica_corsa_successiva(const fs::path& cartella) {
    const esito_esecuzione esito = esegui(cartella);
    EXPECT_EQ(esito.stato, 0) << esito.messaggi;
    EXPECT_EQ(residui(cartella), "");
    EXPECT_TRUE(leggi_cartella(cartella) == scenario_di_riferimento());
}

class SegnaleDiFine : public ::testing::TestWithParam<int> {};

// The signal arrives while the run writes the plan view (the longest file): the run is stopped
// as soon as that file's temporary appears, gets the signal, and is let go.
TEST_P(SegnaleDiFine, RemovesTheTemporaryBeingWrittenAndEndsByTheSignal) {
    const int segnale = GetParam();
    banco_interrotto b;
    const int notifiche = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(notifiche, 0) << std::strerror(errno);
    ASSERT_GE(::inotify_add_watch(notifiche, b.cartella.c_str(), IN_CREATE), 0);

    esecuzione run(b.cartella);
    std::string temporaneo;
    alignas(inotify_event) char buffer[4096];
    while (temporaneo.empty()) {
        pollfd attesa{notifiche, POLLIN, 0};
        ASSERT_GT(::poll(&attesa, 1, 60000), 0) << "no plan-view temporary appeared";
        const ssize_t letti = ::read(notifiche, buffer, sizeof buffer);
        ASSERT_GT(letti, 0);
        for (ssize_t i = 0; i < letti;) {
            const auto* evento = reinterpret_cast<const inotify_event*>(buffer + i);
            const std::string nome = evento->len > 0 ? evento->name : "";
            if (nome.starts_with("Corvenna_linea.dat.tmp"))
                temporaneo = nome;
            i += static_cast<ssize_t>(sizeof(inotify_event) + evento->len);
        }
    }
    ::kill(run.pid(), SIGSTOP);
    const bool presente = fs::exists(b.cartella / temporaneo);
    ::kill(run.pid(), segnale);
    ::kill(run.pid(), SIGCONT);
    const esito_esecuzione esito = run.attendi();
    ::close(notifiche);

    EXPECT_EQ(esito.stato, 128 + segnale) << esito.messaggi;
    EXPECT_FALSE(fs::exists(b.cartella / temporaneo));
    // The run was caught with the temporary still there: the plan view stays as it was.
    if (presente) {
        EXPECT_TRUE(leggi_file(b.cartella / "Corvenna_linea.dat") ==
                    b.prima.at("Corvenna_linea.dat"));
    }
    EXPECT_EQ(residui(b.cartella), "");
    EXPECT_EQ(file_ne_vecchi_ne_nuovi(leggi_cartella(b.cartella), b.prima), "");
    verifica_corsa_successiva(b.cartella);
}

INSTANTIATE_TEST_SUITE_P(Interruzioni, SegnaleDiFine, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// What a killed run leaves, temporaries of every output name, and links at such names that lead
// out of the directory: the next run removes them all and follows none.
TEST(Interruzioni, TheNextRunRemovesStaleTemporariesAndFollowsNoLink) {
    banco_interrotto b;
    const fs::path fuori = b.radice.percorso() / "fuori";
    fs::create_directories(fuori);
    scrivi_file(fuori / "bersaglio", "intatto");
    std::vector<std::string> nomi(file_scenario.begin(), file_scenario.end());
    nomi.push_back(descrizione_linea);
    nomi.push_back(descrizione_treno);
    for (const std::string& nome : nomi) {
        scrivi_file(b.cartella / (nome + ".tmp1733840000123456789-3"), std::string(1 << 20, 'v'));
        fs::create_symlink(fuori / "bersaglio", b.cartella / (nome + ".tmp4242-0"));
        fs::create_symlink(fuori / (nome + ".nuovo"), b.cartella / (nome + ".tmp4242-1"));
    }

    verifica_corsa_successiva(b.cartella);
    EXPECT_EQ(leggi_file(fuori / "bersaglio"), "intatto");
    EXPECT_EQ(std::distance(fs::directory_iterator(fuori), fs::directory_iterator()), 1);
}

// The sanitizers' leak check cannot run under a tracer.
const std::vector<std::string> ambiente_tracciato = {"ASAN_OPTIONS=detect_leaks=0"};

// The calls of one undisturbed run of the program in `cartella`, in order: those that name the
// directory or a file in it (strace shows the path of every descriptor), and those of the lock.
std::vector<chiamata> chiamate_della_corsa(const std::string& strace, const fs::path& cartella,
                                           const fs::path& traccia) {
    opzioni_esecuzione opzioni;
    opzioni.prefisso = {strace,           "-y", "-o",
                        traccia.string(), "-e", std::string("trace=") + chiamate_di_file};
    opzioni.ambiente = ambiente_tracciato;
    const esito_esecuzione esito = esegui(cartella, opzioni);
    EXPECT_EQ(esito.stato, 0) << esito.messaggi;

    return chiamate_in_traccia(traccia, cartella, true);
}

enum class interruzione { uccisione, errore, disco_pieno };

void PrintTo(interruzione modo, std::ostream* uscita) {
    *uscita << (modo == interruzione::uccisione ? "kill"
                : modo == interruzione::errore  ? "EIO"
                                                : "ENOSPC");
}

class Spazzata : public ::testing::TestWithParam<interruzione> {};

// Each call of a run in turn: the run is killed just before it (the call is not made), or the
// call fails with EIO. The directory starts every time from the earlier scenario.
TEST_P(Spazzata, EveryFileIsOldOrNewAndTheNextRunCleansUp) {
    const std::string strace = cerca_programma("strace");
    if (strace.empty())
        GTEST_SKIP() << "strace is not installed (Debian package strace): the sweep injects its "
                        "kills and failures with it";
    const interruzione modo = GetParam();
    banco_interrotto b;
    const std::vector<chiamata> chiamate =
        chiamate_della_corsa(strace, b.cartella, b.radice.percorso() / "traccia");
    ASSERT_FALSE(HasFailure());
    // The files, the descriptions and the lock: far more than a handful of calls.
    ASSERT_GT(chiamate.size(), 20u);

    for (const chiamata& c : chiamate) {
        SCOPED_TRACE(c.traccia);
        scrivi_scenario(b.cartella, b.prima);
        opzioni_esecuzione opzioni;
        const std::string iniezione = modo == interruzione::uccisione
                                          ? ":error=EIO:signal=SIGKILL:when="
                                      : modo == interruzione::errore ? ":error=EIO:when="
                                                                     : ":error=ENOSPC:when=";
        const std::string motivo = modo == interruzione::disco_pieno
                                       ? "spazio esaurito sul disco"
                                       : "errore di ingresso/uscita del dispositivo";
        opzioni.prefisso = {strace, "-o", "/dev/null", "-e",
                            "inject=" + c.nome + iniezione + std::to_string(c.occorrenza)};
        opzioni.ambiente = ambiente_tracciato;
        const esito_esecuzione esito = esegui(b.cartella, opzioni);

        EXPECT_EQ(file_ne_vecchi_ne_nuovi(leggi_cartella(b.cartella), b.prima), "");
        if (modo == interruzione::uccisione) {
            EXPECT_EQ(esito.stato, 128 + SIGKILL) << esito.messaggi;
        } else if (esito.stato == 0) {
            // A failure the run can do without: the lock's other half, the listing of stale
            // temporaries, the closing of a file it has read.
            EXPECT_TRUE(leggi_cartella(b.cartella) == scenario_di_riferimento());
        } else {
            EXPECT_EQ(esito.stato, 2) << esito.messaggi;
            const std::string inizio =
                "Attendere\nImpossibile scrivere o leggere " + b.cartella.string();
            const std::string fine = std::string(": ") + motivo + "\n";
            // After the record of the renames is in place, a failure leaves the record and the
            // temporaries it names, for the next run to finish.
            const std::string fine_in_sospeso =
                std::string(": ") + motivo +
                " (la sostituzione dello scenario sara' completata dall'esecuzione successiva)\n";
            const bool in_sospeso = esito.messaggi.ends_with(fine_in_sospeso);
            EXPECT_TRUE(esito.messaggi.starts_with(inizio) &&
                        (esito.messaggi.ends_with(fine) || in_sospeso))
                << esito.messaggi;
            if (!in_sospeso) {
                EXPECT_EQ(residui(b.cartella), "") << esito.messaggi;
            }
        }
        // Any command that reads the scenario first finishes what the run left half-replaced.
        const esito_strumento lettura = esegui_strumento(
            b.cartella, {"ispeziona", ".", "--nome", "Corvenna", "--treno", "7381"});
        EXPECT_EQ(lettura.stato, 0) << lettura.errori;
        EXPECT_EQ(insieme_misto(leggi_cartella(b.cartella), b.prima), "");
        verifica_corsa_successiva(b.cartella);
        if (HasFailure())
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Interruzioni, Spazzata,
                         ::testing::Values(interruzione::uccisione, interruzione::errore,
                                           interruzione::disco_pieno),
                         [](const auto& info) {
                             return std::string(
                                 info.param == interruzione::uccisione ? "KillBeforeEachCall"
                                 : info.param == interruzione::errore  ? "EioAtEachCall"
                                                                       : "DiskFullAtEachCall");
                         });

} // namespace
} // namespace corvenna
