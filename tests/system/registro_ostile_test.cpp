// The record of a set of files being replaced (`sostituzione_in_corso`) met in a folder where
// someone else, or something else, put it: a FIFO, a directory, a link, a loop of links, a record
// of another user, a record naming files no tool writes or an author's description. Every
// command refuses it at once, with the reason in Italian, and nothing of the folder changes; a
// reader goes on with a warning, or stops with --rigoroso. A record of the tools' own form,
// owned by the user, is finished, and a reader says so. Each case gives the exit status, the
// message and every entry of the folder before and after.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

// Every entry under `radice`, by its path relative to it: a regular file with its bytes, a link
// with where it leads, anything else with its kind. Links are never followed.
using cartella_vista = std::map<std::string, std::string>;

void guarda(const fs::path& radice, const fs::path& cartella, cartella_vista& voci) {
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        const std::string nome = voce.path().lexically_relative(radice).generic_string();
        const fs::file_status stato = fs::symlink_status(voce.path());
        if (fs::is_symlink(stato)) {
            voci[nome] = "<collegamento a " + fs::read_symlink(voce.path()).string() + ">";
        } else if (fs::is_regular_file(stato)) {
            voci[nome] = leggi_file(voce.path());
        } else if (fs::is_directory(stato)) {
            voci[nome] = "<cartella>";
            guarda(radice, voce.path(), voci);
        } else {
            voci[nome] = fs::is_fifo(stato) ? "<fifo>" : "<altro>";
        }
    }
}

cartella_vista guarda_tutto(const fs::path& radice) {
    cartella_vista voci;
    guarda(radice, radice, voci);
    return voci;
}

const std::string linea = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                          "pendenza,  0,  0\r\n[fine]\r\n";
const std::string registro = "sostituzione_in_corso";

