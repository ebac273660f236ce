// Paths that no line follows, or that a receiver records badly: each is refused or fitted with a
// warning naming the point, never turned silently into another line.

#include "importer/geometria_importata.hpp"
#include "unit/importer/adatta_prova.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace corvenna {
namespace {

// A path in the plane from pieces: a straight of `lunghezza` metres, or an arc of `raggio`
// (positive to the left) over `lunghezza` metres; a point every `passo` metres.
struct tratto {
    double lunghezza;
    double raggio = 0;
};

std::vector<punto_piano> percorso(const std::vector<tratto>& tratti, double passo = 10) {
    std::vector<punto_piano> punti{{0, 0}};
    double x = 0, y = 0, direzione = std::numbers::pi / 2, resto = 0;
    for (const tratto& t : tratti)
        for (double s = 0; s < t.lunghezza; s += 1) {
            const double dopo = direzione + (t.raggio != 0 ? 1 / t.raggio : 0);
            x += std::cos((direzione + dopo) / 2);
            y += std::sin((direzione + dopo) / 2);
            direzione = dopo;
            if (++resto >= passo) {
                punti.push_back({x, y});
                resto = 0;
            }
        }
    return punti;
}

bool avvisa(const geometria_importata& g, const std::string& parte) {
    for (const avviso_geometria& a : g.avvisi)
        if (a.messaggio.find(parte) != std::string::npos)
            return true;
    return false;
}

TEST(PercorsiDifficili, PathsThatTurnBackAreRefusedUnlessAllowed) {
    struct caso {
        const char* nome;
        std::vector<punto_piano> punti;
        const char* parola;
    };
    // A figure of eight: two loops of 150 m radius, one each way.
    const std::vector<caso> casi = {
        {"U-turn of 100 m radius", percorso({{2000}, {100 * std::numbers::pi, 100}, {2000}}),
         "torna indietro"},
        {"out and back", percorso({{1000}, {1, 1 / std::numbers::pi}, {1000}}), "torna indietro"},
        {"figure of eight",
         percorso(
             {{500}, {2 * std::numbers::pi * 150, 150}, {2 * std::numbers::pi * 150, -150}, {500}}),
         "planimetria adattata passa a"},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const std::vector<punto_geografico> punti = prova::sul_globo(c.punti);
        const esito_geometria rifiutato = adatta_geometria(punti);
        ASSERT_TRUE(rifiutato.errore);
        EXPECT_NE(rifiutato.errore->messaggio.find(c.parola), std::string::npos)
            << rifiutato.errore->messaggio;
        EXPECT_NE(rifiutato.errore->messaggio.find("metro "), std::string::npos);
        EXPECT_NE(rifiutato.errore->messaggio.find("--consenti"), std::string::npos);
        EXPECT_GT(rifiutato.errore->indice_punto, 0u);

        const esito_geometria consentito = adatta_geometria(punti, {std::nullopt, true});
        ASSERT_TRUE(consentito.geometria);
        EXPECT_TRUE(avvisa(*consentito.geometria, c.parola));
    }
}

TEST(PercorsiDifficili, ACurveTighterThanTheClassesIsToldWithItsRadiusAndPlace) {
    const std::vector<punto_geografico> punti =
        prova::sul_globo(percorso({{1000}, {250 * 1.2, 250}, {1000}}));
    const esito_geometria esito = adatta_geometria(punti);
    ASSERT_TRUE(esito.geometria) << esito.errore->messaggio;
    ASSERT_FALSE(esito.geometria->avvisi.empty());
    const avviso_geometria& a = esito.geometria->avvisi.front();
    EXPECT_NE(a.messaggio.find("curva di raggio 25"), std::string::npos) << a.messaggio;
    EXPECT_NE(a.messaggio.find("dal metro 10"), std::string::npos) << a.messaggio;
    EXPECT_NEAR(static_cast<double>(a.indice_punto), 100, 3);
}

TEST(PercorsiDifficili, StandingStillIsMergedAndLeavesNoCurve) {
    // A straight, an hour at a station (a point a second, scattered by 3 m), and on.
    std::vector<punto_piano> punti = percorso({{3000}});
    std::mt19937 g(5);
    std::normal_distribution<> rumore(0, 3);
    std::vector<punto_piano> fermo;
    for (int i = 0; i < 3600; ++i)
        fermo.push_back({rumore(g), 1500 + rumore(g)});
    punti.insert(punti.begin() + 151, fermo.begin(), fermo.end());
    const esito_geometria esito = adatta_geometria(prova::sul_globo(punti));
    ASSERT_TRUE(esito.geometria) << esito.errore->messaggio;
    EXPECT_TRUE(avvisa(*esito.geometria, "percorso fermo dal punto 1"));
    // The merged point may lie a few centimetres off the line: a row or two of the gentlest
    // class at most, not a curve per minute of the stop.
    EXPECT_LE(esito.geometria->curve.size(), 2u);
    for (const riga_curva& c : esito.geometria->curve)
        EXPECT_LE(c.classe, 2) << c.inizio << " " << c.lunghezza;
    EXPECT_NEAR(esito.geometria->lunghezza, 3000, 5);
}

TEST(PercorsiDifficili, ADenseTrackIsMergedToWhatTheFitCanUse) {
    // 100 000 points over 111 m.
    std::vector<punto_piano> punti;
    for (int i = 0; i < 100000; ++i)
        punti.push_back({0, 111.0 * i / 99999});
    const esito_geometria esito = adatta_geometria(prova::sul_globo(punti));
    ASSERT_TRUE(esito.geometria) << esito.errore->messaggio;
    EXPECT_NEAR(esito.geometria->lunghezza, 111, 1);
    EXPECT_EQ(esito.geometria->progressiva.size(), punti.size());
}

TEST(PercorsiDifficili, AbsurdHeightsAreLeftOutNamingThePoint) {
    const std::vector<punto_piano> piano = percorso({{2000}}, 20);
    struct caso {
        const char* nome;
        double quota;
        const char* parola;
    };
    const std::vector<caso> casi = {
        {"far above any summit", 1e300, "fuori dall'intervallo plausibile"},
        {"a raster's fill value", 3e38, "fuori dall'intervallo plausibile"},
        {"below the lowest shore", -1000, "fuori dall'intervallo plausibile"},
        {"a step of 500 m", 700, "un salto che nessuna ferrovia fa"},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::vector<double> quote(piano.size(), 200);
        quote[40] = c.quota;
        const esito_geometria esito = adatta_geometria(prova::sul_globo(piano, quote));
        ASSERT_TRUE(esito.geometria) << esito.errore->messaggio;
        ASSERT_EQ(esito.geometria->avvisi.size(), 1u);
        EXPECT_EQ(esito.geometria->avvisi[0].indice_punto, 40u);
        EXPECT_NE(esito.geometria->avvisi[0].messaggio.find(c.parola), std::string::npos)
            << esito.geometria->avvisi[0].messaggio;
        EXPECT_LT(*esito.geometria->scarto_quota_massimo, 0.5);
    }
}

} // namespace
} // namespace corvenna
