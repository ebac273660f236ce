// Checks the line description's data against the rules it must keep: section layout, counts,
// orders, ranges, the rows that must read exactly so, and the place of every board on its cell.
// The lines are taken apart here with a small splitter, independent of the description reader.

#include "scenario/righe_linea.hpp"

#include "format/righe_documento.hpp"
#include "support/descrizioni_prova.hpp"
#include "support/documento_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

using prova_descrizioni::chilometro;
using prova_descrizioni::gruppi;
using prova_descrizioni::tipo_cartello;
using prova_documenti::campi;
using prova_documenti::campi_controllati;
using prova_documenti::numero;
using prova_documenti::senza_blank_iniziali;
using prova_documenti::ultima_cella;

std::vector<std::string_view> righe_documento() {
    return {righe_linea.begin(), righe_linea.end() - 1};
}

// The rows that follow the header `intestazione`, up to the next header.
std::vector<std::string_view> sezione_linea(std::string_view intestazione) {
    return prova_documenti::sezione(righe_linea, intestazione);
}

bool contiene(const std::vector<std::string_view>& righe, std::string_view riga) {
    return std::find(righe.begin(), righe.end(), riga) != righe.end();
}

TEST(RigheLinea, SectionsStandOnTheirLinesWithTheirRowCounts) {
    const std::vector<std::string_view> righe = righe_documento();
    ASSERT_EQ(righe.size(), 150u);
    EXPECT_EQ(righe_linea.back(), fine_tabella);
    const std::map<int, std::string_view> intestazioni{
        {1, "[generale]"},  {10, "[curve]"},       {49, "[pendenze]"}, {76, "[montagne]"},
        {78, "[cartelli]"}, {88, "[indicazioni]"}, {150, "[fine]"}};
    prova_documenti::verifica_intestazioni(righe_linea, intestazioni);
    EXPECT_EQ(sezione_linea("[curve]").size(), 38u);
    EXPECT_EQ(sezione_linea("[pendenze]").size(), 26u);
    EXPECT_EQ(sezione_linea("[montagne]").size(), 1u);
    EXPECT_EQ(sezione_linea("[cartelli]").size(), 9u);
    EXPECT_EQ(sezione_linea("[indicazioni]").size(), 61u);
}

// Every value follows a comma and two blanks, except the lettering of a text board (five
// blanks) and the empty speeds of a speed board (four blanks and the next comma).
TEST(RigheLinea, BlanksAroundCommasAreExact) {
    for (std::string_view riga : righe_documento()) {
        SCOPED_TRACE(std::string(riga));
        ASSERT_NO_FATAL_FAILURE(prova_documenti::verifica_riga_stampabile(riga));
        const bool cartello = riga.starts_with("cartello_indicatore,");
        std::size_t virgola = riga.find(',');
        int n = 0;
        while (virgola != std::string_view::npos) {
            ++n;
            const std::string_view resto = riga.substr(virgola + 1);
            if (cartello && n == 2) {
                EXPECT_TRUE(resto.starts_with("     (")) << "lettering";
                break; // the lettering holds no comma
            }
            if (resto.starts_with("    ,")) {
                EXPECT_TRUE(riga.starts_with("indicatori_vmax,"));
            } else {
                EXPECT_TRUE(resto.starts_with("  ") && resto.size() > 2 && resto[2] != ' ')
                    << "value " << n;
            }
            if (riga.substr(0, virgola).ends_with(' ')) {
                EXPECT_TRUE(riga.starts_with("indicatori_vmax,"));
            }
            virgola = riga.find(',', virgola + 1);
        }
    }
}

TEST(RigheLinea, GeneralSectionIsExact) {
    const std::vector<std::string_view> attese{"lunghezza percorso,  88000",
                                               "progressiva chilometrica uno,  0,  -1500,  0",
                                               "progressiva chilometrica due,  42300,  -42300,  0",
                                               "progressiva chilometrica tre,  55000,  91900,  1",
                                               "sfondo uno,  1",
                                               "sfondo due,  0",
                                               "sfondo tre,  0",
                                               "ripetizione segnali 4 codici,  0,  0"};
    EXPECT_EQ(sezione_linea("[generale]"), attese);
}

