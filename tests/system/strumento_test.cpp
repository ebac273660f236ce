#include "support/documenti_in_cartella.hpp"
#include "support/strumento_di_prova.hpp"

#include "model/costruzione.hpp"
#include "scenario/dati_documenti.hpp"
#include "support/programma_di_prova.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using prova::leggi_cartella;
using prova::leggi_file;
using prova::scrivi_file;

// A short line and its train that compile cleanly.
const std::string linea_pulita = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                 "pendenza,  0,  3\r\n[fine]\r\n";
const std::string treno_pulito = prova::treno_minimo();
// A sign beyond the end of the route: code 15 on line 4.
const std::string linea_errata = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                 "indicatore cartello,  99500,  TESTO\r\n[fine]\r\n";

struct autore {
    cartella_temporanea d;
    fs::path linea() const { return d.percorso() / "src" / "Prova_linea.txt"; }
    fs::path treno() const { return d.percorso() / "src" / "Prova_1234-.txt"; }
    fs::path uscita() const { return d.percorso() / "out"; }

    explicit autore(const std::string& testo_linea = linea_pulita,
                    const std::string& testo_treno = treno_pulito) {
        fs::create_directories(d.percorso() / "src");
        scrivi_file(linea(), testo_linea);
        scrivi_file(treno(), testo_treno);
    }
    prova::esito_strumento esegui(std::vector<std::string> argomenti) const {
        return esegui_strumento(d.percorso(), argomenti);
    }
    prova::esito_strumento compila(std::vector<std::string> altri = {}) const {
        std::vector<std::string> a{"compila", linea().string(), treno().string(), "-o",
                                   uscita().string()};
        a.insert(a.end(), altri.begin(), altri.end());
        return esegui(a);
    }
};

TEST(Strumento, ExportThenCompileGivesTheGeneratorsFiles) {
    cartella_temporanea d;
    const auto esportato = esegui_strumento(d.percorso(), {"esporta", "D"});
    ASSERT_EQ(esportato.stato, 0) << esportato.errori;

    // The exported files are the ones the generator's writers put down.
    const fs::path scritti = d.percorso() / "scritti";
    fs::create_directories(scritti);
    costruzione c;
    c.nome_scenario = "Corvenna";
    c.numero_treno = "7381";
    for (const documento_scenario& documento : documenti_scenario)
        prova::scrivi_documento(c, scritti, documento);
    EXPECT_EQ(leggi_cartella(d.percorso() / "D"), leggi_cartella(scritti));

    const auto compilato = esegui_strumento(
        d.percorso(), {"compila", "D/Corvenna_linea.txt", "D/Corvenna_7381-.txt", "-o", "O"});
    ASSERT_EQ(compilato.stato, 0) << compilato.errori;
    // The scenario's two warnings: the last section's time below its lower bound, and a
    // signal's approach marker over a station's.
    EXPECT_TRUE(compilato.errori.ends_with("0 errori, 2 avvisi\n")) << compilato.errori;
    // The binary files and the driver's three documents.
    const prova::contenuti binari = leggi_cartella(d.percorso() / "O");
    ASSERT_EQ(binari.size(), 6u);
    for (const std::string& nome : prova::file_binari)
        EXPECT_TRUE(binari.at(nome) == prova::scenario_di_riferimento().at(nome)) << nome;
}

TEST(Strumento, TheAuthorsFilesStayAsTheyWere) {
    for (const std::string& linea : {linea_pulita, linea_errata}) {
        const autore a(linea);
        a.compila();
        EXPECT_EQ(leggi_file(a.linea()), linea);
        EXPECT_EQ(leggi_file(a.treno()), treno_pulito);
        EXPECT_EQ(leggi_cartella(a.d.percorso() / "src").size(), 2u);
    }
}

