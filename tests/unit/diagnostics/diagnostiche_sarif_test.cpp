#include "diagnostics/diagnostiche_sarif.hpp"
#include "diagnostics/esito_rapporto.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "diagnostics/uri_percorso.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace corvenna {
namespace {

using json = nlohmann::json;

const luoghi_sarif luoghi{"linee/L%201.txt", "T.txt", "file:///casa/autore/"};

// A warning with a related place and a fix, an error without a column, one without a place.
elenco_diagnostiche tre_diagnostiche() {
    diagnostica avviso;
    avviso.livello = gravita::avviso;
    avviso.tipo = tipo_avviso::velocita_arrotondata;
    avviso.file = descrizione::treno;
    avviso.riga = 10;
    avviso.colonna = 19;
    avviso.colonna_fine = 22;
    avviso.messaggio = "la velocita' 123 km/h non e' multipla di 5: vale 125 km/h";
    avviso.metri = 1500;
    avviso.correlati.push_back({descrizione::linea, 4, 1, "il limite della linea"});
    avviso.correzioni.push_back({"scrivere 125", descrizione::treno, 10, 19, 22, "125"});
    diagnostica errore;
    errore.file = descrizione::linea;
    errore.riga = 90;
    errore.codice = 15;
    errore.messaggio = "posizione 99500 oltre il percorso (88000 m) in CITT\xC0";
    diagnostica senza_luogo;
    senza_luogo.codice = 1250;
    senza_luogo.messaggio = "i campi dell'intestazione sono gia' occupati";
    return {avviso, errore, senza_luogo};
}

TEST(DiagnosticheSarif, OneRunWithARulePerKindAndAResultPerDiagnostic) {
    limite_diagnostiche limite;
    const json log = json::parse(diagnostiche_sarif(tre_diagnostiche(), luoghi, limite));
    EXPECT_EQ(log["version"], "2.1.0");
    ASSERT_EQ(log["runs"].size(), 1u);
    const json& run = log["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "scenario");
    const json& regole = run["tool"]["driver"]["rules"];
    ASSERT_EQ(regole.size(), tipi_diagnostica().size());
    for (std::size_t i = 0; i < regole.size(); ++i) {
        EXPECT_EQ(regole[i]["id"], std::string(tipi_diagnostica()[i].nome));
        EXPECT_FALSE(regole[i]["help"]["text"].get<std::string>().empty());
    }
    EXPECT_EQ(run["originalUriBaseIds"]["%SRCROOT%"]["uri"], "file:///casa/autore/");
    EXPECT_EQ(run["invocations"][0]["executionSuccessful"], true);

    const json& r = run["results"];
    ASSERT_EQ(r.size(), 3u);
    // Each result's rule is the one its index names.
    for (const json& x : r)
        EXPECT_EQ(regole[x["ruleIndex"].get<std::size_t>()]["id"], x["ruleId"]);

    EXPECT_EQ(r[0], json::parse(R"({
      "ruleId": "velocita-arrotondata", "ruleIndex": )" +
                                std::to_string(r[0]["ruleIndex"].get<int>()) + R"(,
      "level": "warning",
      "message": {"text": "la velocita' 123 km/h non e' multipla di 5: vale 125 km/h"},
      "locations": [{"physicalLocation": {
          "artifactLocation": {"uri": "T.txt", "uriBaseId": "%SRCROOT%"},
          "region": {"startLine": 10, "startColumn": 19, "endColumn": 22}}}],
      "properties": {"metri": 1500},
      "relatedLocations": [{"id": 0, "physicalLocation": {
          "artifactLocation": {"uri": "linee/L%201.txt", "uriBaseId": "%SRCROOT%"},
          "region": {"startLine": 4, "startColumn": 1}},
          "message": {"text": "il limite della linea"}}],
      "fixes": [{"description": {"text": "scrivere 125"}, "artifactChanges": [{
          "artifactLocation": {"uri": "T.txt", "uriBaseId": "%SRCROOT%"},
          "replacements": [{"deletedRegion": {"startLine": 10, "startColumn": 19, "endColumn": 22},
                            "insertedContent": {"text": "125"}}]}]}]})"));
    // An error: its code's name; a line without a column; Windows-1252 text as UTF-8.
    EXPECT_EQ(r[1]["ruleId"], "fuori-tracciato");
    EXPECT_EQ(r[1]["level"], "error");
    EXPECT_EQ(r[1]["locations"][0]["physicalLocation"]["region"],
              json::parse(R"({"startLine": 90})"));
    EXPECT_EQ(r[1]["message"]["text"],
              "posizione 99500 oltre il percorso (88000 m) in CITT\xC3\x80");
    EXPECT_FALSE(r[2].contains("locations"));
}

TEST(DiagnosticheSarif, KindsLeftOutAreNotificationsOfTheRun) {
    elenco_diagnostiche elenco;
    for (int i = 0; i < 25; ++i)
        elenco.push_back(tre_diagnostiche()[1]);
    limite_diagnostiche limite;
    const json run = json::parse(diagnostiche_sarif(elenco, luoghi, limite))["runs"][0];
    EXPECT_EQ(run["results"].size(), 20u);
    const json& notifiche = run["invocations"][0]["toolExecutionNotifications"];
    ASSERT_EQ(notifiche.size(), 1u);
    EXPECT_EQ(notifiche[0]["level"], "note");
    EXPECT_EQ(notifiche[0]["associatedRule"]["id"], "fuori-tracciato");
    EXPECT_EQ(notifiche[0]["properties"]["tralasciate"], 5);
}

TEST(DiagnosticheSarif, PathsAreUriReferences) {
    const std::pair<std::string, std::string> casi[] = {
        {"Prova_linea.txt", "Prova_linea.txt"},
        {"../linee/Linea 1.txt", "../linee/Linea%201.txt"},
        {"a#b%c?.txt", "a%23b%25c%3F.txt"},
        {"Citt\xC3\xA0.txt", "Citt%C3%A0.txt"},
        {"C:", "C%3A"},
    };
    for (const auto& [percorso, uri] : casi)
        EXPECT_EQ(uri_di_percorso(percorso), uri) << percorso;
}

// One encoder for the "file:" URIs of the SARIF log and of the language server, and its
// inverse: a path goes there and back unchanged; another scheme names no file.
TEST(UriPercorso, FileUrisOfPathsAndBack) {
    const std::pair<std::string, std::string> casi[] = {
        {"/home/a/Linea 1.txt", "file:///home/a/Linea%201.txt"},
        {"/tmp/Citt\xC3\xA0#2%.txt", "file:///tmp/Citt%C3%A0%232%25.txt"},
        {"C:/Autore/L_linea.txt", "file:///C:/Autore/L_linea.txt"},
        {"C:\\Autore\\L_linea.txt", "file:///C:/Autore/L_linea.txt"},
    };
    for (const auto& [percorso, uri] : casi) {
        EXPECT_EQ(uri_file(percorso), uri) << percorso;
        EXPECT_EQ(percorso_da_uri(uri), percorso.find('\\') == std::string::npos
                                            ? percorso
                                            : std::string("C:/Autore/L_linea.txt"));
    }
    EXPECT_EQ(percorso_da_uri("FILE://host/x/y.txt"), "/x/y.txt") << "the host dropped";
    for (const char* altro : {"untitled:Rivalta_linea.txt", "http://x/y.txt", "file:", "file://x"})
        EXPECT_EQ(percorso_da_uri(altro), std::nullopt) << altro;
}

TEST(EsitoRapporto, AFailureIsAddedToTheReportOrIsTheWholeReport) {
    const esito_comando esito{2, "impossibile leggere o scrivere L.txt: permesso negato", "L.txt"};
    const json oggetto = json::parse(R"({"file": "L.txt", "riga": null, "colonna": null,
        "gravita": "errore", "codice": "file-inaccessibile",
        "messaggio": "impossibile leggere o scrivere L.txt: permesso negato", "metri": null,
        "nome": "file-inaccessibile", "numero": null, "colonna_fine": null, "correlati": [],
        "correzioni": [], "stato": 2})");
    EXPECT_EQ(json::parse(json_con_esito("", esito)), json::array({oggetto}));
    EXPECT_EQ(json::parse(json_con_esito("[{\"a\": 1}]\n", esito)),
              json::array({json::parse("{\"a\": 1}"), oggetto}));
    // A report cut short is replaced.
    EXPECT_EQ(json::parse(json_con_esito("[{\"a\": ", esito)), json::array({oggetto}));

