// The tool's refusals that come before anything is written: an output that is not a regular file
// or a free name, an output that is a file the command reads, an input that is not a regular
// file, an identity that cannot name files. Each ends with its exact message and status, and
// every entry of the working directory (its kind, its bytes, where a link leads) is as it was.

#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;

// A short line and its train that compile cleanly.
const std::string linea_corta = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                "pendenza,  0,  3\r\n[fine]\r\n";
const std::string treno_corto = "[generale]\r\nvelocita,  0,  75\r\n[fine]\r\n";

// Every entry under `cartella`, by its path there: a regular file with its bytes, a link with
// where it leads, any other entry with its kind.
std::map<std::string, std::string> fotografia(const fs::path& cartella) {
    std::map<std::string, std::string> voci;
    for (const auto& voce : fs::recursive_directory_iterator(cartella)) {
        const fs::path& p = voce.path();
        const std::string nome = p.lexically_relative(cartella).string();
        const fs::file_status stato = fs::symlink_status(p);
        if (fs::is_symlink(stato))
            voci[nome] = "collegamento a " + fs::read_symlink(p).string();
        else if (fs::is_regular_file(stato))
            voci[nome] = "file: " + prova::leggi_file(p);
        else if (fs::is_directory(stato))
            voci[nome] = "cartella";
        else if (fs::is_fifo(stato))
            voci[nome] = "fifo";
        else
            voci[nome] = "altro";
    }
    return voci;
}

// The generator's scenario and two clean descriptions, Prova_linea.txt and Prova_1234-.txt.
void cartella_di_lavoro(const fs::path& c) {
    for (const std::string& nome : prova::file_binari)
        prova::scrivi_file(c / nome, prova::scenario_di_riferimento().at(nome));
    prova::scrivi_file(c / "Prova_linea.txt", linea_corta);
    prova::scrivi_file(c / "Prova_1234-.txt", treno_corto);
}

void crea_fifo(const fs::path& percorso) {
    ASSERT_EQ(::mkfifo(percorso.c_str(), 0600), 0) << percorso;
}

struct caso_scrittura {
    const char* nome;
    std::function<void(const fs::path&)> prepara;
    std::vector<std::string> argomenti;
    int stato;
    std::string errori;
};

class ScritturaSicura : public testing::TestWithParam<caso_scrittura> {};

TEST_P(ScritturaSicura, RefusedBeforeAnythingChanges) {
    const caso_scrittura& caso = GetParam();
    const cartella_temporanea cartella;
    cartella_di_lavoro(cartella.percorso());
    caso.prepara(cartella.percorso());
    const auto prima = fotografia(cartella.percorso());

    const prova::esito_strumento esito = esegui_strumento(cartella.percorso(), caso.argomenti);

    EXPECT_EQ(esito.stato, caso.stato);
    EXPECT_EQ(esito.errori, caso.errori);
    EXPECT_EQ(esito.uscita, "");
    EXPECT_TRUE(fotografia(cartella.percorso()) == prima) << "the directory changed";
}

void nulla_da_aggiungere(const fs::path&) {}

const std::string aiuto_generale = "Per l'aiuto: scenario --help\n";
const std::string aiuto_ispeziona = "Per l'aiuto: scenario ispeziona --help\n";
const std::string aiuto_compila = "Per l'aiuto: scenario compila --help\n";
const std::string solo_file_regolari =
    ": si scrive solo in un file regolare o in un nome nuovo (- per lo standard output)\n";
const std::string illeggibile = "scenario: impossibile leggere o scrivere ";
const std::string numero_non_valido =
    "\" non e' valido: servono quattro cifre (come 0042 o 7381)\n";
// A name one byte too long: the longest derived name would have 256 bytes.
const std::string nome_lungo(233, 'n');