TEST(Strumento, CompileWritesTheBinaryFilesNamedByTheIdentity) {
    const autore a;
    const auto esito = a.compila();
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const prova::contenuti binari = leggi_cartella(a.uscita());
    EXPECT_EQ(binari.size(), 6u);
    EXPECT_EQ(binari.count("Prova_linea.dat") + binari.count("Prova_1234.sim") +
                  binari.count("Prova_1234.dat") + binari.count("Prova_1234_scheda_treno.txt") +
                  binari.count("Prova_1234_rallentamenti.txt") +
                  binari.count("Prova_1234_note.txt"),
              6u);
    // The identity reaches the item file: items 85 and 86 carry it.
    EXPECT_NE(binari.at("Prova_1234.sim").find("Prova"), std::string::npos);
    EXPECT_NE(binari.at("Prova_1234.sim").find("1234"), std::string::npos);
}

TEST(Strumento, WithoutPlanViewNoPlanViewFileIsWritten) {
    const autore a;
    ASSERT_EQ(a.compila({"--senza-planimetria", "--senza-documenti"}).stato, 0);
    const prova::contenuti binari = leggi_cartella(a.uscita());
    EXPECT_EQ(binari.size(), 2u);
    EXPECT_EQ(binari.count("Prova_linea.dat"), 0u);
}

TEST(Strumento, AFailedCompileLeavesEarlierBinaryFilesUntouched) {
    autore a(linea_errata);
    fs::create_directories(a.uscita());
    for (const char* nome : {"Prova_linea.dat", "Prova_1234.sim", "Prova_1234.dat"})
        scrivi_file(a.uscita() / nome, std::string("vecchio ") + nome);
    const auto esito = a.compila();
    EXPECT_EQ(esito.stato, 1);
    EXPECT_NE(esito.errori.find("[codice 15]"), std::string::npos) << esito.errori;
    EXPECT_TRUE(esito.errori.ends_with("1 errore, 0 avvisi\n")) << esito.errori;
    const prova::contenuti binari = leggi_cartella(a.uscita());
    EXPECT_EQ(binari.size(), 3u);
    for (const auto& [nome, byte] : binari)
        EXPECT_EQ(byte, "vecchio " + nome);
}

TEST(Strumento, CheckReportsButWritesNothing) {
    for (const auto& [linea, stato] : {std::pair{linea_pulita, 0}, std::pair{linea_errata, 1}}) {
        const autore a(linea);
        const auto esito = a.esegui({"controlla", a.linea().string(), a.treno().string()});
        EXPECT_EQ(esito.stato, stato) << esito.errori;
        EXPECT_EQ(leggi_cartella(a.d.percorso()).size(), 1u) << "only src/";
    }
}

TEST(Strumento, JsonDiagnosticsParseAndCarryTheError) {
    const autore a(linea_errata);
    const auto esito = a.compila({"--diagnostica", "json"});
    EXPECT_EQ(esito.stato, 1);
    const nlohmann::json elenco = nlohmann::json::parse(esito.uscita);
    ASSERT_TRUE(elenco.is_array());
    ASSERT_EQ(elenco.size(), 1u);
    const nlohmann::json& d = elenco[0];
    EXPECT_EQ(d["gravita"], "errore");
    EXPECT_EQ(d["codice"], 15);
    EXPECT_EQ(d["file"], a.linea().string());
    EXPECT_EQ(d["metri"], 99500);
    for (const char* campo : {"riga", "colonna", "messaggio"})
        EXPECT_TRUE(d.contains(campo)) << campo;
    EXPECT_EQ(esito.errori, "1 errore, 0 avvisi\n");
}

TEST(Strumento, Utf8DescriptionsAreConvertedAndUnmappableLettersAreErrors) {
    // A sign text with an accented letter compiles; its byte is the Windows-1252 one.
    const std::string con_lettera = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                    "indicatore cartello,  1000,  CITT\xC3\x80\r\n[fine]\r\n";
    const autore a(con_lettera);
    const auto esito = a.compila();
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_NE(leggi_file(a.uscita() / "Prova_1234.sim").find("CITT\xC0"), std::string::npos);

    // A letter without a Windows-1252 byte is reported where it stands.
    const std::string senza_byte = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                                   "indicatore cartello,  1000,  \xC3\x80\xC5\x81\r\n[fine]\r\n";
    const autore b(senza_byte);
    const auto errato = b.compila();
    EXPECT_EQ(errato.stato, 1);
    EXPECT_EQ(errato.errori,
              b.linea().string() +
                  ":4:31: errore: il carattere U+0141 non ha un byte in Windows-1252 "
                  "[codice 25]\n"
                  "indicatore cartello,  1000,  \xC3\x80?\n"
                  "                              ^\n"
                  "1 errore, 0 avvisi\n");
    EXPECT_FALSE(fs::exists(b.uscita()));
}

