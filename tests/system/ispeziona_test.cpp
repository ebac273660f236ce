// `scenario ispeziona` on the files of a real generator run: the JSON and CSV it shows, the
// exit statuses, and the refusal of damaged files with the file, the byte and what was expected.

#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using json = nlohmann::json;

const std::string voci = "Corvenna_7381.sim";
const std::string celle = "Corvenna_7381.dat";
const std::string planimetria = "Corvenna_linea.dat";

// The generator's three binary files, written into `cartella`.
void scrivi_scenario(const fs::path& cartella) {
    for (const std::string& nome : prova::file_binari)
        prova::scrivi_file(cartella / nome, prova::scenario_di_riferimento().at(nome));
}

std::int16_t intero_letto(const std::string& b, std::size_t o) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(b.at(o)) |
                                     (static_cast<unsigned char>(b.at(o + 1)) << 8));
}

TEST(Ispeziona, JsonOfTheGeneratorsScenarioHoldsEveryRecordInPlace) {
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    const prova::esito_strumento esito = esegui_strumento(cartella.percorso(), {"ispeziona", "."});
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.errori, "");
    const json j = json::parse(esito.uscita);

    const json& grezzo = j.at("grezzo");
    ASSERT_EQ(grezzo.at("voci").size(), 87u);
    const std::string& file_celle = prova::scenario_di_riferimento().at(celle);
    ASSERT_EQ(grezzo.at("celle").size(), file_celle.size() / 15);
    ASSERT_EQ(j.at("tratti").size(), file_celle.size() / 15);
    for (std::size_t k = 0; k < grezzo.at("celle").size(); ++k)
        ASSERT_EQ(grezzo["celle"][k].at("indice"), k);

    const json& scenario = grezzo["voci"][85];
    EXPECT_EQ(scenario.at("nome"), "Corvenna");
    EXPECT_EQ(scenario.at("i1"), 610);
    EXPECT_EQ(grezzo["voci"][86].at("nome"), "7381");
    EXPECT_EQ(grezzo["voci"][84].at("fine"), 88000);
    EXPECT_EQ(j["scenario"].at("lunghezza_percorso_metri"), 88000);
    EXPECT_EQ(grezzo["celle"][1].at("dato1"), 5121);
    const auto [semplice, pesato] = prova::codici_attesi("7381", "Corvenna");
    EXPECT_EQ(scenario.at("orario"), pesato);
    EXPECT_EQ(grezzo["celle"][1].at("dato2"), semplice);
    EXPECT_EQ(grezzo["celle"][1].at("dato2"), intero_letto(file_celle, 18));
    EXPECT_EQ(j["scenario"].at("codici_concordano"), true);

    // The plan view: one element a metre, integers apart from doubles, the last two empty.
    const json& p = j.at("planimetria");
    ASSERT_EQ(p.at("x").size(), 95001u);
    ASSERT_EQ(p.at("y").size(), 95001u);
    EXPECT_TRUE(p["y"][1].is_number_integer());
    EXPECT_EQ(p["y"][1], 1);
    EXPECT_TRUE(p["y"][2].is_number_float());
    EXPECT_EQ(p["y"][2], 2.0);
    EXPECT_TRUE(p["x"][94999].is_null());
    EXPECT_EQ(p["tipi"]["x"], json::parse(R"([{"da":0,"a":1,"tipo":"intero"},
        {"da":2,"a":94998,"tipo":"doppio"},{"da":94999,"a":95000,"tipo":"vuoto"}])"));

    // Each station's stop cell carries the stop with the station's item number; a station the
    // train passes has no stop and no time.
    const json& stazioni = j.at("stazioni");
    ASSERT_EQ(stazioni.size(), 16u);
    EXPECT_EQ(stazioni[0].at("voce"), 1);
    EXPECT_EQ(stazioni[0].at("ora"), "06:41:00");
    for (const json& s : stazioni) {
        if (s.at("ruolo") == "transito") {
            EXPECT_TRUE(s.at("ora").is_null()) << s;
            EXPECT_TRUE(s.at("cella_fermata").is_null()) << s;
            continue;
        }
        const json& fermata = grezzo["celle"][s["cella_fermata"].get<std::size_t>()];
        EXPECT_EQ(fermata.at("tipo"), 10) << s;
        EXPECT_EQ(fermata.at("dato1"), s.at("voce")) << s;
    }
    EXPECT_EQ(stazioni[2].at("nome"), "FOSSAMERLA");
    EXPECT_EQ(stazioni[2].at("ruolo"), "transito");
}

