// `scenario controlla --watch` and `scenario disegna --watch` as an author uses them: started
// once, they check or draw again on every save of either description and of nothing else, and
// Ctrl-C ends them with status 0.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace corvenna::prova_sorveglia {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using prova::leggi_file;
using prova::scrivi_file;

const std::string linea = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                          "pendenza,  0,  3\r\n[fine]\r\n";
const std::string linea_errata = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                 "indicatore cartello,  99500,  TESTO\r\n[fine]\r\n";
const std::string treno = prova::treno_minimo();

// The tool's path, as the support runs it.
std::string percorso_strumento(const fs::path& cartella) {
    const auto r = esegui_strumento(cartella, {}, {}, {"/bin/sh", "-c", "printf %s \"$0\""});
    return r.uscita;
}

// How many times `testo` occurs in `in`.
std::size_t volte(const std::string& in, const std::string& testo) {
    std::size_t n = 0;
    for (std::size_t p = in.find(testo); p != std::string::npos; p = in.find(testo, p + 1))
        ++n;
    return n;
}

// Waits, with a generous limit, until `uscita` holds `n` runs' waiting line; true when it does.
bool attendi_giri(const fs::path& uscita, std::size_t n) {
    for (auto limite = std::chrono::steady_clock::now() + 30s;
         std::chrono::steady_clock::now() < limite; std::this_thread::sleep_for(20ms))
        if (volte(leggi_file(uscita), "in attesa di un salvataggio") >= n)
            return true;
    return false;
}

// Starts the tool with `argomenti` in the background, standard output and error into `uscita`.
pid_t avvia(const fs::path& cartella, std::vector<std::string> argomenti, const fs::path& uscita) {
    const std::string strumento = percorso_strumento(cartella);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, 1, uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&azioni, 1, 2);
    argomenti.insert(argomenti.begin(), strumento);
    std::vector<char*> argv;
    for (std::string& a : argomenti)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t figlio = 0;
    const int esito =
        posix_spawn(&figlio, strumento.c_str(), &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    return esito == 0 ? figlio : -1;
}

// Ctrl-C, then the status: 0 expected.
int interrompi(pid_t figlio) {
    kill(figlio, SIGINT);
    int stato = 0;
    if (waitpid(figlio, &stato, 0) != figlio || !WIFEXITED(stato))
        return -1;
    return WEXITSTATUS(stato);
}

TEST(Sorveglia, ChecksAgainOnEachSaveOfEitherFileAndEndsOnCtrlC) {
    cartella_temporanea d;
    const fs::path l = d.percorso() / "Prova_linea.txt";
    const fs::path t = d.percorso() / "Prova_1234-.txt";
    const fs::path uscita = d.percorso() / "uscita.txt";
    scrivi_file(l, linea_errata);
    scrivi_file(t, treno);
    const pid_t figlio =
        avvia(d.percorso(), {"controlla", l.string(), t.string(), "--watch"}, uscita);
    ASSERT_GT(figlio, 0);

    ASSERT_TRUE(attendi_giri(uscita, 1)) << leggi_file(uscita);
    EXPECT_NE(leggi_file(uscita).find("[codice 15]"), std::string::npos);
    // A save of another file of the folder is no save of the scenario.
    scrivi_file(d.percorso() / "appunti.txt", "x");
    std::this_thread::sleep_for(300ms);
    // The fix, saved: the check runs again and finds nothing.
    scrivi_file(l, linea);
    ASSERT_TRUE(attendi_giri(uscita, 2)) << leggi_file(uscita);
    EXPECT_EQ(volte(leggi_file(uscita), "0 errori, 0 avvisi"), 1u) << leggi_file(uscita);
    // The train saved too, by a rename into place as many editors save.
    scrivi_file(d.percorso() / "nuovo.tmp", treno);
    fs::rename(d.percorso() / "nuovo.tmp", t);
    ASSERT_TRUE(attendi_giri(uscita, 3)) << leggi_file(uscita);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(volte(leggi_file(uscita), "in attesa di un salvataggio"), 3u) << leggi_file(uscita);

    EXPECT_EQ(interrompi(figlio), 0);
}