INSTANTIATE_TEST_SUITE_P(
    Strumento, ScritturaSicura,
    testing::Values(
        // The output: only a regular file or a free name.
        caso_scrittura{"OutputFifo",
                       [](const fs::path& c) { crea_fifo(c / "uscita.json"); },
                       {"ispeziona", ".", "-o", "uscita.json"},
                       64,
                       "scenario: -o uscita.json: e' una FIFO" + solo_file_regolari +
                           aiuto_ispeziona},
        caso_scrittura{"OutputLinkToADevice",
                       [](const fs::path& c) { fs::create_symlink("/dev/null", c / "nulla"); },
                       {"ispeziona", ".", "-o", "nulla"},
                       64,
                       "scenario: -o nulla: e' un collegamento simbolico" + solo_file_regolari +
                           aiuto_ispeziona},
        caso_scrittura{"OutputLinkToAFile",
                       [](const fs::path& c) {
                           prova::scrivi_file(c / "vera.html", "pagina");
                           fs::create_symlink("vera.html", c / "pagina.html");
                       },
                       {"disegna", ".", "-o", "pagina.html"},
                       64,
                       "scenario: -o pagina.html: e' un collegamento simbolico" +
                           solo_file_regolari + aiuto_generale},
        caso_scrittura{"OutputDanglingLink",
                       [](const fs::path& c) { fs::create_symlink("manca/x", c / "pendente"); },
                       {"disegna", ".", "-o", "pendente"},
                       64,
                       "scenario: -o pendente: e' un collegamento simbolico" + solo_file_regolari +
                           aiuto_generale},
        caso_scrittura{"OutputDirectory",
                       [](const fs::path& c) { fs::create_directory(c / "sotto"); },
                       {"ispeziona", ".", "-o", "sotto"},
                       64,
                       "scenario: -o sotto: e' una cartella" + solo_file_regolari +
                           aiuto_ispeziona},
        caso_scrittura{"DefaultPageNameIsAFifo",
                       [](const fs::path& c) { crea_fifo(c / "Corvenna_7381.html"); },
                       {"disegna", "."},
                       64,
                       "scenario: la pagina Corvenna_7381.html: e' una FIFO" + solo_file_regolari +
                           aiuto_generale},
        // The output: never a file the command reads.
        caso_scrittura{
            "OutputIsTheItemFileRead",
            nulla_da_aggiungere,
            {"ispeziona", "Corvenna_7381.sim", "Corvenna_7381.dat", "-o", "Corvenna_7381.sim"},
            64,
            "scenario: -o Corvenna_7381.sim: e' lo stesso file di Corvenna_7381.sim, "
            "che il comando legge: indicare un altro file\n" +
                aiuto_ispeziona},
        caso_scrittura{"OutputIsThePlanViewFoundInTheDirectory",
                       nulla_da_aggiungere,
                       {"disegna", ".", "-o", "Corvenna_linea.dat"},
                       64,
                       "scenario: -o Corvenna_linea.dat: e' lo stesso file di "
                       "./Corvenna_linea.dat, che il comando legge: indicare un altro file\n" +
                           aiuto_generale},
        caso_scrittura{
            "OutputIsAHardLinkOfTheCellFile",
            [](const fs::path& c) {
                fs::create_hard_link(c / "Corvenna_7381.dat", c / "celle.csv");
            },
            {"ispeziona", ".", "--formato", "csv", "--tabella", "celle", "-o", "celle.csv"},
            64,
            "scenario: -o celle.csv: e' lo stesso file di ./Corvenna_7381.dat, che il "
            "comando legge: indicare un altro file\n" +
                aiuto_ispeziona},
        // compila: never over a description it reads.
        caso_scrittura{
            "CompileOverItsTrainDescription",
            [](const fs::path& c) { prova::scrivi_file(c / "A_0001.sim", treno_corto); },
            {"compila", "Prova_linea.txt", "A_0001.sim", "--nome", "A", "--treno", "0001"},
            64,
            "scenario: il file da scrivere ./A_0001.sim e' la descrizione A_0001.sim, "
            "che il comando legge: indicare un'altra cartella (-o) o un'altra "
            "identita' (--nome, --treno)\n" +
                aiuto_compila},
        caso_scrittura{"CompileOverALinkOfItsLineDescription",
                       [](const fs::path& c) {
                           fs::create_directory(c / "out");
                           fs::create_hard_link(c / "Prova_linea.txt", c / "out" / "A_linea.dat");
                       },
                       {"compila", "Prova_linea.txt", "Prova_1234-.txt", "--nome", "A", "--treno",
                        "0001", "-o", "out"},
                       64,
                       "scenario: il file da scrivere out/A_linea.dat e' la descrizione "
                       "Prova_linea.txt, che il comando legge: indicare un'altra cartella (-o) o "
                       "un'altra identita' (--nome, --treno)\n" +
                           aiuto_compila},
        // Inputs that are not regular files end the run at once.
        caso_scrittura{"ItemFileIsAFifo",
                       [](const fs::path& c) { crea_fifo(c / "fifo.sim"); },
                       {"ispeziona", "fifo.sim", "Corvenna_7381.dat"},
                       2,
                       illeggibile + "fifo.sim: non e' un file regolare: e' una FIFO\n"},
        caso_scrittura{"CellFileFoundByNameIsAFifo",
                       [](const fs::path& c) {
                           fs::create_directory(c / "s");
                           prova::scrivi_file(
                               c / "s" / "X_0001.sim",
                               prova::scenario_di_riferimento().at("Corvenna_7381.sim"));
                           crea_fifo(c / "s" / "X_0001.dat");
                       },
                       {"disegna", "s"},
                       2,
                       illeggibile + "s/X_0001.dat: non e' un file regolare: e' una FIFO\n"},
        caso_scrittura{
            "LineDescriptionIsAFifo",
            [](const fs::path& c) { crea_fifo(c / "F_linea.txt"); },
            {"controlla", "F_linea.txt", "Prova_1234-.txt", "--nome", "F", "--treno", "1234"},
            2,
            illeggibile + "F_linea.txt: non e' un file regolare: e' una FIFO\n"},
        caso_scrittura{
            "TrainDescriptionIsAnEndlessDevice",
            [](const fs::path& c) { fs::create_symlink("/dev/zero", c / "Z_1234-.txt"); },
            {"compila", "Prova_linea.txt", "Z_1234-.txt", "--nome", "Z", "--treno", "1234"},
            2,
            illeggibile + "Z_1234-.txt: non e' un file regolare: e' un dispositivo\n"},
        // One check of the identity, before any file is read or written.
        caso_scrittura{"TrainNumberNotDigits",
                       nulla_da_aggiungere,
                       {"compila", "Prova_linea.txt", "Prova_1234-.txt", "--treno", "abc"},
                       64,
                       "scenario: il numero del treno \"abc" + numero_non_valido + aiuto_compila},
        caso_scrittura{"TrainNumberNegative",
                       nulla_da_aggiungere,
                       {"controlla", "Prova_linea.txt", "Prova_1234-.txt", "--treno=-5"},
                       64,
                       "scenario: il numero del treno \"-5" + numero_non_valido +
                           "Per l'aiuto: scenario controlla --help\n"},
        caso_scrittura{"TrainNumberWithAPoint",
                       nulla_da_aggiungere,
                       {"ispeziona", ".", "--nome", "Corvenna", "--treno", "1.5"},
                       64,
                       "scenario: il numero del treno \"1.5" + numero_non_valido + aiuto_ispeziona},
        caso_scrittura{
            "TrainNumberFromTheFileNames",
            [](const fs::path& c) { prova::scrivi_file(c / "Prova_42-.txt", treno_corto); },
            {"compila", "Prova_linea.txt", "Prova_42-.txt"},
            64,
            "scenario: il numero del treno \"42" + numero_non_valido + aiuto_compila},
        caso_scrittura{"NameLeavesTheDirectory",
                       [](const fs::path& c) { fs::create_directory(c / "x"); },
                       {"ispeziona", "x", "--nome", "../Corvenna", "--treno", "7381"},
                       64,
                       "scenario: il nome dello scenario \"../Corvenna\" non puo' dare nomi di "
                       "file: contiene il carattere '/' (vietati: / \\ : * ? \" < > |)\n" +
                           aiuto_ispeziona},
        caso_scrittura{"NameIsAWindowsDevice",
                       nulla_da_aggiungere,
                       {"disegna", ".", "--nome", "nul", "--treno", "7381"},
                       64,
                       "scenario: il nome dello scenario \"nul\" non puo' dare nomi di file: e' "
                       "un nome che Windows riserva ai dispositivi (CON, PRN, AUX, NUL, COM1-9, "
                       "LPT1-9)\n" +
                           aiuto_generale},
        caso_scrittura{"NameTooLongForTheLongestFile",
                       nulla_da_aggiungere,
                       {"compila", "Prova_linea.txt", "Prova_1234-.txt", "--nome", nome_lungo},
                       64,
                       "scenario: il nome dello scenario \"" + nome_lungo +
                           "\" e' troppo lungo: il nome di file " + nome_lungo +
                           "_1234_rallentamenti.txt avrebbe 256 byte, il massimo e' 255\n" +
                           aiuto_compila},
        // The reasons of the system, in Italian.
        caso_scrittura{"MissingInput",
                       nulla_da_aggiungere,
                       {"ispeziona", "manca.sim", "Corvenna_7381.dat"},
                       2,
                       illeggibile + "manca.sim: file o cartella inesistente\n"},
        caso_scrittura{"OutputInAMissingDirectory",
                       nulla_da_aggiungere,
                       {"ispeziona", ".", "-o", "manca/uscita.json"},
                       2,
                       illeggibile + "manca: file o cartella inesistente\n"}),
    [](const testing::TestParamInfo<caso_scrittura>& info) {
        return std::string(info.param.nome);
    });

// "-" is standard output, for both commands that take -o; the directory is left as it was.
TEST(ScritturaSicura, DashIsStandardOutput) {
    const cartella_temporanea cartella;
    cartella_di_lavoro(cartella.percorso());
    const auto prima = fotografia(cartella.percorso());
    const auto json = esegui_strumento(cartella.percorso(), {"ispeziona", ".", "-o", "-"});
    EXPECT_EQ(json.stato, 0) << json.errori;
    EXPECT_TRUE(json.uscita.starts_with("{")) << json.uscita.substr(0, 80);
    const auto pagina = esegui_strumento(cartella.percorso(), {"disegna", ".", "-o", "-"});
    EXPECT_EQ(pagina.stato, 0) << pagina.errori;
    EXPECT_TRUE(pagina.uscita.starts_with("<!DOCTYPE html>")) << pagina.uscita.substr(0, 80);
    EXPECT_TRUE(fotografia(cartella.percorso()) == prima);
}

} // namespace
} // namespace corvenna
