// Checks the train description's data against the rules it must keep, its agreement with the
// shared station table, and, together with the line description, that every point feature of
// the scenario claims a cell of its own on the compiled track. The lines are taken apart here
// with a small splitter, independent of the description reader.

#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "scenario/stazioni_scenario.hpp"

#include "format/righe_documento.hpp"
#include "support/descrizioni_prova.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using prova_documenti::campi;
using prova_documenti::campi_controllati;
using prova_documenti::numero;
using prova_documenti::ultima_cella;

std::vector<std::string_view> sezione_treno(std::string_view intestazione) {
    return prova_documenti::sezione(righe_treno, intestazione);
}

// The values of a row after its keyword, as numbers.
std::vector<long> valori(std::string_view riga, std::size_t quanti) {
    const auto c = campi(riga);
    EXPECT_EQ(c.size(), quanti + 1) << riga;
    std::vector<long> risultato;
    for (std::size_t i = 1; i < c.size() && i <= quanti; ++i)
        risultato.push_back(numero(c[i]));
    return risultato;
}

TEST(RigheTreno, SectionsStandOnTheirLinesWithTheirRowCounts) {
    ASSERT_EQ(righe_treno.size(), 68u);
    EXPECT_EQ(righe_treno.back(), fine_tabella);
    const std::map<int, std::string_view> intestazioni{
        {1, "[generale]"},       {6, "[aderenze]"}, {8, "[vel_limite]"}, {18, "[stazioni]"},
        {35, "[rallentamenti]"}, {36, "[segnali]"}, {66, "[codici]"},    {67, "[fine]"}};
    prova_documenti::verifica_intestazioni(righe_treno, intestazioni);
    EXPECT_EQ(sezione_treno("[vel_limite]").size(), 9u);
    EXPECT_EQ(sezione_treno("[stazioni]").size(), 16u);
    EXPECT_TRUE(sezione_treno("[rallentamenti]").empty());
    EXPECT_EQ(sezione_treno("[segnali]").size(), 29u);
    EXPECT_TRUE(sezione_treno("[codici]").empty());
}

// Every value follows a comma and two blanks; a station name follows a comma and three.
TEST(RigheTreno, BlanksAroundCommasAreExact) {
    for (auto it = righe_treno.begin(); it != righe_treno.end() - 1; ++it) {
        const std::string_view riga = *it;
        SCOPED_TRACE(std::string(riga));
        ASSERT_NO_FATAL_FAILURE(prova_documenti::verifica_riga_stampabile(riga));
        if (riga.starts_with("orologio,"))
            continue;
        const bool stazione = riga.starts_with("stazione,");
        int n = 0;
        for (std::size_t v = riga.find(','); v != std::string_view::npos;
             v = riga.find(',', v + 1)) {
            ++n;
            const std::string_view resto = riga.substr(v + 1);
            const std::size_t blank = stazione && n == 17 ? 3 : 2;
            EXPECT_EQ(resto.find_first_not_of(' '), blank) << "value " << n;
        }
    }
}

TEST(RigheTreno, GeneralAndAdhesionRowsAreExact) {
    EXPECT_EQ(sezione_treno("[generale]"),
              (std::vector<std::string_view>{"numero vetture,  12",
                                             "percentuale massa frenata,  90", "sabbia,  300",
                                             "orologio,     6               40            50"}));
    const std::string orologio = "orologio," + std::string(5, ' ') + "6" + std::string(15, ' ') +
                                 "40" + std::string(12, ' ') + "50";
    EXPECT_EQ(sezione_treno("[generale]").back(), orologio);
    EXPECT_EQ(sezione_treno("[aderenze]"), std::vector<std::string_view>{"aderenza,  0,  100"});
}