TEST(Ispeziona, CsvOfCellsHasAHeaderAndOneRowPerCell) {
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    const prova::esito_strumento esito = esegui_strumento(
        cartella.percorso(), {"ispeziona", voci, celle, "--formato", "csv", "--tabella", "celle"});
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    std::vector<std::string> righe;
    for (std::size_t inizio = 0; inizio < esito.uscita.size();) {
        const std::size_t fine = esito.uscita.find('\n', inizio);
        ASSERT_NE(fine, std::string::npos);
        righe.push_back(esito.uscita.substr(inizio, fine - inizio));
        inizio = fine + 1;
    }
    ASSERT_EQ(righe.size(), 1 + prova::scenario_di_riferimento().at(celle).size() / 15);
    EXPECT_EQ(righe[0], "indice,tipo,dato1,dato2,dato3,dato4,tempo,avviso,montagna,velocita,"
                        "pendenza,aderenza,da_metro,nome_tipo,velocita_kmh,pendenza_per_mille");
    EXPECT_EQ(righe[2], "1,0,5121,2525,0,0,0,0,0,15,100,100,50,binario,75,0");

    // Into a file: the same rows, with the CR LF of the files the programs write.
    const prova::esito_strumento in_file =
        esegui_strumento(cartella.percorso(), {"ispeziona", ".", "--formato", "csv", "--tabella",
                                               "celle", "-o", "celle.csv"});
    ASSERT_EQ(in_file.stato, 0) << in_file.errori;
    EXPECT_EQ(in_file.uscita, "");
    std::string atteso;
    for (const std::string& riga : righe)
        atteso += riga + "\r\n";
    EXPECT_EQ(prova::leggi_file(cartella.percorso() / "celle.csv"), atteso);
}

TEST(Ispeziona, ScenarioWithoutPlanViewIsShownWithoutIt) {
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    fs::remove(cartella.percorso() / planimetria);
    const prova::esito_strumento esito = esegui_strumento(cartella.percorso(), {"ispeziona", "."});
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const json j = json::parse(esito.uscita);
    EXPECT_TRUE(j.at("planimetria").is_null());
    EXPECT_EQ(j["scenario"].at("planimetria"), false);
    EXPECT_EQ(j.at("tratti").size(), 1901u);
}

struct caso_uscita {
    const char* nome;
    std::function<void(const fs::path&)> prepara;
    std::vector<std::string> argomenti;
    int stato;
    std::string errori;
};

class StatoUscita : public testing::TestWithParam<caso_uscita> {};

TEST_P(StatoUscita, SaysWhatWentWrong) {
    const caso_uscita& caso = GetParam();
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    caso.prepara(cartella.percorso());
    const prova::esito_strumento esito = esegui_strumento(cartella.percorso(), caso.argomenti);
    EXPECT_EQ(esito.stato, caso.stato);
    EXPECT_EQ(esito.errori, caso.errori);
    if (caso.stato != 0) {
        EXPECT_EQ(esito.uscita, "");
    }
}

// A second scenario beside the first, under its own names.
void altro_scenario(const fs::path& c) {
    fs::copy_file(c / voci, c / "Altro_1.sim");
    fs::copy_file(c / celle, c / "Altro_1.dat");
}
void niente(const fs::path&) {}

const std::string aiuto = "Per l'aiuto: scenario ispeziona --help\n";