struct curva {
    char mano;
    int classe;
    long inizio;
    long lunghezza;
};

std::vector<curva> curve() {
    std::vector<curva> risultato;
    for (std::string_view riga : sezione_linea("[curve]")) {
        const auto c = campi(riga);
        EXPECT_EQ(c.size(), 3u) << riga;
        EXPECT_EQ(c[0].size(), 7u) << riga;
        EXPECT_TRUE(c[0].starts_with("curva")) << riga;
        if (c.size() != 3 || c[0].size() != 7)
            continue;
        risultato.push_back({c[0][5], c[0][6] - '0', numero(c[1]), numero(c[2])});
    }
    return risultato;
}

TEST(RigheLinea, CurvesKeepTheirLetterAndClassCounts) {
    std::map<char, int> mani;
    std::map<int, int> classi;
    for (const curva& c : curve()) {
        ++mani[c.mano];
        ++classi[c.classe];
    }
    EXPECT_EQ(mani, (std::map<char, int>{{'d', 17}, {'s', 21}}));
    EXPECT_EQ(classi, (std::map<int, int>{{2, 6}, {3, 11}, {4, 17}, {5, 2}, {6, 2}}));
}

TEST(RigheLinea, CurvesFollowOneAnotherWithThreeTouchingPairs) {
    const std::vector<curva> tutte = curve();
    ASSERT_EQ(tutte.size(), 38u);
    EXPECT_EQ(tutte.front().inizio, 700);
    EXPECT_EQ(tutte.back().inizio, 86600);
    EXPECT_EQ(tutte.back().inizio + tutte.back().lunghezza, 86800);
    int contatti = 0;
    for (std::size_t i = 0; i < tutte.size(); ++i) {
        const curva& c = tutte[i];
        EXPECT_EQ(c.inizio % 50, 0) << c.inizio;
        EXPECT_EQ(c.lunghezza % 50, 0) << c.inizio;
        EXPECT_GE(c.lunghezza, 50) << c.inizio;
        EXPECT_LE(c.lunghezza, 1700) << c.inizio;
        EXPECT_LE((c.inizio + 100) / 50.0, ultima_cella);
        if (i + 1 < tutte.size()) {
            const long fine = c.inizio + c.lunghezza;
            EXPECT_LE(fine, tutte[i + 1].inizio) << "curve at " << c.inizio << " overlaps";
            if (fine == tutte[i + 1].inizio)
                ++contatti;
        }
    }
    EXPECT_EQ(contatti, 3);
    EXPECT_EQ(std::ranges::min_element(tutte, {}, &curva::lunghezza)->lunghezza, 50);
    EXPECT_EQ(std::ranges::max_element(tutte, {}, &curva::lunghezza)->lunghezza, 1700);
    const std::vector<std::string_view> righe = sezione_linea("[curve]");
    EXPECT_EQ(righe.front(), "curvas4,  700,  950");
    EXPECT_EQ(righe.back(), "curvas6,  86600,  200");
    const auto corta = std::find(righe.begin(), righe.end(), "curvas2,  55250,  50");
    ASSERT_NE(corta, righe.end());
    ASSERT_NE(corta + 1, righe.end());
    EXPECT_EQ(*(corta + 1), "curvad2,  55300,  50");
}

