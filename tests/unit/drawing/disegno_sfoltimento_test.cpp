#include "drawing/disegno_sfoltimento.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvenna {
namespace {

double distanza(punto p, punto a, punto b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

TEST(Sfoltimento, KeepsEndsCornersAndRequiredPointsAndNothingFartherThanTheTolerance) {
    // A straight run, a right angle, an arc, and a long straight tail: 20000 points.
    std::vector<punto> punti;
    for (int i = 0; i <= 1000; ++i)
        punti.push_back({0, static_cast<double>(i)});
    for (int i = 1; i <= 1000; ++i)
        punti.push_back({static_cast<double>(i), 1000});
    for (int i = 1; i <= 1000; ++i) {
        const double a = i * 0.001 * M_PI / 2;
        punti.push_back({1000 + 500 * std::sin(a), 500 + 500 * std::cos(a)});
    }
    while (punti.size() < 20000)
        punti.push_back({punti.back().x + 1, punti.back().y});
    const std::size_t obbligati[] = {1500};

    const std::vector<std::size_t> tenuti = sfoltisci(punti, 0.5, obbligati);
    ASSERT_GE(tenuti.size(), 4u);
    EXPECT_TRUE(std::is_sorted(tenuti.begin(), tenuti.end()));
    EXPECT_EQ(tenuti.front(), 0u);
    EXPECT_EQ(tenuti.back(), punti.size() - 1);
    EXPECT_TRUE(std::binary_search(tenuti.begin(), tenuti.end(), 1000u)); // the corner
    EXPECT_TRUE(std::binary_search(tenuti.begin(), tenuti.end(), 1500u));
    EXPECT_LT(tenuti.size(), 100u);
    for (std::size_t k = 0; k + 1 < tenuti.size(); ++k)
        for (std::size_t i = tenuti[k] + 1; i < tenuti[k + 1]; ++i)
            ASSERT_LE(distanza(punti[i], punti[tenuti[k]], punti[tenuti[k + 1]]), 0.5) << i;
}

TEST(Sfoltimento, ShortAndEmptyLines) {
    EXPECT_TRUE(sfoltisci({}, 1).empty());
    const std::vector<punto> uno = {{3, 4}};
    EXPECT_EQ(sfoltisci(uno, 1), std::vector<std::size_t>{0});
    // Points on one spot: only the ends stay.
    const std::vector<punto> fermi(50, punto{1, 1});
    EXPECT_EQ(sfoltisci(fermi, 0.1), (std::vector<std::size_t>{0, 49}));
}

} // namespace
} // namespace corvenna