INSTANTIATE_TEST_SUITE_P(
    Ispeziona, StatoUscita,
    testing::Values(
        caso_uscita{"directory", niente, {"ispeziona", "."}, 0, ""},
        caso_uscita{"two scenarios",
                    altro_scenario,
                    {"ispeziona", "."},
                    64,
                    "scenario: . contiene piu' scenari (Altro_1.sim, Corvenna_7381.sim): "
                    "indicare --nome e --treno\n" +
                        aiuto},
        caso_uscita{"identity picks one",
                    altro_scenario,
                    {"ispeziona", ".", "--nome", "Corvenna", "--treno", "7381"},
                    0,
                    ""},
        caso_uscita{"identity half given",
                    niente,
                    {"ispeziona", ".", "--nome", "Corvenna"},
                    64,
                    "scenario: --nome e --treno vanno indicati insieme\n" + aiuto},
        caso_uscita{"identity with files",
                    niente,
                    {"ispeziona", voci, celle, "--nome", "Corvenna", "--treno", "7381"},
                    64,
                    "scenario: --nome e --treno valgono solo con una cartella\n" + aiuto},
        caso_uscita{"csv without table gives the stretches",
                    niente,
                    {"ispeziona", ".", "--formato", "csv", "-o", "tratti.csv"},
                    0,
                    ""},
        caso_uscita{"two questions at once",
                    niente,
                    {"ispeziona", ".", "--al-metro", "100", "--al-km", "1"},
                    64,
                    "scenario: --al-metro, --al-km e --da/--a sono domande diverse: una alla "
                    "volta\n" +
                        aiuto},
        caso_uscita{"kilometre not understood",
                    niente,
                    {"ispeziona", ".", "--al-km", "4x"},
                    64,
                    "scenario: --al-km 4x: atteso un chilometro come 42.3 o 42+300\n" + aiuto},
        caso_uscita{"kilometre no board reads",
                    niente,
                    {"ispeziona", ".", "--al-km", "42.3"},
                    1,
                    "scenario: nessun punto del percorso ha la progressiva 42+300 (i cartelli "
                    "leggono: da -1+500 a 40+800 tra 0 e 42300 m; da 0+000 a 12+700 tra 42300 e "
                    "55000 m; da 36+900 a 3+900 tra 55000 e 88000 m)\n"},
        caso_uscita{"metre beyond the cells",
                    niente,
                    {"ispeziona", ".", "--al-metro", "95050"},
                    64,
                    "scenario: il metro 95050 sta oltre la fine del percorso, lungo 88000 m: le "
                    "domande valgono da 0 a 87999 m\n" +
                        aiuto},
        // The route's end is no point of the route: its stretch is track laid past it.
        caso_uscita{"metre at the routes end",
                    niente,
                    {"ispeziona", ".", "--al-metro", "88000"},
                    64,
                    "scenario: il metro 88000 sta oltre la fine del percorso, lungo 88000 m: le "
                    "domande valgono da 0 a 87999 m\n" +
                        aiuto},
        caso_uscita{"stretch past the routes end",
                    niente,
                    {"ispeziona", ".", "--da", "87000", "--a", "90000"},
                    64,
                    "scenario: --a 90000 sta oltre la fine del percorso, lungo 88000 m: le "
                    "domande valgono da 0 a 87999 m\n" +
                        aiuto},
        caso_uscita{"stretch end read at three places",
                    niente,
                    {"ispeziona", ".", "--da", "5+000"},
                    64,
                    "scenario: la progressiva 5+000 sta a 6500, 47300, 86900 m: indicare --da "
                    "in metri\n" +
                        aiuto},
        caso_uscita{
            "table with a question",
            niente,
            {"ispeziona", ".", "--al-metro", "100", "--formato", "csv", "--tabella", "voci"},
            64,
            "scenario: una domanda risponde con i tratti: --tabella voci vale solo per "
            "tutto lo scenario\n" +
                aiuto},
        caso_uscita{"no cell file given",
                    niente,
                    {"ispeziona", voci, planimetria},
                    64,
                    "scenario: manca il file delle celle (NOME_NUMERO.dat)\n" + aiuto},
        caso_uscita{"not a scenario file",
                    niente,
                    {"ispeziona", voci, celle, "note.txt"},
                    64,
                    "scenario: note.txt: non e' un file di scenario compilato (attesi "
                    "NOME_NUMERO.sim, NOME_NUMERO.dat, NOME_linea.dat)\n" +
                        aiuto},
        caso_uscita{"missing directory",
                    niente,
                    {"ispeziona", "manca"},
                    2,
                    "scenario: impossibile leggere o scrivere manca: non esiste\n"},
        caso_uscita{"no scenario in the directory",
                    [](const fs::path& c) { fs::create_directory(c / "vuota"); },
                    {"ispeziona", "vuota"},
                    2,
                    "scenario: impossibile leggere o scrivere vuota: nessuno scenario compilato "
                    "(nessun file NOME_NUMERO.sim)\n"},
        caso_uscita{"missing cell file",
                    [](const fs::path& c) { fs::remove(c / celle); },
                    {"ispeziona", "."},
                    2,
                    "scenario: impossibile leggere o scrivere ./Corvenna_7381.dat: file o "
                    "cartella inesistente\n"}),
    [](const testing::TestParamInfo<caso_uscita>& info) {
        std::string nome = info.param.nome;
        for (char& ch : nome)
            if (ch == ' ')
                ch = '_';
        return nome;
    });

