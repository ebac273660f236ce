#include "diagnostics/diagnostiche_json.hpp"
#include "support/compila_prova.hpp"
#include "support/diagnostiche_prova.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace corvenna {
namespace {

using prova::linea;
using prova::treno;
using prova_diagnostiche::costruisci_testi;

TEST(DiagnosticheJson, OneObjectPerDiagnosticWithItsFields) {
    // A warning and an error in the train description, then one without a line.
    const auto r = costruisci_testi(linea({}), treno({"velocita,  0,  72", "sabbia,  x"}));
    diagnostica senza_luogo;
    senza_luogo.codice = 1250;
    senza_luogo.messaggio = "cella 1 occupata";
    elenco_diagnostiche elenco = r.s.diagnostiche;
    elenco.push_back(senza_luogo);

    EXPECT_EQ(diagnostiche_json(elenco, "L.txt", "T.txt"),
              R"([{"file":"T.txt","riga":2,"colonna":16,"gravita":"avviso",)"
              R"("codice":"velocita-arrotondata",)"
              R"("messaggio":"la velocita' 72 km/h non e' multipla di 5: vale 70 km/h","metri":0,)"
              R"("nome":"velocita-arrotondata","numero":null,"colonna_fine":null,)"
              R"("correlati":[],"correzioni":[]},)"
              R"({"file":"T.txt","riga":3,"colonna":10,"gravita":"errore","codice":25,)"
              R"("messaggio":"'x' non e' un numero","metri":null,)"
              R"("nome":"lettura-fallita","numero":25,"colonna_fine":null,)"
              R"("correlati":[],"correzioni":[]},)"
              R"({"file":null,"riga":null,"colonna":null,"gravita":"errore","codice":1250,)"
              R"("messaggio":"cella 1 occupata","metri":null,)"
              R"("nome":"timbro-occupato","numero":1250,"colonna_fine":null,)"
              R"("correlati":[],"correzioni":[]}])");
}

TEST(DiagnosticheJson, RelatedPlacesAndFixesHaveOneTypePerField) {
    diagnostica d;
    d.file = descrizione::treno;
    d.riga = 10;
    d.colonna = 19;
    d.colonna_fine = 22;
    d.codice = 25;
    d.messaggio = "m";
    d.correlati.push_back({descrizione::linea, 26, 11, "la fermata di CITT\xC0"});
    d.correlati.push_back({std::nullopt, 0, 0, "altrove"});
    d.correzioni.push_back({"scrivere 125", descrizione::treno, 10, 19, 22, "125"});
    const auto x = nlohmann::json::parse(diagnostiche_json({d}, "L.txt", "T.txt"))[0];
    EXPECT_EQ(x["colonna_fine"], 22);
    EXPECT_EQ(x["correlati"], nlohmann::json::parse(R"([
        {"file": "L.txt", "riga": 26, "colonna": 11, "messaggio": "la fermata di CITT\u00c0"},
        {"file": null, "riga": null, "colonna": null, "messaggio": "altrove"}])"));
    EXPECT_EQ(x["correzioni"], nlohmann::json::parse(R"([
        {"titolo": "scrivere 125", "file": "T.txt", "riga": 10, "colonna": 19,
         "colonna_fine": 22, "testo": "125"}])"));
}

TEST(DiagnosticheJson, ParsesAndCarriesWhatTheTextFormSays) {
    const auto r =
        costruisci_testi(linea({"pendenza,  99500,  3", "salita"}, "88000"),
                         treno({"segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"}));
    ASSERT_EQ(r.s.diagnostiche.size(), 2u);
    const auto array =
        nlohmann::json::parse(diagnostiche_json(r.s.diagnostiche, "L.txt", "T.txt", 2));
    ASSERT_TRUE(array.is_array());
    ASSERT_EQ(array.size(), r.s.diagnostiche.size());
    for (std::size_t i = 0; i < array.size(); ++i) {
        const diagnostica& d = r.s.diagnostiche[i];
        const auto& x = array[i];
        // The text form's first line says the same.
        const std::string prima = r.testo_di(d).substr(0, r.testo_di(d).find('\n'));
        const std::string atteso =
            x["file"].get<std::string>() + ":" + std::to_string(x["riga"].get<int>()) + ":" +
            std::to_string(x["colonna"].get<int>()) + ": " + x["gravita"].get<std::string>() +
            ": " + x["messaggio"].get<std::string>() +
            (x["codice"].is_number() ? " [codice " + std::to_string(x["codice"].get<int>()) + "]"
                                     : " [" + x["codice"].get<std::string>() + "]");
        EXPECT_EQ(prima, atteso);
        EXPECT_EQ(x["metri"].get<int>(), *d.metri);
    }
    EXPECT_EQ(array[0]["codice"], 15);
    EXPECT_EQ(array[1]["codice"], "compilazione-interrotta");
}

TEST(DiagnosticheJson, MessagesAreUtf8AndBadNamesDoNotStopTheReport) {
    // A station name in Windows-1252 ("CITTA" with an accented A, 0xC0) reaches a message.
    const auto r = costruisci_testi(
        linea({}), treno({"stazione,  5200,  12,  300,  0,  1,  0,  0,  0,  0,  0,  0,  0,  0,  "
                          "0,  0,  0,  CITT\xC0"}));
    const auto array =
        nlohmann::json::parse(diagnostiche_json(r.s.diagnostiche, "L.txt", "T\xFF.txt"));
    ASSERT_EQ(array.size(), 1u);
    EXPECT_EQ(array[0]["messaggio"],
              "il valore b2 = 1 della stazione CITT\xC3\x80 e' azzerato: vale solo dalla "
              "seconda stazione e per marciapiedi di almeno 600 m");
    EXPECT_EQ(array[0]["file"], "T\xEF\xBF\xBD.txt");
}

} // namespace
} // namespace corvenna
