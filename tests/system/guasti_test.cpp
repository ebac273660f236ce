// The whole program under file failures: a read-only output directory, a file system that fills
// up, a file size limit, output names taken by directories, stale longer files, and description
// files that vanish or cannot be read while the run goes on. In every case the run ends with a
// non-zero status and a message, and leaves neither a temporary file nor a truncated scenario
// file in place of a good earlier one.

#include "montaggi_di_prova.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/fanotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

constexpr std::uint64_t kib = 1024;

// `cartella` seen read-only, as a read-only medium or share would show it.
std::unique_ptr<montaggio> sola_lettura(const fs::path& cartella) {
    if (!montaggi_privati())
        return nullptr;
    if (::mount(cartella.c_str(), cartella.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return nullptr;
    auto m = std::make_unique<montaggio>(cartella);
    if (::mount(nullptr, cartella.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return nullptr;
    return m;
}

// A memory file system on `cartella`, large enough to set the directory up.
std::unique_ptr<montaggio> file_system_piccolo(const fs::path& cartella) {
    if (!montaggi_privati())
        return nullptr;
    if (::mount("tmpfs", cartella.c_str(), "tmpfs", 0, "size=64m") != 0)
        return nullptr;
    return std::make_unique<montaggio>(cartella);
}

// Shrinks the file system on `cartella` to what it holds now plus `spazio` bytes.
void lascia_spazio(const fs::path& cartella, std::uint64_t spazio) {
    struct statvfs stato {};
    ASSERT_EQ(::statvfs(cartella.c_str(), &stato), 0);
    const std::uint64_t usati = (stato.f_blocks - stato.f_bfree) * stato.f_frsize;
    const std::string opzioni = "size=" + std::to_string((usati + spazio) / kib) + "k";
    ASSERT_EQ(::mount(nullptr, cartella.c_str(), "tmpfs", MS_REMOUNT, opzioni.c_str()), 0)
        << std::strerror(errno);
}

// Stops every open of a file in a directory until `decidi` has answered for it: true lets the
// open go on, false makes it fail (EPERM). `decidi` gets the file name and may change the
// directory meanwhile; it runs on a thread of its own.
class sorveglianza_aperture {
  public:
    using decisione = std::function<bool(const std::string& nome)>;

    // nullptr where the system offers no permission events.
    static std::unique_ptr<sorveglianza_aperture> avvia(const fs::path& cartella,
                                                        decisione decidi) {
        const int fan = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC | FAN_NONBLOCK,
                                        O_RDONLY | O_LARGEFILE | O_CLOEXEC);
        if (fan < 0)
            return nullptr;
        if (::fanotify_mark(fan, FAN_MARK_ADD, FAN_OPEN_PERM | FAN_EVENT_ON_CHILD, AT_FDCWD,
                            cartella.c_str()) != 0) {
            ::close(fan);
            return nullptr;
        }
        return std::unique_ptr<sorveglianza_aperture>(
            new sorveglianza_aperture(fan, std::move(decidi)));
    }

    ~sorveglianza_aperture() {
        const char fine = 0;
        [[maybe_unused]] const auto scritto = ::write(arresto_[1], &fine, 1);
        filo_.join();
        // Closing the group lets any open still waiting go on.
        ::close(fan_);
        ::close(arresto_[0]);
        ::close(arresto_[1]);
    }

  private:
    sorveglianza_aperture(int fan, decisione decidi) : fan_(fan), decidi_(std::move(decidi)) {
        if (::pipe2(arresto_, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        filo_ = std::thread([this] { ascolta(); });
    }

    void ascolta() {
        alignas(fanotify_event_metadata) char buffer[4096];
        for (;;) {
            pollfd attese[2] = {{fan_, POLLIN, 0}, {arresto_[0], POLLIN, 0}};
            if (::poll(attese, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (attese[1].revents != 0)
                return;
            const ssize_t letti = ::read(fan_, buffer, sizeof buffer);
            if (letti <= 0)
                continue;
            auto* evento = reinterpret_cast<fanotify_event_metadata*>(buffer);
            for (ssize_t resto = letti; FAN_EVENT_OK(evento, resto);
                 evento = FAN_EVENT_NEXT(evento, resto)) {
                if (evento->fd < 0)
                    continue;
                const bool ammessa = decidi_(nome_di(evento->fd));
                const fanotify_response risposta{
                    evento->fd, static_cast<__u32>(ammessa ? FAN_ALLOW : FAN_DENY)};
                [[maybe_unused]] const auto scritto = ::write(fan_, &risposta, sizeof risposta);
                ::close(evento->fd);
            }
        }
    }

    static std::string nome_di(int descrittore) {
        std::error_code errore;
        const fs::path percorso =
            fs::read_symlink("/proc/self/fd/" + std::to_string(descrittore), errore);
        return errore ? std::string() : percorso.filename().string();
    }

    int fan_;
    int arresto_[2] = {-1, -1};
    decisione decidi_;
    std::thread filo_;
};

// The run's directory, with the program in it, inside a temporary directory that also takes the
// run's messages.
struct banco {
    cartella_temporanea radice;
    fs::path cartella = radice.percorso() / "programma";
};

// What every failed run must show: a non-zero status, a message after the wait notice, nothing
// left but the program, the six scenario files and `ammessi`, and no scenario file other than
// the one before the run or a complete one.
void verifica_fallimento(const banco& b, const esito_esecuzione& esito, const contenuti& prima,
                         const std::vector<std::string>& ammessi = {}) {
    EXPECT_NE(esito.stato, 0);
    EXPECT_NE(esito.messaggi, "Attendere\n") << "a failed run must say why";
    EXPECT_EQ(residui(b.cartella, ammessi), "");
    contenuti dopo = leggi_cartella(b.cartella);
    bool altri = false;
    for (const std::string& nome : file_scenario) {
        if (std::find(ammessi.begin(), ammessi.end(), nome) != ammessi.end())
            continue;
        const auto attuale = dopo.find(nome);
        if (attuale == dopo.end()) {
            EXPECT_FALSE(prima.contains(nome)) << nome << " was removed";
            continue;
        }
        const auto precedente = prima.find(nome);
        const bool com_era = precedente != prima.end() && attuale->second == precedente->second;
        // The scenario's content is constant: a complete file of this run is the reference.
        const bool di_riferimento = attuale->second == scenario_di_riferimento().at(nome);
        altri = altri || (!com_era && !di_riferimento);
    }
    // A file with other content comes from a compile that recorded an error: then the whole set
    // must still be complete.
    if (altri) {
        for (const auto& nome : ammessi)
            dopo.erase(nome);
        EXPECT_EQ(difetti_scenario(dopo), "");
    }
}

TEST(Guasti, ReadOnlyDirectoryKeepsTheEarlierScenario) {
    banco b;
    installa_programma(b.cartella);
    const contenuti prima = scenario_precedente();
    scrivi_scenario(b.cartella, prima);

    const auto protezione = sola_lettura(b.cartella);
    if (!protezione)
        GTEST_SKIP() << "this system allows no read-only bind mount (no mount namespace)";
    const esito_esecuzione esito = esegui(b.cartella);

    EXPECT_EQ(esito.stato, 2);
    EXPECT_NE(esito.messaggi.find((b.cartella / descrizione_linea).string()), std::string::npos)
        << esito.messaggi;
    EXPECT_NE(esito.messaggi.find("file system in sola lettura"), std::string::npos)
        << esito.messaggi;
    EXPECT_TRUE(leggi_cartella(b.cartella) == prima);
    verifica_fallimento(b, esito, prima);
}

// How much room the binary writes find, and where they break.
struct caso_spazio {
    const char* nome;
    bool con_scenario_precedente;
    // Room left once the directory is set up, in bytes: the text documents take some of it.
    std::uint64_t (*spazio)();
    // The file whose write runs out of room.
    const char* file_interrotto;
};

void PrintTo(const caso_spazio& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class SpazioEsaurito : public ::testing::TestWithParam<caso_spazio> {};

TEST_P(SpazioEsaurito, BinaryWriteFailsCleanly) {
    const caso_spazio& caso = GetParam();
    banco b;
    fs::create_directories(b.cartella);
    const auto memoria = file_system_piccolo(b.cartella);
    if (!memoria)
        GTEST_SKIP() << "this system allows no tmpfs mount (no mount namespace)";
    installa_programma(b.cartella);
    const contenuti prima = caso.con_scenario_precedente ? scenario_precedente() : contenuti{};
    scrivi_scenario(b.cartella, prima);
    lascia_spazio(b.cartella, caso.spazio());
    if (HasFatalFailure())
        return;

    const esito_esecuzione esito = esegui(b.cartella);

    EXPECT_EQ(esito.stato, 2);
    const std::string interrotto = (b.cartella / caso.file_interrotto).string();
    EXPECT_NE(esito.messaggi.find(interrotto + ": spazio esaurito sul disco"), std::string::npos)
        << esito.messaggi;
    verifica_fallimento(b, esito, prima);
    // The scenario is replaced as a whole or not at all: every file, documents included, is as
    // it was.
    const contenuti dopo = leggi_cartella(b.cartella);
    for (const std::string& nome : file_scenario) {
        EXPECT_EQ(dopo.contains(nome), prima.contains(nome)) << nome;
        if (dopo.contains(nome) && prima.contains(nome)) {
            EXPECT_TRUE(dopo.at(nome) == prima.at(nome)) << nome;
        }
    }
}

// Rounds up to whole pages, as the memory file system counts them.
std::uint64_t pagine(std::size_t byte) {
    const std::uint64_t pagina = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return (byte + pagina - 1) / pagina * pagina;
}

std::uint64_t mezzo_mega() {
    return 512 * kib;
}

// Room for the text documents, the plan view and the item file, and half the cell file.
std::uint64_t spazio_fino_alle_celle() {
    const contenuti& r = scenario_di_riferimento();
    std::uint64_t spazio = 0;
    for (const std::string& nome :
         {file_scenario[0], file_scenario[1], file_scenario[2], file_binari[0], file_binari[1]})
        spazio += pagine(r.at(nome).size());
    return spazio + pagine(r.at(file_binari[2]).size()) / 2;
}

INSTANTIATE_TEST_SUITE_P(Guasti, SpazioEsaurito,
                         ::testing::Values(caso_spazio{"PlanViewOverAnEarlierScenario", true,
                                                       mezzo_mega, "Corvenna_linea.dat"},
                                           caso_spazio{"PlanViewInAnEmptyDirectory", false,
                                                       mezzo_mega, "Corvenna_linea.dat"},
                                           caso_spazio{"CellFileInAnEmptyDirectory", false,
                                                       spazio_fino_alle_celle,
                                                       "Corvenna_7381.dat"}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(Guasti, FileSizeLimitStopsThePlanViewAndKeepsTheEarlierOne) {
    banco b;
    installa_programma(b.cartella);
    const contenuti prima = scenario_precedente();
    scrivi_scenario(b.cartella, prima);

    // Every file but the plan view (about 1.9 MB) fits under the limit. The signal the system
    // sends past the limit keeps its default action, as under a shell's ulimit -f.
    opzioni_esecuzione opzioni;
    opzioni.limite_file = 1024 * kib;
    const esito_esecuzione esito = esegui(b.cartella, opzioni);

    EXPECT_EQ(esito.stato, 2);
    EXPECT_EQ(esito.messaggi, "Attendere\nImpossibile scrivere o leggere " +
                                  (b.cartella / "Corvenna_linea.dat").string() + ": " +
                                  "file troppo grande (oltre il limite dei file del processo)\n");
    verifica_fallimento(b, esito, prima);
    const contenuti dopo = leggi_cartella(b.cartella);
    for (const std::string& nome : file_binari)
        EXPECT_TRUE(dopo.at(nome) == prima.at(nome)) << nome;
}

// A directory where the run must put a file: the replacement cannot rename over it.
struct caso_nome_occupato {
    std::string nome;
    // The descriptions written before the run stopped, ahead of the compile that deletes them.
    std::vector<std::string> descrizioni_rimaste;
};

void PrintTo(const caso_nome_occupato& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class NomeOccupato : public ::testing::TestWithParam<caso_nome_occupato> {};

TEST_P(NomeOccupato, RunStopsAndNamesTheFile) {
    const caso_nome_occupato& caso = GetParam();
    banco b;
    installa_programma(b.cartella);
    fs::create_directories(b.cartella / caso.nome / "contenuto");

    const esito_esecuzione esito = esegui(b.cartella);

    EXPECT_EQ(esito.stato, 2);
    EXPECT_NE(esito.messaggi.find((b.cartella / caso.nome).string() + ": "), std::string::npos)
        << esito.messaggi;
    EXPECT_TRUE(fs::exists(b.cartella / caso.nome / "contenuto"));
    std::vector<std::string> ammessi = caso.descrizioni_rimaste;
    ammessi.push_back(caso.nome);
    verifica_fallimento(b, esito, {}, ammessi);
}

const std::vector<std::string> entrambe = {descrizione_linea, descrizione_treno};

INSTANTIATE_TEST_SUITE_P(
    Guasti, NomeOccupato,
    ::testing::Values(caso_nome_occupato{descrizione_linea, {}},
                      caso_nome_occupato{descrizione_treno, {descrizione_linea}},
                      caso_nome_occupato{"Corvenna_7381_note.txt", entrambe},
                      caso_nome_occupato{"Corvenna_7381_rallentamenti.txt", entrambe},
                      caso_nome_occupato{"Corvenna_7381_scheda_treno.txt", entrambe},
                      caso_nome_occupato{"Corvenna_linea.dat", {}},
                      caso_nome_occupato{"Corvenna_7381.sim", {}},
                      caso_nome_occupato{"Corvenna_7381.dat", {}}),
    [](const auto& info) {
        std::string nome = info.param.nome;
        for (char& c : nome)
            if (c == '.' || c == '-')
                c = '_';
        return nome;
    });

TEST(Guasti, StaleLongerFilesAreReplacedWhole) {
    const contenuti& riferimento = scenario_di_riferimento();
    banco b;
    installa_programma(b.cartella);
    const std::string coda(64 * kib, 'X');
    for (const std::string& nome : file_scenario)
        scrivi_file(b.cartella / nome, riferimento.at(nome) + coda);
    for (const std::string& nome : {descrizione_linea, descrizione_treno})
        scrivi_file(b.cartella / nome, "[generale]\r\nlunghezza percorso,  5\r\n" + coda);

    const esito_esecuzione esito = esegui(b.cartella);

    EXPECT_EQ(esito.stato, 0) << esito.messaggi;
    EXPECT_EQ(esito.messaggi, "Attendere\n");
    EXPECT_TRUE(leggi_cartella(b.cartella) == riferimento);
}

// A description that cannot be opened, or that disappears, while the run goes on. The
// system's failures on a file are file failures: the run names the file and the reason and
// writes no binary file. A line description that is not there when the compile looks for it
// is the compile's own report.
struct caso_descrizione {
    const char* nome;
    // Answers for each open in the directory; may delete a file before answering.
    std::function<bool(const fs::path& cartella, const std::string& nome)> decidi;
    int stato;
    // What the report says after the directory's path and a separator.
    std::string messaggio;
    // The description the run may leave.
    std::vector<std::string> ammessi;
};

// Lets every open through except the one of `vietato`.
auto nega(const std::string& vietato) {
    return [vietato](const fs::path&, const std::string& nome) { return nome != vietato; };
}

// Deletes `sparisce` at the first open of another file in the directory made while it exists:
// the run has just written it and goes on with the next file.
auto cancella_dopo_scrittura(const std::string& sparisce) {
    return [sparisce](const fs::path& cartella, const std::string& nome) {
        if (nome != sparisce && fs::exists(cartella / sparisce))
            fs::remove(cartella / sparisce);
        return true;
    };
}

void PrintTo(const caso_descrizione& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class DescrizioneMancante : public ::testing::TestWithParam<caso_descrizione> {};

TEST_P(DescrizioneMancante, RunStopsBeforeAnyBinaryFile) {
    const caso_descrizione& caso = GetParam();
    banco b;
    installa_programma(b.cartella);
    const contenuti prima = scenario_precedente();
    scrivi_scenario(b.cartella, prima);

    esito_esecuzione esito;
    {
        const fs::path cartella = b.cartella;
        const auto sorveglianza = sorveglianza_aperture::avvia(
            cartella, [&](const std::string& nome) { return caso.decidi(cartella, nome); });
        if (!sorveglianza)
            GTEST_SKIP() << "this system offers no file access permission events (fanotify)";
        esito = esegui(b.cartella);
    }

    EXPECT_EQ(esito.stato, caso.stato) << esito.messaggi;
    const std::string atteso = caso.stato == 2 ? "Impossibile scrivere o leggere " +
                                                     b.cartella.string() + "/" + caso.messaggio
                                               : caso.messaggio;
    EXPECT_EQ(esito.messaggi, "Attendere\n" + atteso + "\n");
    verifica_fallimento(b, esito, prima, caso.ammessi);
    const contenuti dopo = leggi_cartella(b.cartella);
    for (const std::string& nome : file_binari)
        EXPECT_TRUE(dopo.at(nome) == prima.at(nome)) << nome << " was replaced";
}

INSTANTIATE_TEST_SUITE_P(
    Guasti, DescrizioneMancante,
    ::testing::Values(caso_descrizione{"LineDescriptionCannotBeRead",
                                       nega(descrizione_linea),
                                       2,
                                       descrizione_linea + ": permesso negato",
                                       {}},
                      caso_descrizione{"TrainDescriptionCannotBeRead",
                                       nega(descrizione_treno),
                                       2,
                                       descrizione_treno + ": permesso negato",
                                       {}},
                      // Without a line description the compile stops before it opens the train's.
                      caso_descrizione{
                          "LineDescriptionVanishes",
                          cancella_dopo_scrittura(descrizione_linea),
                          1,
                          "Errore 101: la descrizione della linea non esiste; nessun file binario "
                          "scritto",
                          {descrizione_treno}},
                      caso_descrizione{"TrainDescriptionVanishes",
                                       cancella_dopo_scrittura(descrizione_treno),
                                       2,
                                       descrizione_treno + ": file o cartella inesistente",
                                       {}}),
    [](const auto& info) { return std::string(info.param.nome); });

} // namespace
} // namespace corvenna