// The author's two questions, one command each, answered with the description's own numbers:
// the speed where MERIDOLA stands ("velocita,  42300,  60"; the boards read 40+800 there, the
// last reading before the kilometres restart) and the signal before it ("segnale,  41300, ...",
// line 50 of the train description), at 41300 m in every form.
TEST(Ispeziona, AnswersTheSpeedAtMeridolaAndItsSignal) {
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    const std::string riga_meridola =
        "42300-42350 m (km 0+000): treno 60 km/h (linea 60 km/h, cartello a 41250 m: 60/60/60 "
        "km/h); pendenza 0 per mille; aderenza 100; stazione MERIDOLA a 42300 m (km 0+000): "
        "fermata alle 07:16:00, marciapiede da 42000 a 42600 m\n";
    const auto al_metro =
        esegui_strumento(cartella.percorso(), {"ispeziona", ".", "--al-metro", "42300"});
    ASSERT_EQ(al_metro.stato, 0) << al_metro.errori;
    EXPECT_EQ(al_metro.uscita, riga_meridola);
    const auto al_km = esegui_strumento(cartella.percorso(), {"ispeziona", ".", "--al-km", "40.8"});
    ASSERT_EQ(al_km.stato, 0) << al_km.errori;
    EXPECT_EQ(al_km.uscita, riga_meridola);

    ASSERT_EQ(esegui_strumento(cartella.percorso(), {"esporta", "modello"}).stato, 0);
    const std::vector<std::string> descrizioni = {"modello/Corvenna_linea.txt",
                                                  "modello/Corvenna_7381-.txt"};
    const auto con = [&descrizioni](std::vector<std::string> resto) {
        std::vector<std::string> a = {"ispeziona"};
        a.insert(a.end(), descrizioni.begin(), descrizioni.end());
        a.insert(a.end(), resto.begin(), resto.end());
        return a;
    };
    const auto testo = esegui_strumento(cartella.percorso(), con({"--al-metro", "41300"}));
    ASSERT_EQ(testo.stato, 0) << testo.errori;
    EXPECT_EQ(testo.uscita,
              "41300-41350 m (km 39+800): treno 60 km/h (linea 60 km/h, cartello a 41250 m: "
              "60/60/60 km/h); pendenza 0 per mille; aderenza 100; segnale principale a 41300 m "
              "(km 39+800): aspetti 2/3/0, seconda serie tipo 2 aspetti 2/1/0, ripetizione si "
              "[modello/Corvenna_7381-.txt:50]\n");

    const auto risposte =
        esegui_strumento(cartella.percorso(), con({"--al-metro", "41300", "--formato", "json"}));
    ASSERT_EQ(risposte.stato, 0) << risposte.errori;
    const json r = json::parse(risposte.uscita).at("risposte");
    ASSERT_EQ(r.size(), 1u);
    const json& segnale = r[0].at("elementi").at(0);
    EXPECT_EQ(segnale.at("cosa"), "segnale");
    EXPECT_EQ(segnale.at("metro"), 41300);
    EXPECT_EQ(segnale.at("progressiva"), "39+800");
    EXPECT_EQ(segnale.at("fonte"),
              json::parse(R"({"file": "modello/Corvenna_7381-.txt", "riga": 50})"));
    EXPECT_EQ(segnale["valori"].at("aspetti"), "2/3/0");
    EXPECT_EQ(segnale["grezzo"].at("cella"), 827);
    EXPECT_EQ(segnale["grezzo"]["campi"].at("dato4"), 18);

    // The whole scenario, JSON and CSV: the signal in the stretch from 41300 m, at 41300 m.
    const auto intero = esegui_strumento(cartella.percorso(), {"ispeziona", "."});
    ASSERT_EQ(intero.stato, 0) << intero.errori;
    const json tutto = json::parse(intero.uscita);
    const json& tratto = tutto.at("tratti").at(826);
    EXPECT_EQ(tratto.at("da_metro"), 41300);
    EXPECT_EQ(tratto["elementi"][0].at("metro"), 41300);
    const auto csv = esegui_strumento(cartella.percorso(), {"ispeziona", ".", "--formato", "csv"});
    ASSERT_EQ(csv.stato, 0) << csv.errori;
    EXPECT_NE(csv.uscita.find("\n826,41300,41350,39+800,60,60,,60/60/60,0,100,0,no,\"segnale "
                              "principale a 41300 m (km 39+800): "),
              std::string::npos);
}