TEST(RigheLinea, GradientsAscendFromZeroToTheLastRow) {
    const std::vector<std::string_view> righe = sezione_linea("[pendenze]");
    ASSERT_EQ(righe.size(), 26u);
    EXPECT_EQ(righe.front(), "pendenza,  0,  0");
    EXPECT_EQ(righe.back(), "pendenza,  70650,  0");
    EXPECT_TRUE(contiene(righe, "pendenza,  1500,  -5"));
    EXPECT_TRUE(contiene(righe, "pendenza,  41300,  0"));
    EXPECT_TRUE(contiene(righe, "pendenza,  42300,  0"));
    long precedente = -1;
    std::set<long> pendenze;
    for (std::string_view riga : righe) {
        const auto c = campi(riga);
        ASSERT_EQ(c.size(), 3u) << riga;
        EXPECT_EQ(c[0], "pendenza");
        const long p = numero(c[1]);
        const long g = numero(c[2]);
        EXPECT_GT(p, precedente) << riga;
        EXPECT_EQ(p % 50, 0) << riga;
        EXPECT_GE(g, -9) << riga;
        EXPECT_LE(g, 6) << riga;
        pendenze.insert(g);
        precedente = p;
    }
    EXPECT_TRUE(pendenze.contains(-9));
    EXPECT_TRUE(pendenze.contains(6));
}

TEST(RigheLinea, TunnelStretchHasItsBoardHundredMetresAhead) {
    EXPECT_EQ(sezione_linea("[montagne]"),
              std::vector<std::string_view>{"montagna,  8700,  11050,  11"});
    int gallerie = 0;
    for (std::string_view riga : sezione_linea("[indicazioni]"))
        if (riga.find("(Galleria)") != std::string_view::npos) {
            ++gallerie;
            EXPECT_EQ(numero(campi(riga)[1]), 8700 - 100) << riga;
        }
    EXPECT_EQ(gallerie, 1);
}

TEST(RigheLinea, SpeedBoardsCarryOrderedSpeedsAndEmptyRightHandValues) {
    const std::vector<std::string_view> righe = sezione_linea("[cartelli]");
    ASSERT_EQ(righe.size(), 9u);
    EXPECT_EQ(righe.front(), "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0");
    EXPECT_EQ(campi(righe.back())[1], "85200");
    long precedente = 0;
    for (std::string_view riga : righe) {
        SCOPED_TRACE(std::string(riga));
        EXPECT_TRUE(riga.ends_with(",    ,    ,    ,  0"));
        const auto c = campi(riga);
        ASSERT_EQ(c.size(), 10u);
        EXPECT_EQ(c[0], "indicatori_vmax");
        const long p = numero(c[1]);
        EXPECT_GT(p, precedente);
        EXPECT_EQ(p % 50, 0);
        for (int i = 2; i <= 4; ++i) {
            const long v = numero(c[static_cast<std::size_t>(i)]);
            EXPECT_EQ(v % 5, 0);
            EXPECT_GE(v, 30);
            EXPECT_LE(v, 140);
        }
        EXPECT_EQ(c[3], c[4]);
        EXPECT_GE(numero(c[3]), numero(c[2]));
        for (int i = 6; i <= 8; ++i) {
            EXPECT_TRUE(c[static_cast<std::size_t>(i)].empty());
        }
        precedente = p;
    }
    const std::vector<std::string_view> gruppo{
        "indicatori_vmax,  64100,  100,  105,  105,  2,    ,    ,    ,  0",
        "indicatori_vmax,  64400,  100,  105,  105,  1,    ,    ,    ,  0",
        "indicatori_vmax,  64700,  100,  105,  105,  0,    ,    ,    ,  0"};
    const auto it = std::search(righe.begin(), righe.end(), gruppo.begin(), gruppo.end());
    EXPECT_NE(it, righe.end());
}

bool maiuscolo(std::string_view s) {
    const std::string_view nome = senza_blank_iniziali(s);
    return !nome.empty() && std::none_of(nome.begin(), nome.end(),
                                         [](unsigned char c) { return std::islower(c) != 0; });
}

struct cartello {
    long posizione;
    std::string_view scritta;
};

