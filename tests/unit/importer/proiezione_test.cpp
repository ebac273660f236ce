#include "importer/proiezione.hpp"

#include <geodesic.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace corvenna {
namespace {

// The length on the ellipsoid of the polyline through the points, from PROJ's geodesics.
double lunghezza_geodetica(const std::vector<punto_geografico>& punti) {
    geod_geodesic g;
    geod_init(&g, 6378137, 1 / 298.257223563);
    double totale = 0;
    for (std::size_t i = 1; i < punti.size(); ++i) {
        double s = 0;
        geod_inverse(&g, punti[i - 1].latitudine, punti[i - 1].longitudine, punti[i].latitudine,
                     punti[i].longitudine, &s, nullptr, nullptr);
        totale += s;
    }
    return totale;
}

double lunghezza_piana(const std::vector<punto_piano>& punti) {
    double totale = 0;
    for (std::size_t i = 1; i < punti.size(); ++i)
        totale += std::hypot(punti[i].x - punti[i - 1].x, punti[i].y - punti[i - 1].y);
    return totale;
}

TEST(Proiezione, LengthAlongALineIsTrue) {
    // An 88 km line at 45 degrees of latitude, running east-west, north-south and diagonally:
    // projected about its own middle, its plane length is its length on the ground to within a
    // metre (the scale grows away from the central meridian: 0.8 m over an east-west line of
    // this length; a zone projection's reduced scale would take 35 m off).
    struct caso {
        const char* nome;
        double passo_longitudine;
        double passo_latitudine;
    };
    for (const caso& c : {caso{"east-west", 0.0112, 0}, caso{"north-south", 0, 0.0079},
                          caso{"diagonal", 0.0088, 0.0056}}) {
        SCOPED_TRACE(c.nome);
        std::vector<punto_geografico> punti;
        for (int i = 0; i <= 100; ++i)
            punti.push_back(
                {9.5 + i * c.passo_longitudine, 45.1 + i * c.passo_latitudine, std::nullopt});
        const double geodetica = lunghezza_geodetica(punti);
        ASSERT_GT(geodetica, 80000);
        const auto proiezione = proiezione_del_percorso(punti);
        ASSERT_TRUE(proiezione);
        EXPECT_NEAR(lunghezza_piana(proiezione->proietta(punti)), geodetica, 1.0);
    }
}

TEST(Proiezione, InverseGivesThePointsBack) {
    const auto proiezione = proiezione_locale::centrata(12.25, 41.9);
    ASSERT_TRUE(proiezione);
    const std::vector<punto_geografico> punti = {
        {12.25, 41.9, std::nullopt}, {12.9, 42.4, std::nullopt}, {11.6, 41.2, std::nullopt}};
    const std::vector<punto_piano> piano = proiezione->proietta(punti);
    EXPECT_NEAR(piano[0].x, 0, 1e-6);
    EXPECT_NEAR(piano[0].y, 0, 1e-6);
    EXPECT_GT(piano[1].x, 0); // east
    EXPECT_GT(piano[1].y, 0); // north
    const std::vector<punto_geografico> indietro = proiezione->inverti(piano);
    for (std::size_t i = 0; i < punti.size(); ++i) {
        EXPECT_NEAR(indietro[i].longitudine, punti[i].longitudine, 1e-10);
        EXPECT_NEAR(indietro[i].latitudine, punti[i].latitudine, 1e-10);
    }
}

TEST(Proiezione, PathAcrossTheAntimeridianIsCentredOnIt) {
    // Longitudes 179.95 and -179.95 are 11 km apart at 16 degrees south, not the globe.
    const std::vector<punto_geografico> punti = {{179.95, -16.5, std::nullopt},
                                                 {-179.95, -16.5, std::nullopt}};
    const auto proiezione = proiezione_del_percorso(punti);
    ASSERT_TRUE(proiezione);
    const std::vector<punto_piano> piano = proiezione->proietta(punti);
    EXPECT_NEAR(std::hypot(piano[1].x - piano[0].x, piano[1].y - piano[0].y),
                lunghezza_geodetica(punti), 0.01);
    EXPECT_NEAR(piano[0].x, -piano[1].x, 1e-6);
}

} // namespace
} // namespace corvenna