// confronta on the built-in descriptions: nothing against themselves; one line naming a moved
// signal, exit 1; the same as JSON.
TEST(Confronta, SaysWhatMovedAndNothingForTheSame) {
    const cartella_temporanea cartella;
    ASSERT_EQ(esegui_strumento(cartella.percorso(), {"esporta", "a"}).stato, 0);
    fs::create_directory(cartella.percorso() / "b");
    for (const char* nome : {"Corvenna_linea.txt", "Corvenna_7381-.txt"})
        fs::copy_file(cartella.percorso() / "a" / nome, cartella.percorso() / "b" / nome);
    const std::vector<std::string> a = {"a/Corvenna_linea.txt", "a/Corvenna_7381-.txt"};
    const std::vector<std::string> b = {"b/Corvenna_linea.txt", "b/Corvenna_7381-.txt"};
    const auto confronta = [&](std::vector<std::string> resto) {
        std::vector<std::string> argomenti = {"confronta"};
        argomenti.insert(argomenti.end(), a.begin(), a.end());
        argomenti.insert(argomenti.end(), b.begin(), b.end());
        argomenti.insert(argomenti.end(), resto.begin(), resto.end());
        return esegui_strumento(cartella.percorso(), argomenti);
    };
    const auto uguali = confronta({});
    EXPECT_EQ(uguali.stato, 0) << uguali.errori;
    EXPECT_EQ(uguali.uscita, "");

    const fs::path treno = cartella.percorso() / "b" / "Corvenna_7381-.txt";
    std::string testo = prova::leggi_file(treno);
    const std::size_t riga = testo.find("segnale,  41300,");
    ASSERT_NE(riga, std::string::npos);
    testo.replace(riga, 16, "segnale,  41400,");
    prova::scrivi_file(treno, testo);
    const auto diversi = confronta({});
    EXPECT_EQ(diversi.stato, 1) << diversi.errori;
    EXPECT_EQ(diversi.uscita, "segnale a 41300 m (km 39+800) spostato a 41400 m (km 39+900)\n");
    EXPECT_EQ(diversi.errori, "");
    const auto in_json = confronta({"--formato", "json"});
    EXPECT_EQ(in_json.stato, 1);
    EXPECT_EQ(json::parse(in_json.uscita),
              json::parse(R"j({"uguali": false, "modifiche": [{"gruppo": "segnale",
                  "da_metro": 41300, "descrizione":
                  "segnale a 41300 m (km 39+800) spostato a 41400 m (km 39+900)"}]})j"));

    const auto uno_solo = esegui_strumento(cartella.percorso(), {"confronta", "a"});
    EXPECT_EQ(uno_solo.stato, 64);
}

