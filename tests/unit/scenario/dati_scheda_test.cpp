#include "scenario/dati_documenti.hpp"
#include "support/documenti_in_cartella.hpp"

#include "format/righe_documento.hpp"
#include "model/costruzione.hpp"
#include "scenario/righe_scheda.hpp"
#include "scenario/righe_treno.hpp"
#include "scenario/stazioni_scenario.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using prova_documenti::campi_controllati;
using prova_documenti::colonne_barre;
using prova_documenti::numero;

// Columns (from 1) of the bars of every timetable line, headings and rows alike.
const std::vector<int> barre_orario = {2, 8, 14, 25, 31, 60, 77, 83};
const std::string regola_orario =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
const std::string riga_orario_vuota =
    " |     |     |          |     |                            |                |     |";

constexpr int prima_riga_orario = 17; // line numbers, from 1
constexpr int ultima_riga_orario = 37;

std::string senza_blank_finali(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string senza_blank(const std::string& s) {
    const std::size_t inizio = s.find_first_not_of(' ');
    return inizio == std::string::npos ? std::string() : senza_blank_finali(s.substr(inizio));
}

// One timetable row cut into its seven cells (the bars dropped).
struct riga_orario {
    std::string limite, marcia, progressiva, numero, localita, orario, recupero;

    std::string nome() const { return senza_blank(localita); }
};

riga_orario celle_di(const std::string& riga) {
    auto cella = [&](int da, int a) { return riga.substr(da - 1, a - da + 1); };
    return {cella(3, 7),   cella(9, 13),  cella(15, 24), cella(26, 30),
            cella(32, 59), cella(61, 76), cella(78, 82)};
}

// A station row of the train description, taken apart here independently of the compiler.
struct stazione_descritta {
    std::string nome;
    int posizione = 0;
    int ore = 0, minuti = 0, secondi = 0;

    bool ha_orario() const { return ore != 0 || minuti != 0 || secondi != 0; }
};

struct limite_descritto {
    int posizione = 0;
    int velocita = 0;
};

// The field `i` of a row cut into its fields, as a number.
int intero(const std::vector<std::string_view>& c, std::size_t i) {
    return static_cast<int>(numero(c[i]));
}

std::vector<stazione_descritta> stazioni_descritte() {
    std::vector<stazione_descritta> stazioni;
    for (std::string_view riga : righe_treno) {
        if (!riga.starts_with("stazione,"))
            continue;
        const std::vector<std::string_view> c = campi_controllati(riga, "stazione", 18);
        if (c.empty())
            continue;
        // The name follows its comma and exactly three blanks.
        EXPECT_TRUE(riga.ends_with(",   " + std::string(c[17]))) << riga;
        stazioni.push_back(
            {std::string(c[17]), intero(c, 1), intero(c, 14), intero(c, 15), intero(c, 16)});
    }
    return stazioni;
}

std::vector<limite_descritto> limiti_descritti() {
    std::vector<limite_descritto> limiti;
    for (std::string_view riga : righe_treno) {
        if (!riga.starts_with("velocita,"))
            continue;
        const std::vector<std::string_view> c = campi_controllati(riga, "velocita", 3);
        if (!c.empty())
            limiti.push_back({intero(c, 1), intero(c, 2)});
    }
    return limiti;
}

// Minutes after midnight of an "h.mm" time.
int minuti_di(const std::string& ora) {
    const std::size_t punto = ora.find('.');
    return std::stoi(ora.substr(0, punto)) * 60 + std::stoi(ora.substr(punto + 1));
}

// The times of a row's time cell: none, one, or arrival and departure.
std::vector<std::string> orari_di(const std::string& cella) {
    static const std::regex ora(R"(\d\.\d\d)");
    std::vector<std::string> orari;
    for (auto it = std::sregex_iterator(cella.begin(), cella.end(), ora);
         it != std::sregex_iterator(); ++it)
        orari.push_back(it->str());
    return orari;
}

std::string come_ora(int ore, int minuti) {
    return std::to_string(ore) + "." + (minuti < 10 ? "0" : "") + std::to_string(minuti);
}

std::optional<int> velocita_di(const std::string& cella) {
    if (cella == "     ")
        return std::nullopt;
    return std::stoi(cella);
}

class Scheda : public prova_documenti::documento_scritto {
  protected:
    Scheda() : documento_scritto("Corvenna_7381_scheda_treno.txt") {}

    // Writes the card and returns its lines as bytes, cut at every CR LF.
    std::vector<std::string> scrivi_e_rileggi() {
        prova::dati_scheda(c, cartella);
        return righe_scritte();
    }

    // The 21 timetable rows of the written card.
    std::vector<riga_orario> righe_orario() {
        const std::vector<std::string> righe = scrivi_e_rileggi();
        std::vector<riga_orario> orario;
        if (righe.size() < ultima_riga_orario) {
            ADD_FAILURE() << "card too short";
            return orario;
        }
        for (int numero = prima_riga_orario; numero <= ultima_riga_orario; ++numero)
            orario.push_back(celle_di(righe[numero - 1]));
        return orario;
    }
};

// Rows 2, 9, 11, 15 and 20 are the points that are not stations.
bool riga_di_stazione(std::size_t indice) {
    return indice != 1 && indice != 8 && indice != 10 && indice != 14 && indice != 19;
}

TEST_F(Scheda, WritesFiftyThreeLinesAndStopsAtTheEndMarker) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    EXPECT_EQ(c.indice, 53);
    EXPECT_EQ(righe_scheda.back(), fine_tabella);
    const std::string byte = leggi();
    EXPECT_EQ(byte.find("riferimento"), std::string::npos);
    EXPECT_EQ(byte.substr(byte.size() - 3), " \r\n");
    for (int numero : {1, 2, 12, 50, 51, 52})
        EXPECT_EQ(righe[numero - 1], "") << "line " << numero;
    EXPECT_EQ(righe[52], " ");
}