TEST(RigheTreno, SpeedLimitsAscendAndAgreeWithTheSharedTable) {
    const std::vector<std::string_view> righe = sezione_treno("[vel_limite]");
    ASSERT_EQ(righe.size(), limiti_velocita.size());
    EXPECT_EQ(righe[0], "velocita,  0,  75");
    EXPECT_EQ(righe[1], "velocita,  1500,  125");
    EXPECT_EQ(righe.back(), "velocita,  85400,  30");
    long precedente = -1;
    for (std::size_t i = 0; i < righe.size(); ++i) {
        SCOPED_TRACE(std::string(righe[i]));
        EXPECT_EQ(campi(righe[i])[0], "velocita");
        const std::vector<long> v = valori(righe[i], 2);
        ASSERT_EQ(v.size(), 2u);
        EXPECT_GT(v[0], precedente);
        EXPECT_EQ(v[0] % 50, 0);
        EXPECT_LE((v[0] + 100) / 50.0, ultima_cella);
        EXPECT_EQ(v[1] % 5, 0);
        EXPECT_GE(v[1], 30);
        EXPECT_LE(v[1], 130);
        EXPECT_EQ(v[0], limiti_velocita[i].posizione);
        EXPECT_EQ(v[1], limiti_velocita[i].velocita);
        precedente = v[0];
    }
    // The card shows a limit only where it changes: 60 is restated at 42300.
    std::vector<int> cambi;
    for (const limite_velocita& l : limiti_velocita)
        if (cambi.empty() || cambi.back() != l.velocita)
            cambi.push_back(l.velocita);
    EXPECT_EQ(cambi, (std::vector<int>{75, 125, 60, 130, 100, 130, 90, 30}));
    EXPECT_TRUE(std::find(righe.begin(), righe.end(), "velocita,  41300,  60") != righe.end());
    EXPECT_TRUE(std::find(righe.begin(), righe.end(), "velocita,  42300,  60") != righe.end());
}

// One station row: the sixteen numbers and the name.
struct riga_stazione {
    std::vector<long> v; // v[0] is value 1 (position), v[15] value 16 (seconds)
    std::string_view nome;
};

std::vector<riga_stazione> stazioni() {
    std::vector<riga_stazione> risultato;
    for (std::string_view riga : sezione_treno("[stazioni]")) {
        const auto c = campi_controllati(riga, "stazione", 18);
        if (c.empty())
            continue;
        riga_stazione s;
        for (std::size_t i = 1; i <= 16; ++i)
            s.v.push_back(numero(c[i]));
        s.nome = c[17];
        risultato.push_back(s);
    }
    return risultato;
}

// The platform the compiler builds for a station row: start and end in metres.
std::pair<double, double> marciapiede(const riga_stazione& s) {
    const double p = static_cast<double>(s.v[0]);
    const double l = static_cast<double>(s.v[2]);
    const long tipo = s.v[1];
    if (tipo == 5 || tipo == 6)
        return {p - l, p + 150};
    if (tipo == 7 || tipo == 8)
        return {p - l, p + l};
    return {std::nearbyint(p - l / 2), std::nearbyint(p + l / 2 + (s.v[5] != 0 ? 50 : 0))};
}

TEST(RigheTreno, StationValuesKeepTheirSets) {
    const std::vector<riga_stazione> tutte = stazioni();
    ASSERT_EQ(tutte.size(), 16u);
    std::multiset<long> tipi;
    int con_b3 = 0;
    for (std::size_t i = 0; i < tutte.size(); ++i) {
        const riga_stazione& s = tutte[i];
        const std::vector<long>& v = s.v;
        SCOPED_TRACE(std::string(s.nome));
        tipi.insert(v[1]);
        EXPECT_TRUE(v[2] == 300 || v[2] == 400 || v[2] == 500 || v[2] == 600);
        EXPECT_EQ(v[3], i + 1 == tutte.size() ? 1 : 0) << "b1";
        EXPECT_EQ(v[4], 0) << "b2";
        EXPECT_TRUE(v[5] == 0 || v[5] == 1) << "b3";
        con_b3 += v[5] == 1;
        EXPECT_TRUE(v[6] == 0 || v[6] == 1) << "i1";
        EXPECT_EQ(v[7], v[6]) << "i2";
        EXPECT_EQ(v[8], 0) << "b4";
        EXPECT_TRUE(v[9] == 0 || v[9] == 2 || v[9] == 3 || v[9] == 4) << "i3";
        EXPECT_TRUE(v[10] == 0 || v[10] == 1 || v[10] == 4) << "i4";
        EXPECT_TRUE(v[11] == 0 || v[11] == 1) << "i5";
        if (i == 0) {
            EXPECT_EQ(v[12], 1) << "b5";
        } else {
            EXPECT_TRUE(v[12] == 0 || v[12] == 30 || v[12] == 60) << "b5";
        }
        // Name: capitals, blanks and full stops, at most 27 characters.
        EXPECT_FALSE(s.nome.empty());
        EXPECT_LE(s.nome.size(), 27u);
        EXPECT_TRUE(std::all_of(s.nome.begin(), s.nome.end(), [](unsigned char c) {
            return std::isupper(c) || c == ' ' || c == '.';
        }));
    }
    EXPECT_EQ(tipi,
              (std::multiset<long>{2, 4, 8, 12, 12, 12, 12, 12, 12, 12, 12, 24, 26, 27, 28, 28}));
    EXPECT_EQ(con_b3, 3);
}