// A damaged file and the message it must give: the file, the byte, what was expected there.
struct caso_guasto {
    const char* nome;
    std::string file;
    std::function<void(std::string&)> guasta;
    std::string messaggio;
};

class FileGuasto : public testing::TestWithParam<caso_guasto> {};

TEST_P(FileGuasto, IsRefusedWithItsPlaceAndExitOne) {
    const caso_guasto& caso = GetParam();
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    const fs::path bersaglio = cartella.percorso() / caso.file;
    if (caso.guasta) {
        std::string dati = prova::leggi_file(bersaglio);
        caso.guasta(dati);
        prova::scrivi_file(bersaglio, dati);
    } else {
        fs::remove(bersaglio);
        fs::create_directory(bersaglio);
    }
    const prova::esito_strumento esito =
        esegui_strumento(cartella.percorso(), {"ispeziona", voci, celle, planimetria});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.errori, "scenario: " + caso.file + ": " + caso.messaggio + "\n");
    EXPECT_EQ(esito.uscita, "");
}

void accorcia(std::string& d) {
    d.pop_back();
}
void allunga(std::string& d) {
    d.push_back('\0');
}
void svuota(std::string& d) {
    d.clear();
}
void azzera(std::string& d) {
    d.assign(d.size(), '\0');
}
void metti_intero(std::string& d, std::size_t o, std::uint16_t v) {
    d.at(o) = static_cast<char>(v & 0xFF);
    d.at(o + 1) = static_cast<char>(v >> 8);
}

// Offsets in the generator's files: the item file is 4634 bytes, item 86 (name "7381") its last
// 38; the cell file 1901 cells of 15 bytes; the plan view two blocks of 95001 values, x(2) a
// double at byte 8.
const std::string fine_celle = ", l'ultima di un percorso di 88000 m";
const std::string fine_planimetria = ", l'ultimo di un percorso di 88000 m";

