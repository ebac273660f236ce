// The JSON and CSV of a compiled model: names and order from the record layout, numbers that
// read back as the same values, the plan view's element kinds kept apart, and the derived values.

#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "inspect/ispezione_json.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace corvenna {
namespace {

using json = nlohmann::ordered_json;

std::string json_di(const costruzione& c) {
    std::ostringstream uscita;
    scrivi_json(uscita, c, "\n");
    return uscita.str();
}

std::string csv_di(const costruzione& c, tabella_ispezione t) {
    std::ostringstream uscita;
    scrivi_csv(uscita, c, t, "\r\n");
    return uscita.str();
}

std::vector<std::string> chiavi(const json& oggetto) {
    std::vector<std::string> nomi;
    for (const auto& [nome, valore] : oggetto.items())
        nomi.push_back(nome);
    return nomi;
}

TEST(IspezioneJson, RecordsCarryTheirFieldsInFileOrder) {
    const json j = json::parse(json_di(prova::scenario_incorporato()));
    EXPECT_EQ(chiavi(j), (std::vector<std::string>{"scenario", "progressive", "stazioni", "curve",
                                                   "tratti", "planimetria", "grezzo"}));
    EXPECT_EQ(chiavi(j["grezzo"]["voci"][0]),
              (std::vector<std::string>{"indice", "tipo", "inizio", "fine", "posizione", "b1",
                                        "nome", "i1", "i2", "i3", "i4", "i5", "b4", "b5", "b3",
                                        "b2", "orario", "ruolo"}));
    EXPECT_EQ(
        chiavi(j["grezzo"]["celle"][0]),
        (std::vector<std::string>{"indice", "tipo", "dato1", "dato2", "dato3", "dato4", "tempo",
                                  "avviso", "montagna", "velocita", "pendenza", "aderenza"}));
}

// Each plan-view number reads back from the text as the very double or integer of the model.
TEST(IspezioneJson, PlanViewReadsBackBitForBitWithItsKinds) {
    const costruzione& c = prova::scenario_incorporato();
    const json j = json::parse(json_di(c));
    const json& p = j.at("planimetria");
    EXPECT_EQ(p.at("metri"), 95001);
    for (int asse = asse_x; asse <= asse_y; ++asse) {
        const json& valori = p.at(asse == asse_x ? "x" : "y");
        const asse_planimetria& modello = c.planimetria[asse];
        ASSERT_EQ(valori.size(), modello.size());
        for (std::size_t m = 0; m < modello.size(); ++m) {
            const json& v = valori[m];
            switch (modello.tipo(m)) {
            case tipo_valore::vuoto:
                ASSERT_TRUE(v.is_null()) << asse << " " << m;
                break;
            case tipo_valore::intero:
                ASSERT_TRUE(v.is_number_integer()) << asse << " " << m;
                ASSERT_EQ(v.get<std::int64_t>(), static_cast<std::int64_t>(modello.numero(m)));
                break;
            case tipo_valore::doppio:
                ASSERT_TRUE(v.is_number_float()) << asse << " " << m;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(v.get<double>()),
                          std::bit_cast<std::uint64_t>(modello.numero(m)))
                    << asse << " " << m;
                break;
            }
        }
    }
}

// A model small enough to show whole: names with a separator, a quote and a Windows-1252 letter,
// a cell of a kind the build never puts, a plan view of three metres, one of each kind.
costruzione modello_piccolo() {
    costruzione c;
    c.voci[1] = voce{.tipo = 12,
                     .inizio = 7900,
                     .fine = 8200,
                     .posizione = 8050,
                     .nome = "Sant'Elp\xEC\x64io, \"Alta\"",
                     .orario = 8 * 3600 + 15 * 60 + 5};
    c.voci[80].nome = "Km 8";
    c.voci[voce_scenario] = voce{.nome = "Corvenna", .i1 = 610};
    c.voci[voce_treno].nome = "7381";
    c.celle = {cella{}, cella{.dato1 = 5121, .velocita = 20, .pendenza = 95},
               cella{.tipo = 10, .dato1 = 1, .velocita = 16, .pendenza = 112}, cella{.tipo = 7}};
    c.lunghezza_totale = 2;
    c.ultima_cella = 3;
    c.genera_planimetria = 1;
    c.planimetria[asse_x] = {std::int16_t{0}, 0.5, valore_planimetria{}};
    c.planimetria[asse_y] = {std::int16_t{-3}, -0.0, 1e21};
    return c;
}

