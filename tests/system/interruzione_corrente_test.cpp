// Power cuts: the scenario's directory on an ext4 file system of its own, on a loop device and
// mounted with noauto_da_alloc (no flush on a rename over a file, so only the program's own
// flushes make the new content durable). A good scenario is in place; a run replaces it; the
// file system is shut down without flushing anything, at a moment that varies, and mounted
// again, which replays its journal. Every file must then be the earlier version or the new one,
// complete, and the new one wherever the run had ended well before the cut.
//
// Needs root, loop devices, a mount namespace and mkfs.ext4 (Debian package e2fsprogs); skipped
// with the reason elsewhere.

#include "montaggi_di_prova.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

// The shutdown of an ext4 file system, and its mode that flushes neither data nor journal.
constexpr unsigned long ext4_arresto = _IOR('X', 125, std::uint32_t);
constexpr std::uint32_t arresto_senza_scrivere = 0x2;

// Runs a command to its end, its output discarded; its exit status, or -1.
int comando(const std::vector<std::string>& parole) {
    std::vector<char*> argomenti;
    std::vector<std::string> copia = parole;
    for (std::string& parola : copia)
        argomenti.push_back(parola.data());
    argomenti.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        const int nulla = ::open("/dev/null", O_WRONLY);
        ::dup2(nulla, STDOUT_FILENO);
        ::dup2(nulla, STDERR_FILENO);
        ::execvp(argomenti[0], argomenti.data());
        ::_exit(127);
    }
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
}

std::string cerca_mkfs() {
    if (std::string trovato = cerca_programma("mkfs.ext4"); !trovato.empty())
        return trovato;
    for (const char* percorso : {"/usr/sbin/mkfs.ext4", "/sbin/mkfs.ext4"})
        if (::access(percorso, X_OK) == 0)
            return percorso;
    return {};
}

// A loop device over an image file, detached by the system once nothing uses it.
class dispositivo_loop {
  public:
    // Empty `percorso()` where the system gives no loop device; `motivo` then says why.
    explicit dispositivo_loop(const fs::path& immagine) {
        const int controllo = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        if (controllo < 0) {
            motivo_ = std::string("/dev/loop-control: ") + std::strerror(errno);
            return;
        }
        const int numero = ::ioctl(controllo, LOOP_CTL_GET_FREE);
        ::close(controllo);
        if (numero < 0) {
            motivo_ = std::string("no free loop device: ") + std::strerror(errno);
            return;
        }
        const std::string nome = "/dev/loop" + std::to_string(numero);
        const int file = ::open(immagine.c_str(), O_RDWR | O_CLOEXEC);
        descrittore_ = ::open(nome.c_str(), O_RDWR | O_CLOEXEC);
        if (file < 0 || descrittore_ < 0) {
            motivo_ = nome + ": " + std::strerror(errno);
            if (file >= 0)
                ::close(file);
            return;
        }
        loop_config configurazione{};
        configurazione.fd = static_cast<std::uint32_t>(file);
        configurazione.info.lo_flags = LO_FLAGS_AUTOCLEAR;
        const int esito = ::ioctl(descrittore_, LOOP_CONFIGURE, &configurazione);
        const int errore = errno;
        ::close(file);
        if (esito != 0) {
            motivo_ = nome + ": " + std::strerror(errore);
            return;
        }
        percorso_ = nome;
    }
    ~dispositivo_loop() {
        if (descrittore_ >= 0)
            ::close(descrittore_);
    }
    dispositivo_loop(const dispositivo_loop&) = delete;
    dispositivo_loop& operator=(const dispositivo_loop&) = delete;

    const std::string& percorso() const { return percorso_; }
    const std::string& motivo() const { return motivo_; }

  private:
    int descrittore_ = -1;
    std::string percorso_;
    std::string motivo_;
};

// When the file system goes down, relative to the run.
enum class momento {
    // As soon as the run has ended.
    alla_fine,
    // Once the run has ended and the journal has committed (every second, as mounted).
    dopo_il_journal,
    // While the run is still writing.
    durante,
};