INSTANTIATE_TEST_SUITE_P(
    Ispeziona, FileGuasto,
    testing::Values(
        caso_guasto{"items_one_short", voci, accorcia,
                    "byte 4630: attesi 4 byte per il campo orario della voce 86, ne restano 3"},
        caso_guasto{"items_one_long", voci, allunga,
                    "byte 4634: attesa la fine del file dopo la voce 86"},
        caso_guasto{"items_empty", voci, svuota,
                    "byte 0: atteso 1 byte per il campo tipo della voce 0, ne restano 0"},
        caso_guasto{"items_zeros", voci, azzera,
                    "byte 2958: attesa la fine del file dopo la voce 86"},
        caso_guasto{"items_zeros_of_the_record_size", voci,
                    [](std::string& d) { d.assign(87 * 34, '\0'); },
                    "byte 2906: atteso il timbro 610 nel campo i1 della voce 85, trovato 0"},
        caso_guasto{"name_past_the_end", voci,
                    [](std::string& d) { metti_intero(d, 4596 + 14, 0x7FFF); },
                    "byte 4612: attesi 32767 byte per il campo nome della voce 86, ne restano 22"},
        caso_guasto{"name_length_negative", voci,
                    [](std::string& d) { metti_intero(d, 4596 + 14, 0xFFFF); },
                    "byte 4610: attesa una lunghezza da 0 a 32767 per il campo nome della voce "
                    "86, trovata -1"},
        caso_guasto{"cells_one_short", celle, accorcia,
                    "byte 28500: attesi 15 byte per la cella 1900, ne restano 14"},
        caso_guasto{"cells_one_long", celle, allunga,
                    "byte 28515: attesa la fine del file dopo la cella 1900" + fine_celle},
        caso_guasto{"cells_one_cell_short", celle, [](std::string& d) { d.resize(d.size() - 10); },
                    "byte 28500: attesi 15 byte per la cella 1900, ne restano 5"},
        caso_guasto{"cells_empty", celle, svuota,
                    "byte 0: attesi 15 byte per la cella 0, ne restano 0"},
        caso_guasto{"cells_zeros", celle, azzera,
                    "byte 16: atteso il timbro 5121 nel campo dato1 della cella 1, trovato 0"},
        caso_guasto{"plan_view_one_short", planimetria, accorcia,
                    "byte 1899962: attesi 2 byte per l'etichetta di y del metro 95000, ne resta 1"},
        caso_guasto{"plan_view_one_long", planimetria, allunga,
                    "byte 1899964: attesa la fine del file dopo y del metro 95000" +
                        fine_planimetria},
        caso_guasto{"plan_view_wrong_tag", planimetria,
                    [](std::string& d) { metti_intero(d, 8, 7); },
                    "byte 8: attesa l'etichetta 0, 2 o 5 per x del metro 2, trovata 7"},
        caso_guasto{"plan_view_cut_in_a_double", planimetria, [](std::string& d) { d.resize(13); },
                    "byte 10: attesi 8 byte per il valore di x del metro 2, ne restano 3"},
        caso_guasto{"plan_view_not_a_number", planimetria,
                    [](std::string& d) {
                        const double nan = std::numeric_limits<double>::quiet_NaN();
                        std::memcpy(d.data() + 10, &nan, sizeof nan);
                    },
                    "byte 10: atteso un numero finito per x del metro 2, trovato nan"},
        caso_guasto{"plan_view_empty", planimetria, svuota,
                    "byte 0: attesi 2 byte per l'etichetta di x del metro 0, ne restano 0"},
        caso_guasto{"plan_view_zeros", planimetria, azzera,
                    "byte 380004: attesa la fine del file dopo y del metro 95000" +
                        fine_planimetria},
        caso_guasto{"directory_for_items", voci, nullptr,
                    "atteso il file delle voci, trovata una cartella"},
        caso_guasto{"directory_for_cells", celle, nullptr,
                    "atteso il file delle celle, trovata una cartella"},
        caso_guasto{"directory_for_plan_view", planimetria, nullptr,
                    "atteso il file della planimetria, trovata una cartella"}),
    [](const testing::TestParamInfo<caso_guasto>& info) { return info.param.nome; });

// A file far longer than any of its kind is refused after reading only as much as the longest
// could hold: a 4 GiB plan view (sparse, so it costs no disk) neither fills the memory nor takes
// the time of reading it whole.
TEST(Ispeziona, HugeFileIsReadNoFurtherThanItsKindCanHold) {
    const cartella_temporanea cartella;
    scrivi_scenario(cartella.percorso());
    fs::resize_file(cartella.percorso() / planimetria, std::uintmax_t{4} << 30);
    const prova::esito_strumento esito = esegui_strumento(cartella.percorso(), {"ispeziona", "."});
    EXPECT_EQ(esito.stato, 1);
    EXPECT_EQ(esito.errori, "scenario: ./Corvenna_linea.dat: byte 1899964: attesa la fine del "
                            "file dopo y del metro 95000" +
                                fine_planimetria + "\n");
}

} // namespace
} // namespace corvenna