TEST(RigheTreno, StationTimesRunForwardFromTheClock) {
    const std::vector<riga_stazione> tutte = stazioni();
    ASSERT_EQ(tutte.size(), 16u);
    // Clock 6:40:50; the first station ten seconds later.
    EXPECT_EQ(tutte.front().v[13] * 3600 + tutte.front().v[14] * 60 + tutte.front().v[15],
              (6 * 60 + 40) * 60 + 50 + 10);
    EXPECT_EQ(tutte.back().v[12], 0);
    int senza_orario = 0;
    long precedente = 0;
    for (std::size_t i = 0; i < tutte.size(); ++i) {
        const std::vector<long>& v = tutte[i].v;
        SCOPED_TRACE(std::string(tutte[i].nome));
        if (v[12] == 0 && v[13] == 0 && v[14] == 0 && v[15] == 0) {
            EXPECT_TRUE(i > 0 && i + 1 < tutte.size()) << "only intermediate rows lack a time";
            EXPECT_GE(v[1], 25) << "a station without a time is passed, not served";
            ++senza_orario;
            continue;
        }
        EXPECT_GE(v[13], 6);
        EXPECT_LE(v[13], 8);
        EXPECT_GE(v[14], 0);
        EXPECT_LE(v[14], 54);
        EXPECT_TRUE(v[15] == 0 || v[15] == 30);
        const long orario = (v[13] * 60 + v[14]) * 60 + v[15];
        EXPECT_GT(orario, precedente);
        precedente = orario;
    }
    EXPECT_EQ(senza_orario, 4);
}

TEST(RigheTreno, PlatformsAreSpacedAndInRange) {
    const std::vector<riga_stazione> tutte = stazioni();
    ASSERT_EQ(tutte.size(), 16u);
    EXPECT_EQ(tutte.front().v[0], 0);
    EXPECT_EQ(tutte.back().v[0], 86500);
    double fine_precedente = 0;
    for (std::size_t i = 0; i < tutte.size(); ++i) {
        const riga_stazione& s = tutte[i];
        SCOPED_TRACE(std::string(s.nome));
        EXPECT_EQ(s.v[0] % 50, 0);
        EXPECT_EQ(s.v[2] % 100, 0);
        EXPECT_LE((s.v[0] + 800) / 50.0, ultima_cella);
        const auto [inizio, fine] = marciapiede(s);
        if (s.v[1] < 25) {
            EXPECT_GT(fine / 50 - 1, 1) << "stop cell";
            EXPECT_LE(fine / 50 - 1, ultima_cella);
        }
        if (i > 0) {
            EXPECT_GE(inizio - 350, fine_precedente);
        }
        fine_precedente = fine;
    }
}

TEST(RigheTreno, StationRowsAgreeWithTheSharedTable) {
    const std::vector<riga_stazione> tutte = stazioni();
    ASSERT_EQ(tutte.size(), stazioni_scenario.size());
    for (std::size_t i = 0; i < tutte.size(); ++i) {
        const riga_stazione& r = tutte[i];
        const stazione_scenario& s = stazioni_scenario[i];
        SCOPED_TRACE(std::string(s.nome));
        EXPECT_EQ(r.nome, s.nome);
        EXPECT_EQ(r.v[0], s.posizione);
        EXPECT_EQ(r.v[1], s.tipo);
        EXPECT_EQ(r.v[2], s.marciapiede);
        EXPECT_EQ(r.v[13], s.ore);
        EXPECT_EQ(r.v[14], s.minuti);
        EXPECT_EQ(r.v[15], s.secondi);
        EXPECT_EQ(r.v[13] != 0, s.ha_orario);
    }
    EXPECT_EQ(stazioni_scenario[indice_stazione_diramazione].posizione, 42300);
    EXPECT_EQ(stazioni_scenario.front().nome, "CORVENNA");
    EXPECT_EQ(origine_scenario, "Corvenna");
    EXPECT_EQ(destinazione_scenario, "Valterma");
    EXPECT_EQ(stazioni_scenario.back().nome, "VALTERMA");
    EXPECT_EQ(nome_linea, "Corvenna-Valterma");
}