std::vector<cartello> cartelli() {
    std::vector<cartello> risultato;
    for (std::string_view riga : sezione_linea("[indicazioni]")) {
        const auto c = campi_controllati(riga, "cartello_indicatore", 3);
        if (!c.empty())
            risultato.push_back({numero(c[1]), c[2]});
    }
    return risultato;
}

TEST(RigheLinea, TextBoardsAscendAndKeepTheirKindCounts) {
    const std::vector<cartello> tutti = cartelli();
    ASSERT_EQ(tutti.size(), 61u);
    EXPECT_EQ(tutti.front().posizione, 350);
    EXPECT_EQ(tutti.back().posizione, 85350);
    std::map<std::string, int> tipi;
    int fiumi_a_500_m = 0;
    long precedente = 0;
    for (const cartello& c : tutti) {
        SCOPED_TRACE(std::string(c.scritta));
        EXPECT_GT(c.posizione, precedente);
        EXPECT_EQ(c.posizione % 50, 0);
        EXPECT_LE((c.posizione + 100) / 50.0, ultima_cella);
        precedente = c.posizione;
        const std::vector<std::string_view> g = gruppi(c.scritta);
        EXPECT_TRUE(g.size() == 2 || g.size() == 3) << "groups: " << g.size();
        if (g.size() < 2)
            continue;
        const std::string tipo = tipo_cartello(c.scritta);
        ++tipi[tipo];
        if (tipo == "passaggio a livello" || tipo == "passaggio a livello automatico") {
            EXPECT_EQ(g.size(), 2u);
            chilometro(g[1]);
        } else if (tipo == "diramazione" || tipo == "confluenza") {
            EXPECT_EQ(g.size(), 2u);
            EXPECT_TRUE(g[1].starts_with(' '));
            EXPECT_TRUE(maiuscolo(g[1]));
        } else if (tipo == "fiume") {
            EXPECT_TRUE(maiuscolo(g[1]));
            if (g.size() == 3) {
                EXPECT_EQ(g[2], " 500 m");
                ++fiumi_a_500_m;
            }
        } else if (tipo == "galleria") {
            EXPECT_EQ(g.size(), 2u);
            EXPECT_TRUE(maiuscolo(g[1]));
        } else if (tipo == "limite") {
            EXPECT_EQ(c.scritta, "(    Limite    )(Compartimento)");
        } else if (tipo == "raccordo") {
            EXPECT_EQ(c.scritta, "( Ex raccordo  )(stabilimento)( industriale)");
        } else if (tipo == "avviso fermata") {
            ASSERT_EQ(g.size(), 3u);
            EXPECT_FALSE(maiuscolo(g[1])) << "stop names in mixed case";
        } else if (tipo == "canale") {
            EXPECT_EQ(g.size(), 2u);
            EXPECT_TRUE(maiuscolo(g[0]));
            EXPECT_TRUE(maiuscolo(g[1]));
        } else if (tipo == "casello") {
            EXPECT_EQ(c.scritta, "( Casello)(12 + 600)");
        }
    }
    const std::map<std::string, int> attesi{{"passaggio a livello", 36},
                                            {"passaggio a livello automatico", 6},
                                            {"diramazione", 6},
                                            {"confluenza", 2},
                                            {"fiume", 3},
                                            {"galleria", 1},
                                            {"limite", 1},
                                            {"raccordo", 2},
                                            {"avviso fermata", 2},
                                            {"canale", 1},
                                            {"casello", 1}};
    EXPECT_EQ(tipi, attesi);
    EXPECT_EQ(fiumi_a_500_m, 1);
}

