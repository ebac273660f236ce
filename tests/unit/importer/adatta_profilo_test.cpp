#include "importer/adatta_profilo.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace corvenna {
namespace {

struct profilo_dato {
    std::vector<punto_geografico> punti;
    std::vector<double> progressiva;
};

// Heights from `quota` every `passo` metres over `lunghezza` metres.
template <typename F>
profilo_dato campiona(double lunghezza, double passo, F quota) {
    profilo_dato p;
    for (double s = 0; s <= lunghezza + 1e-9; s += passo) {
        p.punti.push_back({11, 44, quota(s)});
        p.progressiva.push_back(s);
    }
    return p;
}

// The fitted height at `s`, starting from the given height at 0.
double quota_adattata(const std::vector<double>& quote, double partenza, double s) {
    const auto i = std::min(quote.size() - 2, static_cast<std::size_t>(s / 50));
    const double f = s / 50 - static_cast<double>(i);
    return partenza + quote[i] + f * (quote[i + 1] - quote[i]);
}

TEST(AdattaProfilo, GradeBetweenWholePerMilleIsHeldWithoutDrifting) {
    // 12.4 per mille over 20 km: a whole per mille held for a cell would be 10 m off at the end.
    const profilo_dato p = campiona(20000, 25, [](double s) { return 300 + 0.0124 * s; });
    const profilo_adattato a = adatta_profilo(p.punti, p.progressiva, 20000);
    for (const riga_pendenza& r : a.pendenze) {
        EXPECT_GE(r.per_mille, 11);
        EXPECT_LE(r.per_mille, 14);
        EXPECT_EQ(r.posizione % 50, 0);
    }
    EXPECT_LT(a.pendenze.size(), 20000u / 50 / 4); // held over several cells at a time
    ASSERT_TRUE(a.scarto_massimo);
    EXPECT_LT(*a.scarto_massimo, 0.25);
    const std::vector<double> quote = integra_pendenze(a.pendenze, 20000);
    EXPECT_NEAR(quota_adattata(quote, 300, 20000), 300 + 248, 0.25);
}

TEST(AdattaProfilo, SummitAndHollowFollowedWithinAMetre) {
    // Up at 25 per mille, over a summit of 400 m to 18 per mille down, with long waves on top;
    // heights every 30 m with a scatter of +-0.3 m.
    auto liscia = [](double s) {
        const double a = 2800, b = 3200, g1 = 0.025, g2 = -0.018;
        double h = 120 + g1 * std::min(s, a) + 8 * std::sin(s / 900);
        if (s > a) {
            const double u = std::min(s, b) - a;
            h += g1 * u + (g2 - g1) * u * u / (2 * (b - a));
        }
        if (s > b)
            h += g2 * (s - b);
        return h;
    };
    std::mt19937 generatore(2024);
    std::uniform_real_distribution<double> dispersione(-0.3, 0.3);
    const profilo_dato p =
        campiona(12000, 30, [&](double s) { return liscia(s) + dispersione(generatore); });
    const profilo_adattato a = adatta_profilo(p.punti, p.progressiva, 12000);
    ASSERT_TRUE(a.scarto_massimo);
    EXPECT_LT(*a.scarto_massimo, 1.0);
    EXPECT_LT(*a.scarto_medio, 0.4);
    const std::vector<double> quote = integra_pendenze(a.pendenze, 12000);
    for (double s = 0; s <= 12000; s += 10)
        ASSERT_NEAR(quota_adattata(quote, liscia(0), s), liscia(s), 1.0) << "at " << s << " m";
}

TEST(AdattaProfilo, HeightsOnSomePointsOnly) {
    // A map that gives heights at a few points: the rest are ignored, not taken as 0.
    profilo_dato p = campiona(3000, 10, [](double s) { return 50 - 0.01 * s; });
    for (std::size_t i = 0; i < p.punti.size(); ++i)
        if (i % 17 != 0)
            p.punti[i].quota.reset();
    const profilo_adattato a = adatta_profilo(p.punti, p.progressiva, 3000);
    ASSERT_EQ(a.pendenze.size(), 1u);
    EXPECT_EQ(a.pendenze[0].per_mille, -10);
    EXPECT_LT(*a.scarto_massimo, 0.05);
}

TEST(AdattaProfilo, CellsIntegrateAsTheCompilerFillsThem) {
    // The row at 120 m takes effect from the cell it rounds into, as the compiler's cells do
    // for a position that is not a multiple of 50; the fit itself only writes multiples.
    const std::vector<riga_pendenza> righe = {{0, 10}, {120, -4}, {250, 0}};
    const std::vector<double> quote = integra_pendenze(righe, 320);
    ASSERT_EQ(quote.size(), 8u);
    const std::vector<double> attese = {0, 0.5, 1.0, 0.8, 0.6, 0.4, 0.4, 0.4};
    for (std::size_t i = 0; i < attese.size(); ++i)
        EXPECT_NEAR(quote[i], attese[i], 1e-12) << "boundary " << i;
}

} // namespace
} // namespace corvenna