TEST(Strumento, WarningsAsErrorsStopTheWrite) {
    cartella_temporanea d;
    ASSERT_EQ(esegui_strumento(d.percorso(), {"esporta", "D"}).stato, 0);
    const auto esito = esegui_strumento(
        d.percorso(), {"compila", "D/Corvenna_linea.txt", "D/Corvenna_7381-.txt", "-o", "O",
                       "--avvisi-come-errori", "--diagnostica", "json"});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_FALSE(fs::exists(d.percorso() / "O"));
    const nlohmann::json elenco = nlohmann::json::parse(esito.uscita);
    ASSERT_EQ(elenco.size(), 2u);
    EXPECT_EQ(elenco[0]["gravita"], "errore");
    EXPECT_EQ(elenco[0]["codice"], "orario-impossibile");
    EXPECT_EQ(elenco[0]["riga"], 34);
    EXPECT_EQ(elenco[1]["gravita"], "errore");
    EXPECT_EQ(elenco[1]["codice"], "marcatori-sovrascritti");
    EXPECT_EQ(elenco[1]["file"], "D/Corvenna_7381-.txt");
    EXPECT_EQ(elenco[1]["riga"], 51);
    EXPECT_EQ(esito.errori, "2 errori, 0 avvisi\n");
}

TEST(Strumento, IdentityComesFromTheNamesOrTheOptions) {
    cartella_temporanea d;
    scrivi_file(d.percorso() / "linea.txt", linea_pulita);
    scrivi_file(d.percorso() / "treno.txt", treno_pulito);
    const auto senza = esegui_strumento(d.percorso(), {"compila", "linea.txt", "treno.txt"});
    EXPECT_EQ(senza.stato, 64);
    EXPECT_EQ(senza.errori,
              "scenario: i nomi dei file non danno il nome dello scenario e il numero del treno "
              "(NOME_linea.txt, NOME_NUMERO-.txt): indicare --nome e --treno\n"
              "Per l'aiuto: scenario compila --help\n");
    // A name that would leave the output directory, or that the item file cannot hold.
    for (const char* nome : {"../fuori", "Citt\xC3\xA0"}) {
        const auto esito = esegui_strumento(
            d.percorso(), {"compila", "linea.txt", "treno.txt", "--nome", nome, "--treno", "1"});
        EXPECT_EQ(esito.stato, 64) << nome;
        EXPECT_TRUE(esito.errori.starts_with("scenario: il nome dello scenario \"" +
                                             std::string(nome) + "\" non puo' dare nomi di file"))
            << esito.errori;
    }
    const auto con = esegui_strumento(d.percorso(), {"compila", "linea.txt", "treno.txt", "--nome",
                                                     "Altra", "--treno", "0001", "-o", "O"});
    ASSERT_EQ(con.stato, 0) << con.errori;
    EXPECT_EQ(leggi_cartella(d.percorso() / "O").count("Altra_0001.sim"), 1u);
}