// The second section begins with its own kilometric count, at the junction station, and holds
// 26 of the level crossings; the others lie on the first section.
TEST(RigheLinea, TwentySixLevelCrossingsLieOnTheSecondSection) {
    const prova_descrizioni::linea_descritta linea = prova_descrizioni::leggi_linea();
    long inizio = -1;
    for (const prova_descrizioni::progressiva& p : linea.progressive)
        if (p.parola == "due")
            inizio = p.inizio;
    ASSERT_EQ(inizio, 42300);
    int primo = 0;
    int secondo = 0;
    for (const prova_descrizioni::cartello& c : linea.cartelli)
        if (prova_descrizioni::passaggio_a_livello(c.tipo))
            ++(c.posizione > inizio ? secondo : primo);
    EXPECT_EQ(secondo, 26);
    EXPECT_EQ(primo, 16);
}

TEST(RigheLinea, TextBoardsWithoutPlaceNamesReadExactly) {
    const std::vector<std::string_view> righe = sezione_linea("[indicazioni]");
    for (std::string_view attesa : {
             "cartello_indicatore,  2900,     (   P.L.  )(km 1+522)",
             "cartello_indicatore,  32650,     (  P.L.A. )(km 31+180)",
             "cartello_indicatore,  44300,     (    Limite    )(Compartimento)",
             "cartello_indicatore,  75450,     ( Ex raccordo  )(stabilimento)( industriale)",
             "cartello_indicatore,  79300,     ( Casello)(12 + 600)",
         })
        EXPECT_TRUE(contiene(righe, attesa)) << attesa;
}

// Blanks in front of a name, and in one row also one behind it.
TEST(RigheLinea, JunctionAndJoiningNamesKeepTheirBlanks) {
    int dietro_diramazione = 0;
    int dietro_confluenza = 0;
    for (const cartello& c : cartelli()) {
        const std::string tipo = tipo_cartello(c.scritta);
        const std::vector<std::string_view> g = gruppi(c.scritta);
        if (g.size() < 2 || g[1].empty())
            continue;
        if (tipo == "diramazione" && g[1].back() == ' ')
            ++dietro_diramazione;
        if (tipo == "confluenza" && g[1].back() == ' ')
            ++dietro_confluenza;
        if (tipo == "diramazione" || tipo == "confluenza") {
            EXPECT_FALSE(g[1].ends_with("  ")) << c.scritta;
        }
    }
    EXPECT_EQ(dietro_diramazione, 1);
    EXPECT_EQ(dietro_confluenza, 1);
    std::vector<std::string_view> avvisi;
    for (const cartello& c : cartelli())
        if (tipo_cartello(c.scritta) == "avviso fermata")
            avvisi.push_back(gruppi(c.scritta).back());
    EXPECT_EQ(avvisi, (std::vector<std::string_view>{"      / /", "       /"}));
}

// The kilometre on a level-crossing board follows the kilometric system that holds at the
// board: "uno" (position - 1500) up to 42300, "due" (position - 42300) up to 55000, then "tre"
// (91900 - position), counting down.
TEST(RigheLinea, LevelCrossingKilometresFollowTheKilometricSystems) {
    long precedente_km = -1;
    int sistema_precedente = 0;
    for (const cartello& c : cartelli()) {
        const std::string tipo = tipo_cartello(c.scritta);
        if (tipo != "passaggio a livello" && tipo != "passaggio a livello automatico")
            continue;
        SCOPED_TRACE(std::string(c.scritta));
        const std::vector<std::string_view> g = gruppi(c.scritta);
        ASSERT_EQ(g.size(), 2u);
        const long km = chilometro(g[1]);
        const int sistema = c.posizione < 42300 ? 1 : c.posizione < 55000 ? 2 : 3;
        const long atteso = sistema == 1   ? c.posizione - 1500
                            : sistema == 2 ? c.posizione - 42300
                                           : 91900 - c.posizione;
        EXPECT_LE(std::abs(km - atteso), 150) << "at " << c.posizione;
        if (sistema == sistema_precedente) {
            if (sistema == 3) {
                EXPECT_LT(km, precedente_km);
            } else {
                EXPECT_GT(km, precedente_km);
            }
        }
        sistema_precedente = sistema;
        precedente_km = km;
    }
}

} // namespace
} // namespace corvenna