TEST(IspezioneCsv, TablesHaveTheJsonNamesAndOneRowPerRecord) {
    const costruzione c = modello_piccolo();
    EXPECT_EQ(csv_di(c, tabella_ispezione::celle),
              "indice,tipo,dato1,dato2,dato3,dato4,tempo,avviso,montagna,velocita,pendenza,"
              "aderenza,da_metro,nome_tipo,velocita_kmh,pendenza_per_mille\r\n"
              "0,0,0,0,0,0,0,0,0,0,0,0,0,binario,0,-100\r\n"
              "1,0,5121,0,0,0,0,0,0,20,95,0,50,binario,100,-5\r\n"
              "2,10,1,0,0,0,0,0,0,16,112,0,100,fermata,80,12\r\n"
              "3,7,0,0,0,0,0,0,0,0,0,0,150,,0,-100\r\n");
    EXPECT_EQ(csv_di(c, tabella_ispezione::planimetria), "metro,x,tipo_x,y,tipo_y\r\n"
                                                         "0,0,intero,-3,intero\r\n"
                                                         "1,0.5,doppio,-0.0,doppio\r\n"
                                                         "2,,vuoto,1e+21,doppio\r\n");

    const std::string voci = csv_di(c, tabella_ispezione::voci);
    std::vector<std::string> righe;
    for (std::size_t inizio = 0; inizio < voci.size();) {
        const std::size_t fine = voci.find("\r\n", inizio);
        righe.push_back(voci.substr(inizio, fine - inizio));
        inizio = fine + 2;
    }
    ASSERT_EQ(righe.size(), 88u);
    EXPECT_EQ(righe[0], "indice,tipo,inizio,fine,posizione,b1,nome,i1,i2,i3,i4,i5,b4,b5,b3,b2,"
                        "orario,ruolo,ora,cella_fermata");
    EXPECT_EQ(righe[1], "0,0,0,0,0,0,,0,0,0,0,0,0,0,0,0,0,inutilizzata,,");
    EXPECT_EQ(righe[2], "1,12,7900,8200,8050,0,\"Sant'Elp\xC3\xAC\x64io, \"\"Alta\"\"\",0,0,0,0,"
                        "0,0,0,0,0,29705,stazione,08:15:05,2");
    EXPECT_EQ(righe[3], "2,0,0,0,0,0,,0,0,0,0,0,0,0,0,0,0,vuota,,");
    EXPECT_EQ(righe[81], "80,0,0,0,0,0,Km 8,0,0,0,0,0,0,0,0,0,0,cartello,,");
    EXPECT_EQ(righe[87], "86,0,0,0,0,0,7381,0,0,0,0,0,0,0,0,0,0,treno,,");
}

// Names with control bytes and bytes without a Windows-1252 character: the CSV shows each as
// the text "\x1b", a row stays one line, and fields are quoted as RFC 4180 wants; the JSON
// escapes the controls itself and stays valid UTF-8.
TEST(IspezioneCsv, ControlBytesInNamesAreShownAsText) {
    struct caso {
        std::string nome;
        std::string csv;
    };
    const caso casi[] = {
        {"ROSSO\x1b[31m", "ROSSO\\x1b[31m"},
        {std::string("A\0B\x7f", 4), "A\\x00B\\x7f"},
        {"DUE\r\nRIGHE", "DUE\\x0d\\x0aRIGHE"},
        {"\x81\x8d\x8f\x90\x9d\x80", "\\x81\\x8d\\x8f\\x90\\x9d\xE2\x82\xAC"},
        {"TAB\t, \"X\"", "\"TAB\\x09, \"\"X\"\"\""},
    };
    for (const caso& k : casi) {
        costruzione c = modello_piccolo();
        c.voci[80].nome = k.nome;
        const std::string voci = csv_di(c, tabella_ispezione::voci);
        const std::size_t inizio = voci.find("\r\n80,");
        ASSERT_NE(inizio, std::string::npos) << k.csv;
        const std::size_t fine = voci.find("\r\n", inizio + 2);
        EXPECT_EQ(voci.substr(inizio + 2, fine - inizio - 2),
                  "80,0,0,0,0,0," + k.csv + ",0,0,0,0,0,0,0,0,0,0,cartello,,");
        const std::string testo_json = json_di(c);
        EXPECT_TRUE(json::accept(testo_json)) << k.csv;
        for (const char b : testo_json)
            EXPECT_FALSE(b >= 0 && b < 0x20 && b != '\n') << k.csv;
    }
}