// A scenario compiled into s/ (A_1000 with its plan view), its descriptions beside s/, and a
// file of the author's in s/.
void scenario(const fs::path& d) {
    scrivi_file(d / "A_linea.txt", linea);
    scrivi_file(d / "A_1000-.txt", treno_minimo());
    const esito_strumento esito =
        esegui_strumento(d, {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"});
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    scrivi_file(d / "s" / "appunti.txt", "mie note\r\n");
}

// The scenario of `scenario`, with `testo` as the record of s/.
std::function<void(const fs::path&)> con_registro(std::string testo) {
    return [testo](const fs::path& d) {
        scenario(d);
        scrivi_file(d / "s" / registro, testo);
    };
}

void con_fifo(const fs::path& d) {
    scenario(d);
    ASSERT_EQ(::mkfifo((d / "s" / registro).c_str(), 0600), 0);
}

void con_cartella(const fs::path& d) {
    scenario(d);
    fs::create_directory(d / "s" / registro);
}

// A link to a record that is well formed, and would remove the plan view.
void con_collegamento(const fs::path& d) {
    scenario(d);
    scrivi_file(d / "altrove.txt", "sostituzione 1\r\nC\tA_linea.dat\r\nfine\r\n");
    fs::create_symlink("../altrove.txt", d / "s" / registro);
}

void con_anello(const fs::path& d) {
    scenario(d);
    fs::create_symlink("anello", d / "s" / "anello");
    fs::create_symlink("anello", d / "s" / registro);
}

// A well-formed record that another user left, with the temporary it names: followed, it would
// put that user's content in place of the item file.
void con_registro_altrui(const fs::path& d) {
    scenario(d);
    scrivi_file(d / "s" / "A_1000.sim.tmp1-0", "contenuto altrui\r\n");
    scrivi_file(d / "s" / registro,
                "sostituzione 1\r\nR\tA_1000.sim.tmp1-0\tA_1000.sim\r\nfine\r\n");
    ASSERT_EQ(::lchown((d / "s" / registro).c_str(), 65534, 65534), 0);
    ASSERT_EQ(::lchown((d / "s" / "A_1000.sim.tmp1-0").c_str(), 65534, 65534), 0);
}

// The scenario's descriptions in s/ itself, and a record that removes one.
void con_descrizione_cancellata(const fs::path& d) {
    scenario(d);
    scrivi_file(d / "s" / "A_linea.txt", linea);
    scrivi_file(d / "s" / registro, "sostituzione 1\r\nC\tA_linea.txt\r\nfine\r\n");
}

struct caso_registro {
    const char* nome;
    std::function<void(const fs::path&)> prepara;
    std::vector<std::string> argomenti;
    int stato;
    std::string errori;
    // The entries the run changes, with what they hold afterwards (absent: removed).
    std::map<std::string, std::optional<std::string>> cambiati;
    bool solo_root = false;
};

void PrintTo(const caso_registro& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

const std::vector<std::string> ispeziona{"ispeziona", "s", "--formato", "csv", "--tabella", "voci"};
const std::vector<std::string> disegna_rigoroso{"disegna", "s", "--rigoroso", "-o", "a.html"};
const std::vector<std::string> compila{"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"};

// What a writer says of a refused record, and a reader.
std::string scrittore(const std::string& motivo) {
    return "0 errori, 0 avvisi\nscenario: impossibile leggere o scrivere "
           "s/sostituzione_in_corso: " +
           motivo + ": va esaminato e cancellato a mano\n";
}
std::string lettore(const std::string& motivo) {
    return "scenario: avviso: s/sostituzione_in_corso: una sostituzione interrotta non si e' "
           "potuta completare (" +
           motivo +
           ": va esaminato e cancellato a mano): i file possono venire da due compilazioni "
           "diverse\n";
}
std::string lettore_rigoroso(const std::string& motivo) {
    return "scenario: errore: s/sostituzione_in_corso: una sostituzione interrotta non si e' "
           "potuta completare (" +
           motivo +
           ": va esaminato e cancellato a mano): i file possono venire da due compilazioni "
           "diverse\nscenario: con --rigoroso uno scenario i cui file non sono della stessa "
           "compilazione non e' letto\n";
}

const std::string fifo = "non e' un file regolare: e' una FIFO";
const std::string collegamento = "non e' un file regolare: e' un collegamento simbolico";
const std::string illeggibile = "non e' un registro di sostituzione leggibile";

class RegistroOstile : public ::testing::TestWithParam<caso_registro> {};

TEST_P(RegistroOstile, IsRefusedAtOnceAndTouchesNothing) {
    const caso_registro& caso = GetParam();
    if (caso.solo_root && ::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const cartella_temporanea d;
    caso.prepara(d.percorso());
    if (HasFatalFailure())
        return;
    const cartella_vista prima = guarda_tutto(d.percorso());

    // A run that blocks is ended, and fails the case, rather than the test program.
    const esito_strumento esito =
        esegui_strumento(d.percorso(), caso.argomenti, {}, {"/usr/bin/timeout", "-k", "5", "20"});
    EXPECT_EQ(esito.stato, caso.stato) << esito.errori;
    EXPECT_EQ(esito.errori, caso.errori);

    cartella_vista atteso = prima;
    for (const auto& [nome, contenuto] : caso.cambiati) {
        if (contenuto)
            atteso[nome] = *contenuto;
        else
            atteso.erase(nome);
    }
    cartella_vista dopo = guarda_tutto(d.percorso());
    // The page a reader draws is its own output, not part of the folder's record.
    dopo.erase("a.html");
    EXPECT_EQ(dopo, atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, RegistroOstile,
    ::testing::Values(
        caso_registro{"AFifoStopsACompileAtOnce", con_fifo, compila, 2, scrittore(fifo), {}},
        caso_registro{"AFifoIsWarnedAboutByAReader", con_fifo, ispeziona, 0, lettore(fifo), {}},
        caso_registro{"AFifoIsRefusedByAStrictReader",
                      con_fifo,
                      disegna_rigoroso,
                      1,
                      lettore_rigoroso(fifo),
                      {}},
        caso_registro{
            "ADirectoryStopsACompile", con_cartella, compila, 2, scrittore("e' una cartella"), {}},
        caso_registro{"ALinkIsNotFollowedByACompile",
                      con_collegamento,
                      compila,
                      2,
                      scrittore(collegamento),
                      {}},
        caso_registro{"ALinkIsNotFollowedByAReader",
                      con_collegamento,
                      ispeziona,
                      0,
                      lettore(collegamento),
                      {}},
        caso_registro{"ALoopOfLinksIsRefusedInItalianByAStrictReader",
                      con_anello,
                      disegna_rigoroso,
                      1,
                      lettore_rigoroso(collegamento),
                      {}},
        caso_registro{"ARecordOfAnotherUserIsRefusedByAReader",
                      con_registro_altrui,
                      ispeziona,
                      0,
                      lettore("appartiene a un altro utente"),
                      {},
                      true},
        caso_registro{"ARecordOfAnotherUserIsRefusedByACompile",
                      con_registro_altrui,
                      compila,
                      2,
                      scrittore("appartiene a un altro utente"),
                      {},
                      true},
        caso_registro{"ARecordThatRemovesAFileNoToolWritesIsRefused",
                      con_registro("sostituzione 1\r\nC\tappunti.txt\r\nfine\r\n"),
                      ispeziona,
                      0,
                      lettore(illeggibile),
                      {}},
        caso_registro{"ARecordThatReplacesAFileNoToolWritesIsRefused",
                      [](const fs::path& d) {
                          con_registro("sostituzione 1\r\nR\tappunti.txt.tmp1-0\tappunti.txt\r\n"
                                       "fine\r\n")(d);
                          scrivi_file(d / "s" / "appunti.txt.tmp1-0", "altro\r\n");
                      },
                      disegna_rigoroso,
                      1,
                      lettore_rigoroso(illeggibile),
                      {}},
        caso_registro{"ARecordThatRemovesADescriptionIsRefused",
                      con_descrizione_cancellata,
                      ispeziona,
                      0,
                      lettore(illeggibile),
                      {}},
        caso_registro{"ARecordWithATemporaryOfAnotherFormIsRefused",
                      [](const fs::path& d) {
                          con_registro("sostituzione 1\r\nR\tA_1000.sim.tmp007-0\tA_1000.sim\r\n"
                                       "fine\r\n")(d);
                          scrivi_file(d / "s" / "A_1000.sim.tmp007-0", "altro\r\n");
                      },
                      compila,
                      2,
                      scrittore(illeggibile),
                      {}},
        // The tools' own record, left by a run killed between its renames: the plan view was
        // to go. A reader finishes it and says so.
        caso_registro{
            "ARecordOfTheToolsOwnFormIsFinishedAndTold",
            con_registro("sostituzione 1\r\nC\tA_linea.dat\r\nfine\r\n"),
            ispeziona,
            0,
            "scenario: s/sostituzione_in_corso: completata la sostituzione dei file "
            "che un'esecuzione interrotta aveva lasciato a meta'\n",
            {{"s/A_linea.dat", std::nullopt}, {"s/sostituzione_in_corso", std::nullopt}}}),
    [](const auto& info) { return std::string(info.param.nome); });

// The generator meets the record in its own folder, before it writes anything: a FIFO there
// ends it at once with its error, and the folder stays as it was.
TEST(RegistroOstile, AFifoStopsTheGeneratorAtOnce) {
    const cartella_temporanea d;
    installa_programma(d.percorso());
    ASSERT_EQ(::mkfifo((d.percorso() / registro).c_str(), 0600), 0);
    const contenuti prima = leggi_cartella(d.percorso());
    opzioni_esecuzione opzioni;
    opzioni.prefisso = {"timeout", "-k", "5", "20"};
    const esito_esecuzione esito = esegui(d.percorso(), opzioni);
    EXPECT_NE(esito.stato, 0);
    EXPECT_NE(esito.stato, 124) << "the generator blocked on the FIFO";
    EXPECT_NE(esito.messaggi.find("non e' un file regolare: e' una FIFO"), std::string::npos)
        << esito.messaggi;
    EXPECT_EQ(leggi_cartella(d.percorso()), prima);
}

} // namespace
} // namespace corvenna