// Whatever the command writes on standard output, a failed write there ends with status 2 and
// says so: a full device takes none of the bytes.
TEST(Strumento, AFailedWriteToStandardOutputIsAFileFailure) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "this system has no /dev/full";
    const autore a;
    const std::vector<std::vector<std::string>> casi = {
        {"--help"},
        {"--version"},
        {"controlla", a.linea().string(), a.treno().string(), "--diagnostica", "json"},
    };
    for (const auto& argomenti : casi) {
        const auto esito = esegui_strumento(a.d.percorso(), argomenti, "/dev/full");
        EXPECT_EQ(esito.stato, 2) << argomenti[0];
        // The reason is the system's when the failing call is the last one; a write that failed
        // earlier, inside a flush of the library, is reported without it.
        const std::string prefisso = "scenario: impossibile scrivere lo standard output: ";
        const std::size_t dove = esito.errori.rfind(prefisso);
        ASSERT_NE(dove, std::string::npos) << argomenti[0] << "\n" << esito.errori;
        const std::string motivo = esito.errori.substr(dove + prefisso.size());
        EXPECT_TRUE(motivo == "spazio esaurito sul disco\n" || motivo == "scrittura non riuscita\n")
            << argomenti[0] << "\n"
            << esito.errori;
    }
}

// What services that read code-scanning logs need of one: the version, one run with its tool's
// name and rules, and results whose rule is one of them, with a level, a message and a place
// in a file named relative to the run's base folder.
void controlla_sarif(const nlohmann::json& log) {
    ASSERT_TRUE(log.is_object());
    EXPECT_EQ(log["version"], "2.1.0");
    EXPECT_EQ(log["$schema"], "https://json.schemastore.org/sarif-2.1.0.json");
    ASSERT_EQ(log["runs"].size(), 1u);
    const nlohmann::json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "scenario");
    std::set<std::string> regole;
    for (const nlohmann::json& r : run["tool"]["driver"]["rules"]) {
        EXPECT_TRUE(r["id"].is_string());
        EXPECT_TRUE(regole.insert(r["id"].get<std::string>()).second) << r["id"];
        EXPECT_TRUE(r["shortDescription"]["text"].is_string());
        EXPECT_TRUE(r["help"]["text"].is_string());
    }
    // The base of the files' places, which a log with results has.
    if (!run["results"].empty()) {
        const std::string base = run["originalUriBaseIds"]["%SRCROOT%"]["uri"];
        EXPECT_TRUE(base.starts_with("file:///") && base.ends_with("/")) << base;
    }
    for (const nlohmann::json& r : run["results"]) {
        EXPECT_EQ(regole.count(r["ruleId"].get<std::string>()), 1u) << r;
        EXPECT_EQ(run["tool"]["driver"]["rules"][r["ruleIndex"].get<std::size_t>()]["id"],
                  r["ruleId"]);
        EXPECT_TRUE(r["level"] == "error" || r["level"] == "warning") << r;
        EXPECT_FALSE(r["message"]["text"].get<std::string>().empty());
        for (const nlohmann::json& l : r.value("locations", nlohmann::json::array())) {
            const nlohmann::json& p = l["physicalLocation"];
            const std::string uri = p["artifactLocation"]["uri"];
            EXPECT_FALSE(uri.starts_with("/") || uri.find(':') != std::string::npos) << uri;
            EXPECT_EQ(p["artifactLocation"]["uriBaseId"], "%SRCROOT%");
            EXPECT_GE(p["region"]["startLine"].get<int>(), 1);
            if (p["region"].contains("endColumn")) {
                EXPECT_GT(p["region"]["endColumn"], p["region"]["startColumn"]);
            }
        }
    }
}

TEST(Strumento, SarifLogHasWhatCodeScanningServicesRead) {
    // An error on line 4 of the line description and a rounded speed in the train's.
    const autore a(linea_errata, prova::treno_minimo(73));
    const auto esito =
        a.esegui({"controlla", a.linea().string(), a.treno().string(), "--diagnostica", "sarif"});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.errori, "1 errore, 1 avviso\n");
    const nlohmann::json log = nlohmann::json::parse(esito.uscita);
    controlla_sarif(log);
    const nlohmann::json& risultati = log["runs"][0]["results"];
    ASSERT_EQ(risultati.size(), 2u);
    EXPECT_EQ(risultati[0]["ruleId"], "fuori-tracciato");
    EXPECT_EQ(risultati[0]["level"], "error");
    EXPECT_EQ(risultati[0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
              "src/Prova_linea.txt");
    EXPECT_EQ(risultati[0]["locations"][0]["physicalLocation"]["region"]["startLine"], 4);
    EXPECT_EQ(risultati[1]["ruleId"], "velocita-arrotondata");
    EXPECT_EQ(risultati[1]["level"], "warning");
    EXPECT_EQ(risultati[1]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
              "src/Prova_1234-.txt");
    EXPECT_EQ(log["runs"][0]["invocations"][0]["executionSuccessful"], true);
}