TEST_F(Scheda, OnlyLinesNineAndFiftyThreeEndInABlank) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const bool finisce_in_blank = !righe[i].empty() && righe[i].back() == ' ';
        EXPECT_EQ(finisce_in_blank, i + 1 == 9 || i + 1 == 53) << "line " << i + 1;
    }
    EXPECT_TRUE(righe[8].ends_with("|       "));
}

TEST_F(Scheda, LocalitaIsTheOnlyByteOutsideAscii) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    EXPECT_EQ(righe[13].substr(31, 28), "   Localit\xE0  di  Servizio   ");
    int fuori_ascii = 0;
    for (const std::string& riga : righe)
        fuori_ascii += static_cast<int>(std::count_if(riga.begin(), riga.end(), [](char ch) {
            return static_cast<unsigned char>(ch) >= 0x80;
        }));
    EXPECT_EQ(fuori_ascii, 1);
}

TEST_F(Scheda, HeaderAndClassificationBoxesAreLaidOut) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    const struct {
        int numero;
        std::size_t lunghezza;
        std::vector<int> barre;
    } casi[] = {
        {3, 82, {}},
        {4, 83, {2, 22, 68, 83}},
        {5, 83, {2, 22, 68, 83}},
        {6, 83, {2, 22, 68, 83}},
        {7, 83, {68, 83}},
        {8, 56, {}},
        {9, 64, {2, 22, 37, 57}},
        {10, 57, {2, 22, 37, 57}},
        {11, 57, {2, 22, 37, 57}},
        {13, 82, {}},
    };
    for (const auto& caso : casi) {
        const std::string& riga = righe[caso.numero - 1];
        EXPECT_EQ(riga.size(), caso.lunghezza) << "line " << caso.numero;
        EXPECT_EQ(colonne_barre(riga), caso.barre) << "line " << caso.numero;
    }
    const std::string u19(19, '_');
    EXPECT_EQ(righe[2], "  " + u19 + std::string(47, ' ') + std::string(14, '_'));
    EXPECT_EQ(righe[3].substr(42, 6), "SCHEDA");
    EXPECT_EQ(righe[4].substr(2, 19), "   TRENO n.7381    ");
    EXPECT_EQ(righe[4].substr(68, 14), "    V100 A    ");
    EXPECT_EQ(righe[5].substr(2, 19), u19);
    EXPECT_EQ(righe[5].substr(68, 14), "    90 %      ");
    EXPECT_EQ(righe[6], std::string(67, ' ') + "|" + std::string(14, '_') + "|");
    EXPECT_EQ(righe[7], "  " + u19 + std::string(16, ' ') + u19);
    EXPECT_EQ(righe[8], " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
    EXPECT_EQ(righe[9], " |       DIR         |              |      500T         |");
    EXPECT_EQ(righe[10], " |___________________|              |___________________|");
    EXPECT_EQ(righe[12], "  " + std::string(80, '_'));
}

