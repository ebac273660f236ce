// A scenario written and read as one set of files, through the tool: a compile that fails on its
// last file leaves the earlier scenario whole, a compile without a plan view takes the earlier
// one away, the template is never written over an author's edits unless asked, and a set that
// does not belong together is said (and refused with --rigoroso). In each case the exit status and
// the message are exact, and nothing that existed before the run and should stay changes.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

using cartella_letta = std::map<std::string, std::string>;

// Every file under `radice`, by its path relative to it; the tool's logs beside it are not there.
cartella_letta leggi_tutto(const fs::path& radice) {
    cartella_letta file;
    for (const auto& voce : fs::recursive_directory_iterator(radice))
        if (voce.is_regular_file())
            file[fs::relative(voce.path(), radice).generic_string()] = leggi_file(voce.path());
    return file;
}

const std::string linea_10km = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                               "pendenza,  0,  0\r\n[fine]\r\n";
const std::string linea_20km = "[generale]\r\nlunghezza percorso,  20000\r\n[righe]\r\n"
                               "pendenza,  0,  5\r\n[fine]\r\n";
const std::string treno = prova::treno_minimo();

struct caso_insieme {
    const char* nome;
    // Prepares the directory; runs the tool where it needs an earlier scenario.
    std::function<void(const fs::path&)> prepara;
    std::vector<std::string> argomenti;
    // A command that runs the tool, such as a limit on the file size.
    std::vector<std::string> prefisso;
    int stato;
    std::string errori;
    // The files the run may change (relative paths); every other one stays as it was.
    std::vector<std::string> cambiati;
    // What the changed files hold afterwards: a path and whether it exists.
    std::map<std::string, bool> esistenti;
};