// A reader of the JSON or SARIF report always gets one document, which says why the command
// failed when it failed for a file or for its command line.
TEST(Strumento, JsonAndSarifReportsSayWhyACommandFailed) {
    const autore a;
    const std::string manca = (a.d.percorso() / "manca_linea.txt").string();
    struct caso {
        std::vector<std::string> argomenti;
        int stato;
        std::string messaggio;
    };
    const std::vector<caso> casi = {
        {{"controlla", manca, a.treno().string(), "--nome", "X", "--treno", "0001"},
         2,
         "impossibile leggere o scrivere " + manca + ": file o cartella inesistente"},
        {{"controlla", a.linea().string()}, 64, "manca l'argomento TRENO"},
        {{"controlla", a.linea().string(), (a.d.percorso() / "t.txt").string()},
         64,
         "i nomi dei file non danno il nome dello scenario e il numero del treno "
         "(NOME_linea.txt, NOME_NUMERO-.txt): indicare --nome e --treno"},
    };
    for (const caso& c : casi)
        for (const std::string forma : {"json", "sarif"}) {
            std::vector<std::string> argomenti = c.argomenti;
            argomenti.insert(argomenti.end(), {"--diagnostica", forma});
            const auto esito = a.esegui(argomenti);
            EXPECT_EQ(esito.stato, c.stato) << c.messaggio;
            // Standard error says it as ever.
            EXPECT_TRUE(esito.errori.starts_with("scenario: " + c.messaggio + "\n"))
                << esito.errori;
            const nlohmann::json x = nlohmann::json::parse(esito.uscita);
            if (forma == "json") {
                ASSERT_EQ(x.size(), 1u) << esito.uscita;
                EXPECT_EQ(x[0]["stato"], c.stato);
                EXPECT_EQ(x[0]["messaggio"], c.messaggio);
                EXPECT_EQ(x[0]["nome"], c.stato == 2 ? "file-inaccessibile" : "uso-errato");
                EXPECT_EQ(x[0]["file"], c.stato == 2 ? nlohmann::json(manca) : nlohmann::json());
            } else {
                controlla_sarif(x);
                const nlohmann::json& invocazione = x["runs"][0]["invocations"][0];
                EXPECT_EQ(invocazione["executionSuccessful"], false);
                EXPECT_EQ(invocazione["exitCode"], c.stato);
                EXPECT_EQ(invocazione["toolExecutionNotifications"][0]["message"]["text"],
                          c.messaggio);
            }
        }
}

TEST(Strumento, CommandLineErrorsAndHelpAreInItalian) {
    const autore a;
    const auto manca = a.esegui({"controlla", a.linea().string()});
    EXPECT_EQ(manca.stato, 64);
    EXPECT_EQ(manca.errori, "scenario: manca l'argomento TRENO\nPer l'aiuto: scenario --help\n");
    const auto forma =
        a.esegui({"controlla", a.linea().string(), a.treno().string(), "--diagnostica", "xml"});
    EXPECT_EQ(forma.errori, "scenario: --diagnostica: 'xml' non e' tra i valori ammessi (testo, "
                            "json, sarif)\nPer l'aiuto: scenario --help\n");
    const auto aiuto = a.esegui({"controlla", "--help"});
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_TRUE(aiuto.uscita.starts_with("compila le due descrizioni e ne riporta gli errori, "
                                         "senza scrivere nulla\n"
                                         "Uso: scenario controlla [OPZIONI] LINEA TRENO\n"))
        << aiuto.uscita;
    for (const char* testo : {"Argomenti:", "Opzioni:", "mostra questo aiuto ed esce"})
        EXPECT_NE(aiuto.uscita.find(testo), std::string::npos) << testo << "\n" << aiuto.uscita;
    for (const char* testo : {"Usage", "Options", "REQUIRED", "Print this"})
        EXPECT_EQ(aiuto.uscita.find(testo), std::string::npos) << testo << "\n" << aiuto.uscita;
}