// The card's view of the stations: the served intermediate stations show arrival and
// departure, the others one time; the card's times run forward; a served station's arrival is
// its time in the train description.
TEST(RigheTreno, CardTimesAgreeWithTheStationTimes) {
    int doppi = 0;
    int precedente = 0;
    for (std::size_t i = 0; i < stazioni_scenario.size(); ++i) {
        const stazione_scenario& s = stazioni_scenario[i];
        SCOPED_TRACE(std::string(s.nome));
        const bool estremo = i == 0 || i + 1 == stazioni_scenario.size();
        EXPECT_EQ(s.orario_doppio, s.ha_orario && !estremo);
        doppi += s.orario_doppio;
        const int arrivo = s.arrivo.ore * 60 + s.arrivo.minuti;
        const int partenza = s.partenza.ore * 60 + s.partenza.minuti;
        if (s.orario_doppio) {
            EXPECT_LT(arrivo, partenza);
        } else {
            EXPECT_EQ(arrivo, partenza);
        }
        EXPECT_GE(arrivo, precedente);
        EXPECT_LT(s.partenza.ore, 10) << "one-digit hours on the card";
        if (s.ha_orario) {
            EXPECT_EQ(s.arrivo.ore, s.ore);
            EXPECT_EQ(s.arrivo.minuti, s.minuti);
        }
        precedente = partenza;
    }
    EXPECT_EQ(doppi, 10);
}

struct riga_segnale {
    std::string_view testo;
    std::vector<long> v; // posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
};

std::vector<riga_segnale> segnali() {
    std::vector<riga_segnale> risultato;
    for (std::string_view riga : sezione_treno("[segnali]")) {
        EXPECT_EQ(campi(riga)[0], "segnale") << riga;
        risultato.push_back({riga, valori(riga, 11)});
    }
    return risultato;
}

TEST(RigheTreno, SignalsKeepTheirRangesAndPairing) {
    const std::vector<riga_segnale> tutti = segnali();
    ASSERT_EQ(tutti.size(), 29u);
    EXPECT_EQ(tutti.front().testo, "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0");
    const auto cerca = [&](std::string_view testo) {
        return std::find_if(tutti.begin(), tutti.end(),
                            [&](const riga_segnale& s) { return s.testo == testo; });
    };
    const auto avviso = cerca("segnale,  40050,  1,  5,  6,  0,  0,  1,  3,  1,  0,  0");
    ASSERT_NE(avviso, tutti.end());
    ASSERT_NE(avviso + 1, tutti.end());
    EXPECT_EQ((avviso + 1)->testo, "segnale,  41300,  2,  2,  3,  0,  1,  2,  2,  1,  0,  0");
    std::map<long, int> per_sx;
    long precedente = 0;
    for (std::size_t i = 0; i < tutti.size(); ++i) {
        const std::vector<long>& v = tutti[i].v;
        SCOPED_TRACE(std::string(tutti[i].testo));
        ASSERT_EQ(v.size(), 11u);
        EXPECT_GT(v[0], precedente);
        EXPECT_GE(v[0], 2800);
        EXPECT_LE(v[0], 85300);
        EXPECT_EQ(v[0] % 50, 0);
        precedente = v[0];
        ++per_sx[v[1]];
        if (v[1] == 1) {
            ASSERT_LT(i + 1, tutti.size());
            const std::vector<long>& dopo = tutti[i + 1].v;
            EXPECT_EQ(dopo[1], 2);
            EXPECT_GE(dopo[0] - v[0], 1200);
            EXPECT_LE(dopo[0] - v[0], 1350);
        }
        EXPECT_TRUE(v[2] >= 2 && v[2] <= 5) << "s1";
        EXPECT_TRUE(v[3] == 0 || v[3] == 1 || v[3] == 3 || v[3] == 6) << "s2";
        EXPECT_EQ(v[4], 0) << "s3";
        EXPECT_TRUE(v[5] == 0 || v[5] == 1) << "rapp";
        EXPECT_TRUE(v[6] >= 0 && v[6] <= 2) << "dx";
        EXPECT_TRUE(v[7] == 0 || v[7] == 2 || v[7] == 3) << "d1";
        EXPECT_TRUE(v[8] == 0 || v[8] == 1) << "d2";
        EXPECT_EQ(v[9], 0) << "d3";
        EXPECT_EQ(v[10], 0) << "tempo";
    }
    EXPECT_EQ(per_sx, (std::map<long, int>{{1, 13}, {2, 16}}));
}

