// The times a track gives: ISO 8601 instants read from GPX, and the skeleton's station times
// taken from when the track passed each station.

#include "importer/descrizioni_importate.hpp"
#include "importer/geometria_importata.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/tempo_iso.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

TEST(TempoIso, ReadsTheInstantsGpxWrites) {
    struct caso {
        const char* testo;
        std::optional<double> secondi;
    };
    const std::vector<caso> casi = {
        {"1970-01-01T00:00:00Z", 0},
        {"2024-05-01T08:12:30Z", 1714551150},
        {" 2024-05-01T08:12:30.25Z ", 1714551150.25},
        {"2024-05-01T10:12:30+02:00", 1714551150},
        {"2024-05-01T07:42:30-0030", 1714551150},
        {"2024-05-01T08:12:30", 1714551150},
        {"2024-02-30T08:12:30Z", std::nullopt},
        {"2024-05-01T25:12:30Z", std::nullopt},
        {"2024-05-01", std::nullopt},
        {"ieri", std::nullopt},
        {"2024-05-01T08:12:30Zx", std::nullopt},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.testo);
        const std::optional<double> letto = istante_iso(c.testo);
        ASSERT_EQ(letto.has_value(), c.secondi.has_value());
        if (letto) {
            EXPECT_DOUBLE_EQ(*letto, *c.secondi);
        }
    }
}

// 3 km due north at 20 m/s, a point every 10 m, from 09:00:10 UTC.
std::string traccia_con_tempi(bool con_tempi) {
    std::string gpx = "<gpx version=\"1.1\"><trk><trkseg>";
    char riga[200];
    for (int i = 0; i <= 300; ++i) {
        const int secondi = 9 * 3600 + 10 + i / 2;
        std::snprintf(riga, sizeof riga, "<trkpt lat=\"%.7f\" lon=\"9\">", 45 + i * 10 / 111194.93);
        gpx += riga;
        if (con_tempi) {
            std::snprintf(riga, sizeof riga, "<time>2024-05-01T%02d:%02d:%02d%sZ</time>",
                          secondi / 3600, secondi / 60 % 60, secondi % 60, i % 2 ? ".5" : "");
            gpx += riga;
        }
        gpx += "</trkpt>";
    }
    return gpx + "</trkseg></trk></gpx>";
}

TEST(TempiTraccia, StationTimesComeFromWhenTheTrackPassedThem) {
    const esito_mappa m = leggi_gpx(traccia_con_tempi(true));
    ASSERT_TRUE(m.mappa);
    ASSERT_EQ(m.mappa->tempi_punti.size(), m.mappa->percorso.size());
    EXPECT_EQ(m.mappa->tempi_punti[1], 1714554010.5);
    const esito_geometria g = adatta_geometria(m.mappa->percorso);
    ASSERT_TRUE(g.geometria);
    const descrizioni_importate d = componi_descrizioni(*m.mappa, *g.geometria, {});
    // Departure at 09:00:10, to the half minute; the end 150 s later.
    EXPECT_NE(d.treno.find("orologio,  8,  59,  0\r\n"), std::string::npos) << d.treno;
    EXPECT_NE(d.treno.find("- orari dalla traccia"), std::string::npos) << d.treno;
    EXPECT_NE(d.treno.find(",  9,  0,  0,  ORIGINE\r\n"), std::string::npos) << d.treno;
    EXPECT_NE(d.treno.find(",  9,  2,  30,  CAPOLINEA\r\n"), std::string::npos) << d.treno;
}

TEST(TempiTraccia, WithoutTimesTheSkeletonSaysTheyAreEstimated) {
    const esito_mappa m = leggi_gpx(traccia_con_tempi(false));
    ASSERT_TRUE(m.mappa) << m.errore->messaggio;
    const esito_geometria g = adatta_geometria(m.mappa->percorso);
    ASSERT_TRUE(g.geometria);
    const descrizioni_importate d = componi_descrizioni(*m.mappa, *g.geometria, {});
    EXPECT_NE(d.treno.find("- orari stimati"), std::string::npos) << d.treno;
    EXPECT_NE(d.treno.find("orologio,  8,  0,  0\r\n"), std::string::npos) << d.treno;
}

} // namespace
} // namespace corvenna