TEST(Strumento, DescriptionsThatAreNotTextAreNamedOnce) {
    // UTF-16 with its mark, as some editors save: converted like UTF-8.
    std::string utf16 = "\xFF\xFE";
    for (const char c : linea_pulita)
        utf16 += std::string{c, '\0'};
    const autore a(utf16);
    const auto convertito = a.esegui({"controlla", a.linea().string(), a.treno().string()});
    EXPECT_EQ(convertito.stato, 0) << convertito.errori;

    // A binary file: one error at its first NUL, the line shown escaped.
    const autore b(std::string("[generale]\r\nMZ\x90\x00\x03", 17) + std::string(5000, '\0'));
    const auto binario = b.esegui({"controlla", b.linea().string(), b.treno().string()});
    EXPECT_EQ(binario.stato, 1);
    EXPECT_EQ(binario.errori.substr(0, binario.errori.find('\n') + 1),
              b.linea().string() +
                  ":2:4: errore: il file contiene byte NUL alla riga 2: e' un file binario? "
                  "[codice 25]\n");
    EXPECT_TRUE(binario.errori.ends_with("1 errore, 0 avvisi\n")) << binario.errori;
    EXPECT_LT(binario.errori.size(), 1200u) << binario.errori;

    // A file larger than a description, refused before it is read, and a device.
    fs::resize_file(b.linea(), std::uintmax_t{64} << 30);
    const auto grande = b.esegui({"controlla", b.linea().string(), b.treno().string()});
    EXPECT_EQ(grande.stato, 2);
    EXPECT_EQ(grande.errori, "scenario: impossibile leggere o scrivere " + b.linea().string() +
                                 ": e' troppo grande: 68719476736 byte, oltre il massimo di 16 "
                                 "MiB\n");
    const auto zero =
        b.esegui({"controlla", "/dev/zero", b.treno().string(), "--nome", "Z", "--treno", "0001"});
    EXPECT_EQ(zero.stato, 2);
    EXPECT_EQ(zero.errori, "scenario: impossibile leggere o scrivere /dev/zero: non e' un file "
                           "regolare: e' un dispositivo\n");
}

TEST(Strumento, ExitStatuses) {
    const autore a;
    struct caso {
        std::vector<std::string> argomenti;
        int stato;
    };
    const std::vector<caso> casi = {
        {{"--version"}, 0},
        {{"--help"}, 0},
        {{"compila", "--help"}, 0},
        {{}, 64},
        {{"sconosciuto"}, 64},
        {{"compila", a.linea().string()}, 64},
        {{"compila", a.linea().string(), a.treno().string(), "--diagnostica", "xml"}, 64},
        {{"compila", a.linea().string(), a.treno().string(), "--opzione-ignota"}, 64},
        {{"compila", (a.d.percorso() / "manca_linea.txt").string(), a.treno().string(), "--nome",
          "X", "--treno", "0001"},
         2},
        {{"esporta", a.linea().string()}, 2},
    };
    for (const caso& c : casi) {
        const auto esito = a.esegui(c.argomenti);
        std::string riga;
        for (const std::string& s : c.argomenti)
            riga += s + " ";
        EXPECT_EQ(esito.stato, c.stato) << riga << "\n" << esito.errori;
        if (c.stato == 64) {
            EXPECT_TRUE(esito.errori.ends_with("--help\n")) << riga << "\n" << esito.errori;
        }
        if (c.stato == 2) {
            EXPECT_TRUE(esito.errori.starts_with("scenario: ")) << riga << "\n" << esito.errori;
        }
    }
}

} // namespace
} // namespace corvenna