// The cell of a point feature at position p: p / 50 + 1, rounded half to even.
long cella_puntuale(long p) {
    return static_cast<long>(std::nearbyint(static_cast<double>(p) / 50.0 + 1.0));
}

// A speed board stands where its limit begins. The board of a lower speed stands no later than
// the first cell of that speed, so that the train never runs on the lower limit before the
// board shows it; the board of a higher speed stands no earlier than the first cell where the
// speed is allowed. The board of a limit is the nearest one with its speed in rank A and no
// stripes (the striped boards before it announce it).
TEST(RigheTreno, SpeedBoardsStandWhereTheirLimitsBegin) {
    const prova_descrizioni::linea_descritta linea = prova_descrizioni::leggi_linea();
    const prova_descrizioni::treno_descritto treno = prova_descrizioni::leggi_treno();
    long precedente = 0;
    int cartelli = 0;
    for (const prova_descrizioni::limite& l : treno.limiti) {
        if (l.velocita == precedente)
            continue;
        const prova_descrizioni::indicatore* cartello = nullptr;
        for (const prova_descrizioni::indicatore& k : linea.indicatori)
            if (k.vas == l.velocita && k.strisce == 0 &&
                (cartello == nullptr || std::labs(k.posizione - l.posizione) <
                                            std::labs(cartello->posizione - l.posizione)))
                cartello = &k;
        SCOPED_TRACE("limit " + std::to_string(l.velocita) + " km/h at " +
                     std::to_string(l.posizione));
        if (cartello == nullptr) {
            EXPECT_EQ(l.posizione, 0) << "only the speed at the start needs no board";
        } else {
            const long prima_cella = l.posizione / 50;
            const long cella = cella_puntuale(cartello->posizione);
            if (l.velocita < precedente) {
                EXPECT_LE(cella, prima_cella) << "board at " << cartello->posizione;
            } else {
                EXPECT_GE(cella, prima_cella) << "board at " << cartello->posizione;
            }
            ++cartelli;
        }
        precedente = l.velocita;
    }
    EXPECT_EQ(cartelli, 7);
}

// Route signs, speed boards and signals fail on an occupied cell, and a station's stop cell
// silently overwrites one: no two of them may claim the same cell.
TEST(RigheTreno, EveryPointFeatureHasACellOfItsOwn) {
    std::map<long, std::string> occupate;
    const auto occupa = [&](long cella, const std::string& cosa) {
        EXPECT_GE(cella, 0) << cosa;
        EXPECT_LE(cella, ultima_cella) << cosa;
        const auto [it, nuova] = occupate.emplace(cella, cosa);
        EXPECT_TRUE(nuova) << "cell " << cella << ": " << cosa << " and " << it->second;
    };
    int cartelli = 0;
    for (std::string_view riga : prova_documenti::sezione(righe_linea, "[indicazioni]")) {
        occupa(cella_puntuale(numero(campi(riga)[1])), std::string(riga));
        ++cartelli;
    }
    for (std::string_view riga : prova_documenti::sezione(righe_linea, "[cartelli]"))
        occupa(cella_puntuale(numero(campi(riga)[1])), std::string(riga));
    int fermate = 0;
    for (const riga_stazione& s : stazioni())
        if (s.v[1] < 25) {
            occupa(static_cast<long>(std::nearbyint(marciapiede(s).second / 50 - 1)),
                   std::string(s.nome));
            ++fermate;
        }
    for (const riga_segnale& s : segnali())
        occupa(cella_puntuale(s.v[0]), std::string(s.testo));
    EXPECT_EQ(cartelli, 61);
    EXPECT_EQ(fermate, 12);
    EXPECT_EQ(occupate.size(), 61u + 9u + 12u + 29u);
    // Stations and route signs share the item table: at most 78 together.
    EXPECT_LE(cartelli + static_cast<int>(stazioni().size()), 78);
}

} // namespace
} // namespace corvenna