TEST(InterruzioneCorrente, EveryFileIsTheOldOrTheNewVersionAfterEachCut) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "power cuts need root (loop devices, mounts)";
    const std::string mkfs = cerca_mkfs();
    if (mkfs.empty())
        GTEST_SKIP() << "mkfs.ext4 is not installed (Debian package e2fsprogs)";
    if (!montaggi_privati())
        GTEST_SKIP() << "this system allows no mount namespace";

    cartella_temporanea radice;
    const fs::path immagine = radice.percorso() / "disco.img";
    {
        const int file = ::open(immagine.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::ftruncate(file, 96 << 20), 0);
        ::close(file);
    }
    // Tables and journal written now, so no background initialisation runs during the cuts.
    ASSERT_EQ(comando({mkfs, "-q", "-F", "-E", "lazy_itable_init=0,lazy_journal_init=0",
                       immagine.string()}),
              0);
    const dispositivo_loop loop(immagine);
    if (loop.percorso().empty())
        GTEST_SKIP() << "no loop device: " << loop.motivo();

    // The file system's root is the run's directory; the run's messages go beside it, on a
    // file system that stays up.
    const fs::path punto = radice.percorso() / "programma";
    fs::create_directories(punto);
    const fs::path& cartella = punto;
    auto monta = [&] {
        return ::mount(loop.percorso().c_str(), punto.c_str(), "ext4", 0,
                       "noauto_da_alloc,commit=1") == 0;
    };
    ASSERT_TRUE(monta()) << std::strerror(errno);
    installa_programma(cartella);
    ASSERT_EQ(::umount2(punto.c_str(), 0), 0) << std::strerror(errno);

    const contenuti prima = scenario_precedente();
    const contenuti& nuovo = scenario_di_riferimento();
    std::mt19937 caso(16);
    constexpr int tagli = 54;
    for (int taglio = 0; taglio < tagli; ++taglio) {
        const momento quando = taglio < 10       ? momento::dopo_il_journal
                               : taglio % 2 == 0 ? momento::alla_fine
                                                 : momento::durante;
        SCOPED_TRACE("cut " + std::to_string(taglio));
        ASSERT_TRUE(monta()) << std::strerror(errno);
        // The good scenario, on the storage before the run starts.
        scrivi_scenario(cartella, prima);
        {
            const int file = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ASSERT_EQ(::syncfs(file), 0);
            ::close(file);
        }

        esito_esecuzione esito;
        auto arresta = [&] {
            const int file = ::open(punto.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            std::uint32_t modo = arresto_senza_scrivere;
            ASSERT_EQ(::ioctl(file, ext4_arresto, &modo), 0) << std::strerror(errno);
            ::close(file);
        };
        if (quando == momento::durante) {
            esecuzione run(cartella);
            std::this_thread::sleep_for(std::chrono::microseconds(caso() % 60000));
            arresta();
            esito = run.attendi();
        } else {
            esito = esegui(cartella);
            EXPECT_EQ(esito.stato, 0) << esito.messaggi;
            if (quando == momento::dopo_il_journal)
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            arresta();
        }
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(::umount2(punto.c_str(), 0), 0) << std::strerror(errno);

        ASSERT_TRUE(monta()) << std::strerror(errno);
        const contenuti dopo = leggi_cartella(cartella);
        EXPECT_EQ(file_ne_vecchi_ne_nuovi(dopo, prima), "");
        // Once a command has read the scenario (finishing what the cut interrupted), the six
        // files are one version.
        const esito_strumento lettura =
            esegui_strumento(cartella, {"ispeziona", ".", "--nome", "Corvenna", "--treno", "7381"});
        EXPECT_EQ(lettura.stato, 0) << lettura.errori;
        EXPECT_EQ(insieme_misto(leggi_cartella(cartella), prima), "");
        // A run that ended well before the cut has made its scenario durable.
        if (quando != momento::durante && esito.stato == 0) {
            for (const std::string& nome : file_scenario)
                EXPECT_TRUE(dopo.contains(nome) && dopo.at(nome) == nuovo.at(nome)) << nome;
        }
        ASSERT_EQ(::umount2(punto.c_str(), 0), 0) << std::strerror(errno);
        if (HasFailure())
            break;
    }
}

} // namespace
} // namespace corvenna