    const esito_comando uso{64, "manca l'argomento TRENO", std::nullopt};
    for (const std::string& rapporto : {std::string(), std::string("{\"runs\": [")}) {
        const json run = json::parse(sarif_con_esito(rapporto, uso))["runs"][0];
        EXPECT_EQ(run["tool"]["driver"]["rules"].size(), tipi_diagnostica().size());
        EXPECT_EQ(run["results"], json::array());
        const json& invocazione = run["invocations"][0];
        EXPECT_EQ(invocazione["executionSuccessful"], false);
        EXPECT_EQ(invocazione["exitCode"], 64);
        EXPECT_EQ(invocazione["toolExecutionNotifications"][0],
                  json::parse(R"({"level": "error", "message": {"text": "manca l'argomento TRENO"},
                                  "descriptor": {"id": "uso-errato"}})"));
    }
    // A log with results keeps them.
    limite_diagnostiche limite;
    const std::string log = diagnostiche_sarif(tre_diagnostiche(), luoghi, limite);
    const json run = json::parse(sarif_con_esito(log, esito))["runs"][0];
    EXPECT_EQ(run["results"].size(), 3u);
    EXPECT_EQ(run["invocations"][0]["toolExecutionNotifications"][0]["locations"][0]
                 ["physicalLocation"]["artifactLocation"]["uri"],
              "L.txt");
}

} // namespace
} // namespace corvenna
