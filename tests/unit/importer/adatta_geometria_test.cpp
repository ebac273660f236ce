#include "adatta_prova.hpp"

#include "importer/adatta_planimetria.hpp"
#include "importer/geometria_importata.hpp"
#include "model/costruzione.hpp"
#include "support/compila_prova.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <random>

namespace corvenna {
namespace {

struct percorso_campionato {
    std::vector<punto_geografico> punti;
    std::vector<punto_piano> piano;
    std::vector<double> quote;
    std::vector<double> metri; // the built-in plan view's metre of each point
};

// The built-in line's compiled plan view and profile, one point every `passo` metres, each
// point moved by up to `rumore` metres in x and in y (a fixed seed: the same points every run).
percorso_campionato linea_incorporata_campionata(int passo, double rumore) {
    const costruzione& c = prova::scenario_incorporato();
    const std::int32_t lunghezza = c.voci[voce_percorso].fine;
    const std::vector<punto_piano> piano = prova::piano_compilato(c, lunghezza);
    const std::vector<double> quote = prova::quote_compilate(c);
    std::mt19937 generatore(7381);
    std::uniform_real_distribution<double> scarto(-rumore, rumore);
    percorso_campionato p;
    for (std::int32_t m = 0; m <= lunghezza; m += passo) {
        const auto metro = static_cast<std::size_t>(m);
        punto_piano q = piano[metro];
        if (rumore > 0) {
            q.x += scarto(generatore);
            q.y += scarto(generatore);
        }
        p.piano.push_back(q);
        p.metri.push_back(m);
        const std::size_t cella = metro / 50;
        const double f = static_cast<double>(metro % 50) / 50;
        p.quote.push_back(quote[cella] + f * (quote[cella + 1] - quote[cella]));
    }
    p.punti = prova::sul_globo(p.piano, p.quote);
    return p;
}

struct confronto {
    prova::scarti piano;
    double quota_massima = 0;
};

// Fits the points, compiles the rows and compares the compiled line with the built-in one.
confronto adatta_e_confronta(const percorso_campionato& p) {
    const esito_geometria esito = adatta_geometria(p.punti);
    EXPECT_FALSE(esito.errore);
    if (!esito.geometria)
        return {};
    const geometria_importata& g = *esito.geometria;
    prova::controlla_righe(g);
    const auto compilata = prova::compila(prova::descrizione_adattata(g));
    EXPECT_EQ(compilata.c.codice_errore, 0);

    const costruzione& originale = prova::scenario_incorporato();
    const std::int32_t lunghezza_originale = originale.voci[voce_percorso].fine;
    // The route is counted in the plan's own metres; a fit that alternates classes where the
    // line holds one lengthens its steps a little more than the line itself.
    EXPECT_NEAR(g.lunghezza, lunghezza_originale, 50);
    confronto esito_confronto;
    std::vector<prova::corrispondenza> corrispondenze;
    for (std::size_t i = 0; i < p.metri.size(); ++i)
        corrispondenze.push_back({p.metri[i], g.progressiva[i]});
    esito_confronto.piano =
        prova::scarto_tra_piani(prova::piano_compilato(originale, lunghezza_originale),
                                prova::piano_compilato(compilata.c, g.lunghezza), corrispondenze);
    // Heights where the points are: on the built-in line at the metre each was taken from, on
    // the compiled fit at the metre the fit gives it.
    const std::vector<double> quote_nuove = prova::quote_compilate(compilata.c);
    for (std::size_t i = 0; i < p.metri.size(); ++i) {
        const double cella =
            std::min(g.progressiva[i] / 50, static_cast<double>(quote_nuove.size() - 2));
        const auto k = static_cast<std::size_t>(cella);
        const double nuova = quote_nuove[k] + (cella - static_cast<double>(k)) *
                                                  (quote_nuove[k + 1] - quote_nuove[k]);
        esito_confronto.quota_massima =
            std::max(esito_confronto.quota_massima, std::abs(nuova - p.quote[i]));
    }
    std::cout << "plan view: max " << esito_confronto.piano.massimo << " m, mean "
              << esito_confronto.piano.medio << " m; heights: max " << esito_confronto.quota_massima
              << " m; " << g.curve.size() << " curve rows, " << g.pendenze.size()
              << " gradient rows; reported deviation " << g.scarto_planimetria_massimo << " / "
              << g.scarto_planimetria_medio << " m, heights " << g.scarto_quota_massimo.value_or(-1)
              << " / " << g.scarto_quota_medio.value_or(-1) << " m\n";
    return esito_confronto;
}

TEST(AdattaGeometria, BuiltInLineComesBackFromItsPointsEvery20m) {
    const confronto c = adatta_e_confronta(linea_incorporata_campionata(20, 0));
    EXPECT_LT(c.piano.massimo, 0.5);
    EXPECT_LT(c.quota_massima, 1.0);
}

TEST(AdattaGeometria, BuiltInLineComesBackFromNoisyPoints) {
    const confronto c = adatta_e_confronta(linea_incorporata_campionata(20, 0.5));
    EXPECT_LT(c.piano.massimo, 2.0);
    EXPECT_LT(c.quota_massima, 1.0);
}

// A path along a meridian from the origin, `n` points `passo` metres apart.
std::vector<punto_geografico> meridiano(std::size_t n, double passo) {
    std::vector<punto_piano> piano;
    for (std::size_t i = 0; i < n; ++i)
        piano.push_back({0, static_cast<double>(i) * passo});
    return prova::sul_globo(piano);
}

TEST(AdattaGeometria, RefusesWhatCannotBeARoute) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto con = [](std::vector<punto_geografico> punti, std::size_t i, punto_geografico p) {
        punti[i] = p;
        return punti;
    };
    const std::vector<punto_geografico> buono = meridiano(5, 100);
    const punto_geografico primo = buono[0];
    struct caso {
        const char* nome;
        std::vector<punto_geografico> punti;
        std::size_t indice;
        const char* parola;
    };
    const std::vector<caso> casi = {
        {"empty", {}, 0, "due punti"},
        {"one point", {primo}, 0, "due punti"},
        {"one point three times", {primo, primo, primo}, 2, "due punti"},
        {"longitude NaN", con(buono, 3, {nan, 44.5, std::nullopt}), 3, "longitudine"},
        {"longitude -181", con(buono, 1, {-181, 44.5, std::nullopt}), 1, "longitudine"},
        {"latitude 90.5", con(buono, 4, {11, 90.5, std::nullopt}), 4, "latitudine"},
        {"latitude infinite",
         con(buono, 2, {11, std::numeric_limits<double>::infinity(), std::nullopt}), 2,
         "latitudine"},
        {"height NaN", con(buono, 2, {buono[2].longitudine, buono[2].latitudine, nan}), 2, "quota"},
        {"1000.5 km", meridiano(3, 500250), 2, "1000000"},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const esito_geometria esito = adatta_geometria(c.punti);
        EXPECT_FALSE(esito.geometria);
        ASSERT_TRUE(esito.errore);
        EXPECT_EQ(esito.errore->indice_punto, c.indice);
        EXPECT_NE(esito.errore->messaggio.find(c.parola), std::string::npos)
            << esito.errore->messaggio;
    }
}

TEST(AdattaGeometria, RepeatedPointsShareTheirPosition) {
    std::vector<punto_geografico> punti = meridiano(4, 250);
    punti.insert(punti.begin() + 2, punti[2]);
    const esito_geometria esito = adatta_geometria(punti);
    ASSERT_TRUE(esito.geometria);
    const geometria_importata& g = *esito.geometria;
    ASSERT_EQ(g.progressiva.size(), 5u);
    EXPECT_EQ(g.progressiva[2], g.progressiva[3]);
    EXPECT_NEAR(g.progressiva[4], 750, 0.01);
    EXPECT_EQ(g.lunghezza, 750);
    EXPECT_TRUE(g.curve.empty());
    EXPECT_LT(g.scarto_planimetria_massimo, 0.01);
}

TEST(AdattaGeometria, PathWithoutHeightsIsLevel) {
    const esito_geometria esito = adatta_geometria(meridiano(11, 100));
    ASSERT_TRUE(esito.geometria);
    ASSERT_EQ(esito.geometria->pendenze.size(), 1u);
    EXPECT_EQ(esito.geometria->pendenze[0].posizione, 0);
    EXPECT_EQ(esito.geometria->pendenze[0].per_mille, 0);
    EXPECT_FALSE(esito.geometria->scarto_quota_massimo);
    EXPECT_FALSE(esito.geometria->scarto_quota_medio);
}

} // namespace
} // namespace corvenna
