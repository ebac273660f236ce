// The built-in line there and back: its compiled plan view and profile, laid on the ground
// around a real origin, sampled every 20 m and written as each kind of map, imported and
// compiled again, come back within half a metre in plan and a metre in height.

#include "importer/descrizioni_importate.hpp"
#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/lettore_osm.hpp"
#include "importer/proiezione.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/scenario_compilato.hpp"
#include "unit/importer/adatta_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace corvenna {
namespace {

constexpr int passo_campioni = 20;

struct linea_originale {
    std::int32_t lunghezza = 0;
    std::vector<punto_piano> piano; // every metre
    std::vector<double> quote;      // every 50 m, from 0 at the start
    std::vector<punto_geografico> campioni;
};

// The built-in line compiled, and its plan and heights sampled every 20 m and laid on the
// ground around the tests' origin, 200 m above the sea.
linea_originale originale() {
    linea_originale o;
    const costruzione c = prova::compila_scenario(prova::testo_righe(righe_linea),
                                                  prova::testo_righe(righe_treno), 1);
    o.lunghezza = c.voci[84].fine;
    o.piano = prova::piano_compilato(c, o.lunghezza);
    o.quote = prova::quote_compilate(c);
    std::vector<punto_piano> campioni;
    std::vector<double> quote;
    for (std::int32_t m = 0; m <= o.lunghezza; m += passo_campioni) {
        campioni.push_back(o.piano[static_cast<std::size_t>(m)]);
        const auto k = static_cast<std::size_t>(m / 50);
        const double resto = m % 50;
        quote.push_back(200 + (k + 1 < o.quote.size()
                                   ? o.quote[k] + (o.quote[k + 1] - o.quote[k]) * resto / 50
                                   : o.quote[k]));
    }
    o.campioni = prova::sul_globo(campioni, quote);
    return o;
}

std::string testo_gpx(const std::vector<punto_geografico>& punti) {
    std::string t = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n";
    char riga[160];
    for (const punto_geografico& p : punti) {
        std::snprintf(riga, sizeof riga,
                      "<trkpt lat=\"%.9f\" lon=\"%.9f\"><ele>%.3f</ele></trkpt>\n", p.latitudine,
                      p.longitudine, *p.quota);
        t += riga;
    }
    return t + "</trkseg></trk></gpx>\n";
}

std::string testo_geojson(const std::vector<punto_geografico>& punti) {
    std::string t = "{\"type\":\"Feature\",\"properties\":{},\"geometry\":{\"type\":\"LineString\","
                    "\"coordinates\":[";
    char riga[120];
    for (std::size_t i = 0; i < punti.size(); ++i) {
        std::snprintf(riga, sizeof riga, "%s[%.9f,%.9f,%.3f]", i ? "," : "", punti[i].longitudine,
                      punti[i].latitudine, *punti[i].quota);
        t += riga;
    }
    return t + "]}}";
}

std::string testo_osm(const std::vector<punto_geografico>& punti) {
    std::string t = "<?xml version=\"1.0\"?>\n<osm version=\"0.6\">\n";
    char riga[200];
    for (std::size_t i = 0; i < punti.size(); ++i) {
        std::snprintf(
            riga, sizeof riga,
            "<node id=\"%zu\" lat=\"%.7f\" lon=\"%.7f\"><tag k=\"ele\" v=\"%.3f\"/></node>\n",
            i + 1, punti[i].latitudine, punti[i].longitudine, *punti[i].quota);
        t += riga;
    }
    // Two ways that meet in the middle, the first drawn backwards, chained by the train route.
    const std::size_t meta = punti.size() / 2;
    for (int v = 0; v < 2; ++v) {
        std::vector<std::size_t> nodi;
        for (std::size_t i = v == 0 ? 0 : meta; i <= (v == 0 ? meta : punti.size() - 1); ++i)
            nodi.push_back(i + 1);
        if (v == 0)
            std::reverse(nodi.begin(), nodi.end());
        t += "<way id=\"" + std::to_string(v + 1) + "\">";
        for (const std::size_t n : nodi)
            t += "<nd ref=\"" + std::to_string(n) + "\"/>";
        t += "<tag k=\"railway\" v=\"rail\"/></way>\n";
    }
    return t + "<relation id=\"9\"><member type=\"way\" ref=\"1\" role=\"\"/>"
               "<member type=\"way\" ref=\"2\" role=\"\"/><tag k=\"type\" v=\"route\"/>"
               "<tag k=\"route\" v=\"train\"/></relation></osm>\n";
}

TEST(IdaERitorno, TheBuiltInLineComesBackFromEveryKindOfMap) {
    const linea_originale o = originale();
    ASSERT_GT(o.campioni.size(), 4000u);
    struct formato {
        const char* nome;
        esito_mappa mappa;
    };
    formato formati[] = {
        {"GPX", leggi_gpx(testo_gpx(o.campioni))},
        {"GeoJSON", leggi_geojson(testo_geojson(o.campioni))},
        {"OSM", leggi_osm(testo_osm(o.campioni), formato_osm::xml, {})},
    };
    for (formato& f : formati) {
        ASSERT_TRUE(f.mappa.mappa) << f.nome << ": " << f.mappa.errore->messaggio;
        const esito_geometria g = adatta_geometria(f.mappa.mappa->percorso);
        ASSERT_TRUE(g.geometria) << f.nome << ": " << g.errore->messaggio;
        const descrizioni_importate d = componi_descrizioni(*f.mappa.mappa, *g.geometria, {});
        const costruzione c = prova::compila_scenario(d.linea, d.treno, 1);
        // The compiled plan's steps in a curve are a little longer than a metre, so the path
        // measured on the ground is a few metres longer than the route.
        EXPECT_NEAR(g.geometria->lunghezza, o.lunghezza, 10) << f.nome;

        // The imported plan laid on the original by the rigid motion that best matches the
        // sampled points (the start and direction of a plan view are a choice of frame).
        std::vector<prova::corrispondenza> corrispondenze;
        for (std::size_t i = 0; i < g.geometria->progressiva.size(); ++i)
            corrispondenze.push_back(
                {static_cast<double>(i) * passo_campioni, g.geometria->progressiva[i]});
        const prova::scarti piano = prova::scarto_tra_piani(
            o.piano, prova::piano_compilato(c, g.geometria->lunghezza), corrispondenze);
        EXPECT_LE(piano.massimo, 0.5) << f.nome;

        const std::vector<double> quote = prova::quote_compilate(c);
        double scarto_quota = 0;
        for (std::size_t k = 0; k < quote.size() && k < o.quote.size() &&
                                k * 50 <= static_cast<std::size_t>(o.lunghezza);
             ++k)
            scarto_quota = std::max(scarto_quota, std::abs(quote[k] - o.quote[k]));
        EXPECT_LE(scarto_quota, 1.0) << f.nome;
    }
}

} // namespace
} // namespace corvenna