TEST(Sorveglia, DrawsThePageAgainOnEachSaveOfTheDescriptions) {
    cartella_temporanea d;
    const fs::path l = d.percorso() / "Prova_linea.txt";
    const fs::path t = d.percorso() / "Prova_1234-.txt";
    const fs::path pagina = d.percorso() / "pagina.html";
    const fs::path uscita = d.percorso() / "uscita.txt";
    scrivi_file(l, linea);
    scrivi_file(t, treno);
    const pid_t figlio =
        avvia(d.percorso(), {"disegna", l.string(), t.string(), "-o", pagina.string(), "--watch"},
              uscita);
    ASSERT_GT(figlio, 0);
    ASSERT_TRUE(attendi_giri(uscita, 1)) << leggi_file(uscita);
    EXPECT_NE(leggi_file(uscita).find("pagina disegnata: " + pagina.string()), std::string::npos)
        << leggi_file(uscita);
    const std::string prima = leggi_file(pagina);
    EXPECT_EQ(prima.find("TORRE"), std::string::npos);
    // A board added to the line and saved: the page is drawn again and shows it.
    scrivi_file(l, "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                   "pendenza,  0,  3\r\ncartello_indicatore,  4000,  TORRE\r\n[fine]\r\n");
    ASSERT_TRUE(attendi_giri(uscita, 2)) << leggi_file(uscita);
    EXPECT_NE(leggi_file(uscita).find("pagina disegnata di nuovo"), std::string::npos);
    EXPECT_NE(leggi_file(pagina).find("TORRE"), std::string::npos);
    // A line that no longer compiles: told, the earlier page kept, the watch goes on.
    scrivi_file(l, linea_errata);
    ASSERT_TRUE(attendi_giri(uscita, 3)) << leggi_file(uscita);
    EXPECT_NE(leggi_file(uscita).find("[codice 15]"), std::string::npos) << leggi_file(uscita);
    EXPECT_NE(leggi_file(pagina).find("TORRE"), std::string::npos);
    EXPECT_EQ(interrompi(figlio), 0);

    const auto standard =
        esegui_strumento(d.percorso(), {"disegna", l.string(), t.string(), "-o", "-", "--watch"});
    EXPECT_EQ(standard.stato, 64);
    EXPECT_NE(standard.errori.find("--watch scrive la pagina in un file"), std::string::npos);
}

// Waits, with a generous limit, until `uscita` holds `testo` `n` times; true when it does.
bool attendi_testo(const fs::path& uscita, const std::string& testo, std::size_t n) {
    for (auto limite = std::chrono::steady_clock::now() + 30s;
         std::chrono::steady_clock::now() < limite; std::this_thread::sleep_for(20ms))
        if (volte(leggi_file(uscita), testo) >= n)
            return true;
    return false;
}

struct caso_cartella {
    const char* nome;
    // The command's words after the tool's, given the two descriptions and the folder of the
    // test.
    std::vector<std::string> (*argomenti)(const fs::path& linea, const fs::path& treno,
                                          const fs::path& cartella);
    // What a run that read both descriptions says.
    std::string riuscita;
};

void PrintTo(const caso_cartella& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class SorvegliaCartella : public ::testing::TestWithParam<caso_cartella> {};

// The watch follows the folder's path: the folder renamed away is told, what is saved in it
// there is not a save, and the folder that comes back (renamed back, or removed and made anew)
// runs the command again.
TEST_P(SorvegliaCartella, FollowsTheFolderWhenRenamedOrRemovedAndMadeAgain) {
    const caso_cartella& caso = GetParam();
    cartella_temporanea d;
    const fs::path sub = d.percorso() / "descrizioni";
    const fs::path altrove = d.percorso() / "altrove";
    const fs::path l = sub / "Prova_linea.txt";
    const fs::path t = sub / "Prova_1234-.txt";
    const fs::path uscita = d.percorso() / "uscita.txt";
    fs::create_directory(sub);
    scrivi_file(l, linea);
    scrivi_file(t, treno);
    const pid_t figlio = avvia(d.percorso(), caso.argomenti(l, t, d.percorso()), uscita);
    ASSERT_GT(figlio, 0);
    ASSERT_TRUE(attendi_giri(uscita, 1)) << leggi_file(uscita);
    EXPECT_EQ(volte(leggi_file(uscita), caso.riuscita), 1u) << leggi_file(uscita);

    const std::string scomparsa = "scenario: la cartella " + sub.string() +
                                  " non c'e' piu' (rinominata o rimossa): la sorveglianza "
                                  "riprende quando torna (Ctrl-C per finire)\n";
    fs::rename(sub, altrove);
    ASSERT_TRUE(attendi_testo(uscita, scomparsa, 1)) << leggi_file(uscita);
    // A save in the folder at its new path is no save of the files watched.
    scrivi_file(altrove / "Prova_linea.txt", linea);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(volte(leggi_file(uscita), "in attesa di un salvataggio"), 1u) << leggi_file(uscita);

    // Renamed back: the command runs again, and the watch goes on there.
    fs::rename(altrove, sub);
    ASSERT_TRUE(attendi_giri(uscita, 2)) << leggi_file(uscita);
    EXPECT_EQ(volte(leggi_file(uscita), caso.riuscita), 2u) << leggi_file(uscita);
    scrivi_file(l, linea);
    ASSERT_TRUE(attendi_giri(uscita, 3)) << leggi_file(uscita);

    // Removed, then made anew with its files, as a checkout does.
    fs::remove_all(sub);
    ASSERT_TRUE(attendi_testo(uscita, scomparsa, 2)) << leggi_file(uscita);
    const std::size_t riuscite = volte(leggi_file(uscita), caso.riuscita);
    fs::create_directory(sub);
    scrivi_file(l, linea);
    scrivi_file(t, treno);
    ASSERT_TRUE(attendi_testo(uscita, caso.riuscita, riuscite + 1)) << leggi_file(uscita);

    EXPECT_EQ(interrompi(figlio), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Comandi, SorvegliaCartella,
    ::testing::Values(
        caso_cartella{
            "Controlla",
            [](const fs::path& l, const fs::path& t, const fs::path&) {
                return std::vector<std::string>{"controlla", l.string(), t.string(), "--watch"};
            },
            "0 errori, 0 avvisi"},
        caso_cartella{"Disegna",
                      [](const fs::path& l, const fs::path& t, const fs::path& d) {
                          return std::vector<std::string>{
                              "disegna", l.string(), t.string(), "-o", (d / "pagina.html").string(),
                              "--watch"};
                      },
                      "pagina disegnata"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Sorveglia, StandardInputIsReadButNotWatched) {
    cartella_temporanea d;
    scrivi_file(d.percorso() / "Prova_1234-.txt", treno);
    scrivi_file(d.percorso() / "ingresso.txt", linea_errata);
    const auto letta = esegui_strumento(
        d.percorso(), {"controlla", "-", "Prova_1234-.txt", "--nome", "Prova", "--treno", "1234"},
        {}, {"/bin/sh", "-c", "exec \"$0\" \"$@\" < ingresso.txt"});
    EXPECT_EQ(letta.stato, 1);
    EXPECT_NE(letta.errori.find("-:4:23: errore: posizione 99500"), std::string::npos)
        << letta.errori;
    const auto sorvegliata =
        esegui_strumento(d.percorso(), {"controlla", "-", "Prova_1234-.txt", "--nome", "Prova",
                                        "--treno", "1234", "--watch"});
    EXPECT_EQ(sorvegliata.stato, 64);
    const auto due = esegui_strumento(
        d.percorso(), {"controlla", "-", "-", "--nome", "Prova", "--treno", "1234"});
    EXPECT_EQ(due.stato, 64);
}

} // namespace
} // namespace corvenna::prova_sorveglia