void PrintTo(const caso_insieme& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

void compila(const fs::path& d, const std::vector<std::string>& argomenti) {
    const esito_strumento esito = esegui_strumento(d, argomenti);
    ASSERT_EQ(esito.stato, 0) << esito.errori;
}

// Two trains of one scenario name: A_1000 on a 10 km line, then A_2000 on a 20 km line, whose
// plan view replaces the 10 km one.
void due_treni(const fs::path& d) {
    scrivi_file(d / "A_linea.txt", linea_10km);
    scrivi_file(d / "A_1000-.txt", treno);
    compila(d, {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"});
    scrivi_file(d / "A_linea.txt", linea_20km);
    scrivi_file(d / "A_2000-.txt", treno);
    compila(d, {"compila", "A_linea.txt", "A_2000-.txt", "-o", "s"});
}

// A compiled scenario, s/A_1000, beside a record of renames that is not one: a removal of the item
// file with no header and no end.
void scenario_e_registro_guasto(const fs::path& d) {
    scrivi_file(d / "A_linea.txt", linea_10km);
    scrivi_file(d / "A_1000-.txt", treno);
    compila(d, {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"});
    scrivi_file(d / "s" / "sostituzione_in_corso", "C\tA_1000.sim\r\n");
}

const std::string piano_altrui =
    "s/A_linea.dat: e' la planimetria di un percorso di 20000 m, non di questo (10000 m): viene "
    "da un'altra compilazione ed e' ignorata\n";

class ScenarioIntero : public ::testing::TestWithParam<caso_insieme> {};

TEST_P(ScenarioIntero, SaysWhatAndChangesNothingElse) {
    const caso_insieme& caso = GetParam();
    const cartella_temporanea d;
    caso.prepara(d.percorso());
    if (HasFatalFailure())
        return;
    const cartella_letta prima = leggi_tutto(d.percorso());

    const esito_strumento esito = esegui_strumento(d.percorso(), caso.argomenti, {}, caso.prefisso);
    EXPECT_EQ(esito.stato, caso.stato) << esito.errori;
    EXPECT_EQ(esito.errori, caso.errori);

    cartella_letta dopo = leggi_tutto(d.percorso());
    for (const auto& [nome, esiste] : caso.esistenti)
        EXPECT_EQ(dopo.contains(nome), esiste) << nome;
    cartella_letta resto_prima = prima;
    for (const std::string& nome : caso.cambiati) {
        resto_prima.erase(nome);
        dopo.erase(nome);
    }
    EXPECT_TRUE(dopo == resto_prima) << "a file that should stay changed";
}

INSTANTIATE_TEST_SUITE_P(
    Casi, ScenarioIntero,
    ::testing::Values(
        // The second file of three is larger than the process may write: the earlier scenario
        // stays whole, the new item file that was complete never takes its name.
        caso_insieme{"ACompileThatFailsOnALaterFileLeavesTheEarlierScenario",
                     [](const fs::path& d) {
                         scrivi_file(d / "A_linea.txt", linea_20km);
                         scrivi_file(d / "A_1000-.txt", treno);
                         compila(d, {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s",
                                     "--senza-planimetria"});
                         scrivi_file(d / "A_linea.txt", linea_10km);
                     },
                     {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s", "--senza-planimetria"},
                     {"/usr/bin/prlimit", "--fsize=4000"},
                     2,
                     "0 errori, 0 avvisi\nscenario: impossibile leggere o scrivere "
                     "s/A_1000.dat: file troppo grande (oltre il limite dei file del processo)\n",
                     {},
                     {{"s/A_1000.sim", true}, {"s/A_1000.dat", true}}},
        caso_insieme{"ACompileWithoutPlanViewRemovesTheEarlierOne",
                     [](const fs::path& d) {
                         scrivi_file(d / "A_linea.txt", linea_10km);
                         scrivi_file(d / "A_1000-.txt", treno);
                         compila(d, {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"});
                     },
                     {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s", "--senza-planimetria"},
                     {},
                     0,
                     "0 errori, 0 avvisi\nscenario: s/A_linea.dat rimosso: era la planimetria di "
                     "una compilazione precedente e questa non ne ha\n",
                     {"s/A_linea.dat", "s/A_1000.sim", "s/A_1000.dat", "s/A_1000_note.txt"},
                     {{"s/A_linea.dat", false}, {"s/A_1000.sim", true}}},
        caso_insieme{"ExportKeepsAnAuthorsEditedTemplate",
                     [](const fs::path& d) {
                         compila(d, {"esporta", "m"});
                         scrivi_file(d / "m" / "Corvenna_7381-.txt", "mio\r\n");
                         fs::remove(d / "m" / "Corvenna_7381_note.txt");
                     },
                     {"esporta", "m"},
                     {},
                     64,
                     "scenario: m contiene gia' file del modello (Corvenna_linea.txt, "
                     "Corvenna_7381-.txt, Corvenna_7381_rallentamenti.txt, "
                     "Corvenna_7381_scheda_treno.txt): nulla e' stato scritto; per sostituirli: "
                     "scenario esporta --sovrascrivi m\n",
                     {},
                     {{"m/Corvenna_7381_note.txt", false}}},
        caso_insieme{"ExportOverwritesWhenAsked",
                     [](const fs::path& d) {
                         compila(d, {"esporta", "m"});
                         scrivi_file(d / "m" / "Corvenna_7381-.txt", "mio\r\n");
                     },
                     {"esporta", "m", "--sovrascrivi"},
                     {},
                     0,
                     "",
                     {"m/Corvenna_7381-.txt"},
                     {{"m/Corvenna_7381-.txt", true}}},
        // A record of renames that is not one (edited by hand): the tool touches nothing it
        // names, reads the files as they are with a warning, and writes nothing there.
        caso_insieme{"ARecordThatIsNotOneIsWarnedAboutWhenReading",
                     scenario_e_registro_guasto,
                     {"ispeziona", "s", "--formato", "csv", "--tabella", "voci"},
                     {},
                     0,
                     "scenario: avviso: s/sostituzione_in_corso: una sostituzione interrotta non "
                     "si e' potuta completare (non e' un registro di sostituzione leggibile: va "
                     "esaminato e cancellato a mano): i file possono venire da due compilazioni "
                     "diverse\n",
                     {},
                     {{"s/A_1000.sim", true}}},
        caso_insieme{"ARecordThatIsNotOneStopsACompile",
                     scenario_e_registro_guasto,
                     {"compila", "A_linea.txt", "A_1000-.txt", "-o", "s"},
                     {},
                     2,
                     "0 errori, 0 avvisi\nscenario: impossibile leggere o scrivere "
                     "s/sostituzione_in_corso: non e' un registro di sostituzione leggibile: va "
                     "esaminato e cancellato a mano\n",
                     {},
                     {}},
        caso_insieme{"APlanViewOfAnotherRouteIsLeftOutWithAWarning",
                     due_treni,
                     {"ispeziona", "s", "--nome", "A", "--treno", "1000", "--formato", "csv",
                      "--tabella", "voci"},
                     {},
                     0,
                     "scenario: avviso: " + piano_altrui,
                     {},
                     {}},
        caso_insieme{
            "APlanViewOfAnotherRouteIsRefusedWhenStrict",
            due_treni,
            {"disegna", "s", "--nome", "A", "--treno", "1000", "--rigoroso", "-o", "a.html"},
            {},
            1,
            "scenario: errore: s/A_linea.dat: e' la planimetria di un percorso di "
            "20000 m, non di questo (10000 m): viene da un'altra compilazione ed e' "
            "ignorata\nscenario: con --rigoroso uno scenario i cui file non sono della "
            "stessa compilazione non e' letto\n",
            {},
            {{"a.html", false}}}),
    [](const auto& info) { return std::string(info.param.nome); });

} // namespace
} // namespace corvenna