TEST_F(Scheda, OriginAndDestinationNameTheEndStations) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    // Both colons in column 41, both names from column 43 to the end of the middle cell.
    EXPECT_EQ(righe[4].substr(22, 20), std::string(16, ' ') + "da: ");
    EXPECT_EQ(righe[5].substr(22, 20), std::string(17, ' ') + "a: ");
    const std::string origine = senza_blank_finali(righe[4].substr(42, 25));
    const std::string destinazione = senza_blank_finali(righe[5].substr(42, 25));
    EXPECT_EQ(origine, origine_scenario);
    EXPECT_EQ(destinazione, destinazione_scenario);

    // The same places as the first and last stations of the train description, in mixed case.
    const std::vector<stazione_descritta> stazioni = stazioni_descritte();
    ASSERT_FALSE(stazioni.empty());
    auto maiuscolo = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
        return s;
    };
    EXPECT_EQ(maiuscolo(origine), stazioni.front().nome);
    EXPECT_EQ(maiuscolo(destinazione), stazioni.back().nome);
}

TEST_F(Scheda, TimetableLinesShareTheirBarColumns) {
    const std::vector<std::string> righe = scrivi_e_rileggi();
    ASSERT_EQ(righe.size(), 53u);
    for (int numero = 14; numero <= 49; ++numero) {
        const std::string& riga = righe[numero - 1];
        EXPECT_EQ(riga.size(), 83u) << "line " << numero;
        EXPECT_EQ(riga[0], ' ') << "line " << numero;
        EXPECT_EQ(colonne_barre(riga), barre_orario) << "line " << numero;
    }
    EXPECT_EQ(righe[14], " | Lim.|Marc.|          |  Rs |                            |"
                         "                |     |");
    EXPECT_EQ(righe[15], regola_orario);
    EXPECT_EQ(righe[48], regola_orario);
    for (int numero = 38; numero <= 48; ++numero)
        EXPECT_EQ(righe[numero - 1], riga_orario_vuota) << "line " << numero;
    EXPECT_EQ(righe[17], " | 125 | 100 |     0.000|     | cippo km 0.000             |"
                         "                |     |");
}

TEST_F(Scheda, TimetableCellsKeepTheirFormats) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_EQ(orario.size(), 21u);
    const std::regex velocita(R"(( {5})|([ \d]{3}\d ))");
    const std::regex progressiva(R"( *\d+\.\d{3})");
    const std::regex localita(R"( \S.*)");
    const std::regex orari(R"(( {16})|( {7}\d\.\d\d {5})|( {3}\d\.\d\d - \d\.\d\d {2}))");
    const std::regex recupero(R"(( {5})|( 0\.5 )|( 1\.5 )|(  1  ))");
    for (std::size_t i = 0; i < orario.size(); ++i) {
        const riga_orario& r = orario[i];
        EXPECT_TRUE(std::regex_match(r.limite, velocita)) << "row " << i + 1;
        EXPECT_TRUE(std::regex_match(r.marcia, velocita)) << "row " << i + 1;
        EXPECT_TRUE(std::regex_match(r.progressiva, progressiva)) << "row " << i + 1;
        EXPECT_EQ(r.numero, "     ") << "row " << i + 1;
        EXPECT_TRUE(std::regex_match(r.localita, localita)) << "row " << i + 1;
        EXPECT_TRUE(std::regex_match(r.orario, orari)) << "row " << i + 1;
        EXPECT_TRUE(std::regex_match(r.recupero, recupero)) << "row " << i + 1;
        if (!riga_di_stazione(i)) {
            EXPECT_EQ(r.orario, std::string(16, ' ')) << "row " << i + 1;
            EXPECT_EQ(r.recupero, "     ") << "row " << i + 1;
        }
    }
}