TEST(IspezioneJson, NamedValuesStandApartFromTheStoredFields) {
    const json j = json::parse(json_di(modello_piccolo()));
    EXPECT_EQ(j["grezzo"]["voci"][1].at("nome"), "Sant'Elp\xC3\xAC\x64io, \"Alta\"");
    EXPECT_EQ(j.at("stazioni"), json::parse(R"([{"voce": 1, "nome": "Sant'Elp\u00ecdio, \"Alta\"",
        "tipo_stazione": 12, "metro": 8050, "progressiva": "8+050", "marciapiede_da_metro": 7900,
        "marciapiede_a_metro": 8200, "ruolo": "fermata", "ora": "08:15:05", "metro_fermata": 50,
        "cella_fermata": 2}])"));
    const json& t = j["tratti"][2];
    EXPECT_EQ(t.at("da_metro"), 100);
    EXPECT_EQ(t.at("a_metro"), 150);
    EXPECT_EQ(t.at("velocita_treno_kmh"), 80);
    EXPECT_EQ(t.at("pendenza_per_mille"), 12);
    EXPECT_EQ(t.at("grezzo").at("velocita"), 16);
    // The stop point on cell 2 stands 50 m before the cell, in the stretch of cell 1; the
    // unknown kind of cell 3 in the stretch of cell 2.
    ASSERT_EQ(j["tratti"][1].at("elementi").size(), 1u);
    EXPECT_EQ(j["tratti"][1]["elementi"][0].at("cosa"), "fermata");
    EXPECT_EQ(j["tratti"][1]["elementi"][0].at("metro"), 50);
    EXPECT_EQ(t["elementi"][0].at("cosa"), "tipo_7");
    EXPECT_EQ(j["grezzo"]["voci"][80].at("ruolo"), "cartello");
    // The codes are not stored in this model: they disagree with the names.
    EXPECT_EQ(j["scenario"].at("codici_concordano"), false);
    EXPECT_EQ(j["planimetria"].at("tipi"),
              json::parse(R"({"x": [{"da": 0, "a": 0, "tipo": "intero"},
                                    {"da": 1, "a": 1, "tipo": "doppio"},
                                    {"da": 2, "a": 2, "tipo": "vuoto"}],
                              "y": [{"da": 0, "a": 0, "tipo": "intero"},
                                    {"da": 1, "a": 2, "tipo": "doppio"}]})"));
}

TEST(IspezioneJson, ScenarioWithoutPlanViewHasNone) {
    costruzione c = modello_piccolo();
    c.genera_planimetria = 0;
    c.planimetria = {};
    const json j = json::parse(json_di(c));
    EXPECT_TRUE(j.at("planimetria").is_null());
    EXPECT_EQ(j["scenario"].at("planimetria"), false);
    EXPECT_EQ(csv_di(c, tabella_ispezione::planimetria), "metro,x,tipo_x,y,tipo_y\r\n");
}

TEST(IspezioneTesti, DoublesAndTimesOfDay) {
    const std::pair<double, const char*> doppi[] = {{0.0, "0.0"},
                                                    {-0.0, "-0.0"},
                                                    {2.0, "2.0"},
                                                    {12.5, "12.5"},
                                                    {0.1, "0.1"},
                                                    {1e21, "1e+21"},
                                                    {-1234.0625, "-1234.0625"}};
    for (const auto& [numero, testo] : doppi)
        EXPECT_EQ(testo_doppio(numero), testo);
    const std::pair<std::int64_t, const char*> ore[] = {{0, "00:00:00"},
                                                        {24060, "06:41:00"},
                                                        {86399, "23:59:59"},
                                                        {90000, "25:00:00"},
                                                        {-61, "-00:01:01"}};
    for (const auto& [secondi, testo] : ore)
        EXPECT_EQ(ora_del_giorno(secondi), testo);
}

} // namespace
} // namespace corvenna