TEST_F(Scheda, CountsOfTimesAndRecoveries) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_EQ(orario.size(), 21u);
    int doppi = 0, singoli = 0, limiti = 0, marce = 0;
    std::vector<std::string> recuperi;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        const std::size_t orari = orari_di(orario[i].orario).size();
        if (riga_di_stazione(i)) {
            doppi += orari == 2;
            singoli += orari == 1;
        }
        limiti += velocita_di(orario[i].limite).has_value();
        marce += velocita_di(orario[i].marcia).has_value();
        if (orario[i].recupero != "     ")
            recuperi.push_back(orario[i].recupero);
    }
    EXPECT_EQ(doppi, 10);
    EXPECT_EQ(singoli, 6);
    EXPECT_EQ(limiti, 8);
    EXPECT_EQ(marce, 9);
    EXPECT_EQ(std::count(recuperi.begin(), recuperi.end(), " 0.5 "), 8);
    EXPECT_EQ(std::count(recuperi.begin(), recuperi.end(), "  1  "), 2);
    EXPECT_EQ(std::count(recuperi.begin(), recuperi.end(), " 1.5 "), 1);
}

TEST_F(Scheda, StationRowsFollowTheTrainDescription) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_EQ(orario.size(), 21u);
    const std::vector<stazione_descritta> stazioni = stazioni_descritte();
    ASSERT_EQ(stazioni.size(), 16u);

    std::size_t s = 0;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        if (!riga_di_stazione(i))
            continue;
        ASSERT_LT(s, stazioni.size());
        const stazione_descritta& st = stazioni[s++];
        EXPECT_EQ(orario[i].nome(), st.nome) << "row " << i + 1;
        const std::vector<std::string> orari = orari_di(orario[i].orario);
        ASSERT_FALSE(orari.empty()) << "row " << i + 1;
        // The card's first time (the arrival of a stop) is the described time's minute.
        if (st.ha_orario())
            EXPECT_EQ(orari.front(), come_ora(st.ore, st.minuti)) << st.nome;
        else
            EXPECT_EQ(orari.size(), 1u) << st.nome;
    }
    EXPECT_EQ(s, stazioni.size());
    // The origin and the terminus show one time only.
    EXPECT_EQ(orari_di(orario.front().orario).size(), 1u);
    EXPECT_EQ(orari_di(orario.back().orario).size(), 1u);
}

TEST_F(Scheda, TimesNeverGoBackwards) {
    const std::vector<riga_orario> orario = righe_orario();
    int precedente = -1;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        const std::vector<std::string> orari = orari_di(orario[i].orario);
        for (const std::string& ora : orari) {
            EXPECT_GT(minuti_di(ora), precedente) << "row " << i + 1;
            precedente = minuti_di(ora);
        }
    }
}

// Where each card row lies on the line: stations from the train description, the other points
// from the scenario's table.
std::vector<int> posizioni_righe(const std::vector<riga_orario>& orario) {
    const std::vector<stazione_descritta> stazioni = stazioni_descritte();
    std::vector<int> posizioni;
    std::size_t s = 0;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        if (riga_di_stazione(i)) {
            posizioni.push_back(s < stazioni.size() ? stazioni[s++].posizione : -1);
            continue;
        }
        const auto punto =
            std::find_if(punti_scheda.begin(), punti_scheda.end(),
                         [&](const punto_scheda& p) { return p.nome == orario[i].nome(); });
        EXPECT_NE(punto, punti_scheda.end()) << orario[i].nome();
        posizioni.push_back(punto == punti_scheda.end() ? -1 : punto->posizione);
    }
    return posizioni;
}

TEST_F(Scheda, SpeedLimitsStandWhereTheTrainDescriptionChangesThem) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_EQ(orario.size(), 21u);
    const std::vector<int> posizioni = posizioni_righe(orario);
    ASSERT_TRUE(std::is_sorted(posizioni.begin(), posizioni.end()));

    // Each change goes on the last row at or before the point where it takes effect.
    std::vector<std::optional<int>> attesi(orario.size());
    std::optional<int> attuale;
    for (const limite_descritto& l : limiti_descritti()) {
        if (attuale == l.velocita)
            continue;
        attuale = l.velocita;
        const auto dopo = std::upper_bound(posizioni.begin(), posizioni.end(), l.posizione);
        ASSERT_NE(dopo, posizioni.begin()) << l.posizione;
        attesi[static_cast<std::size_t>(dopo - posizioni.begin()) - 1] = l.velocita;
    }
    std::vector<int> sequenza;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        EXPECT_EQ(velocita_di(orario[i].limite), attesi[i]) << "row " << i + 1;
        if (const auto v = velocita_di(orario[i].limite))
            sequenza.push_back(*v);
    }
    EXPECT_EQ(sequenza, (std::vector<int>{75, 125, 60, 130, 100, 130, 90, 30}));
}

TEST_F(Scheda, RunningSpeedChangesStayWithinTheLimit) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_FALSE(orario.empty());
    ASSERT_TRUE(velocita_di(orario.front().limite).has_value());
    ASSERT_TRUE(velocita_di(orario.front().marcia).has_value());
    int limite = 0;
    int marcia = 0;
    for (std::size_t i = 0; i < orario.size(); ++i) {
        limite = velocita_di(orario[i].limite).value_or(limite);
        if (const auto v = velocita_di(orario[i].marcia)) {
            EXPECT_NE(*v, marcia) << "row " << i + 1 << " repeats the running speed";
            marcia = *v;
        }
        // The train runs at 100 km/h at most, its rank's speed in the header box.
        EXPECT_LE(marcia, std::min(limite, 100)) << "row " << i + 1;
    }
}

TEST_F(Scheda, KilometresFollowTheLineProgressives) {
    const std::vector<riga_orario> orario = righe_orario();
    ASSERT_EQ(orario.size(), 21u);
    std::vector<std::string> km;
    for (const riga_orario& r : orario)
        km.push_back(senza_blank(r.progressiva));
    EXPECT_EQ(km[0], "90.000");
    EXPECT_EQ(km[1], "0.000");
    EXPECT_EQ(km[9], "40.800"); // the eighth station, end of the first count
    EXPECT_EQ(km[10], "0.700"); // the exit switch, on the new count
    EXPECT_EQ(km[20], "5.200"); // the terminus
    auto metri = [&](std::size_t i) {
        return std::stoi(km[i]) * 1000 + std::stoi(km[i].substr(km[i].find('.') + 1));
    };
    const auto massimo =
        static_cast<std::size_t>(std::max_element(km.begin() + 10, km.end(),
                                                  [&](const std::string& a, const std::string& b) {
                                                      return std::stod(a) < std::stod(b);
                                                  }) -
                                 km.begin());
    EXPECT_EQ(km[massimo], "26.500");
    for (std::size_t i = 2; i < 10; ++i)
        EXPECT_LT(metri(i - 1), metri(i)) << "row " << i + 1;
    for (std::size_t i = 11; i <= massimo; ++i)
        EXPECT_LT(metri(i - 1), metri(i)) << "row " << i + 1;
    for (std::size_t i = massimo + 1; i < km.size(); ++i)
        EXPECT_GT(metri(i - 1), metri(i)) << "row " << i + 1;

    // Every row shows the progressive the scenario's table gives its place.
    for (std::size_t i = 0; i < orario.size(); ++i) {
        std::optional<int> atteso;
        for (const stazione_scenario& s : stazioni_scenario)
            if (s.nome == orario[i].nome())
                atteso = s.progressiva_scheda;
        for (const punto_scheda& p : punti_scheda)
            if (p.nome == orario[i].nome())
                atteso = p.progressiva_scheda;
        ASSERT_TRUE(atteso.has_value()) << orario[i].nome();
        EXPECT_EQ(metri(i), *atteso) << orario[i].nome();
    }
}

TEST_F(Scheda, AnEarlierLongerFileIsReplacedWhole) {
    verifica_sostituzione(
        [&] { prova::dati_scheda(c, cartella); },
        [](const std::string& pulito) { return std::string(pulito.size() * 3, 'x'); });
}

} // namespace
} // namespace corvenna
