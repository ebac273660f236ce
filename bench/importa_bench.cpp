// What `scenario importa` costs on the longest path: a map of 998 km of track sampled every
// 10 m (99 800 points, a gentle S-curve with rising and falling heights), read, fitted and laid
// out as the two descriptions, with the heap held at the peak beside the map file's size. Once
// as GPX, once as the same GPX with a receiver's noise, once as the XML map of ways and nodes (the
// path found between its two stations), and a dense track of 100 000 points over 111 m. Then the
// heights of `--quota`: the same path's points sampled in an elevation raster that covers it.

#include "contatore_memoria.hpp"

#include "importer/descrizioni_importate.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/lettore_osm.hpp"
#include "importer/quota_raster.hpp"
#include "unit/importer/raster_di_prova.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace corvenna {

namespace {

constexpr int punti = 99801;
constexpr double metri_per_grado = 111194.93;

struct punto_prova {
    double lon, lat, quota;
};

punto_prova punto(int i) {
    const double s = 10.0 * i;
    // 100 m to either side over 10 km, heights 50 m up and down over 25 km.
    const double lat = 44.0 + s / metri_per_grado;
    const double lon = 9.0 + 100 * std::sin(s / 10000 * 2 * 3.14159265358979) /
                                 (metri_per_grado * std::cos(lat * 3.14159265358979 / 180));
    return {lon, lat, 200 + 50 * std::sin(s / 25000 * 2 * 3.14159265358979)};
}

// The same path as a receiver records it: every point moved by a noise that drifts from point
// to point (2.5 m in plan, 3 m in height, over about 30 m).
std::string mappa_gpx_rumorosa() {
    std::mt19937 g(4410);
    std::normal_distribution<> normale;
    const double rho = std::exp(-10.0 / 30), nuovo = std::sqrt(1 - rho * rho);
    double ex = 0, ey = 0, ez = 0;
    std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"banco\">\n"
                      "<trk><trkseg>\n";
    char riga[160];
    for (int i = 0; i < punti; ++i) {
        const punto_prova p = punto(i);
        ex = rho * ex + nuovo * 2.5 * normale(g);
        ey = rho * ey + nuovo * 2.5 * normale(g);
        ez = rho * ez + nuovo * 3.0 * normale(g);
        std::snprintf(riga, sizeof riga,
                      "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele></trkpt>\n",
                      p.lat + ey / metri_per_grado,
                      p.lon + ex / (metri_per_grado * std::cos(p.lat * 3.14159265358979 / 180)),
                      p.quota + ez);
        gpx += riga;
    }
    return gpx + "</trkseg></trk></gpx>\n";
}

// A dense track: 100 000 points over 111 m, a point every 1.1 mm.
std::string mappa_gpx_densa() {
    std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"banco\">\n"
                      "<trk><trkseg>\n";
    char riga[160];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(riga, sizeof riga, "<trkpt lat=\"%.9f\" lon=\"9\"><ele>200</ele></trkpt>\n",
                      44.0 + 111.0 * i / 99999 / metri_per_grado);
        gpx += riga;
    }
    return gpx + "</trkseg></trk></gpx>\n";
}

std::string mappa_gpx() {
    std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"banco\">\n"
                      "<wpt lat=\"44\" lon=\"9\"><name>Altavilla</name></wpt>\n<trk><trkseg>\n";
    char riga[160];
    for (int i = 0; i < punti; ++i) {
        const punto_prova p = punto(i);
        std::snprintf(riga, sizeof riga,
                      "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele></trkpt>\n", p.lat, p.lon,
                      p.quota);
        gpx += riga;
    }
    return gpx + "</trkseg></trk></gpx>\n";
}

std::string mappa_osm() {
    std::string osm = "<?xml version=\"1.0\"?>\n<osm version=\"0.6\">\n";
    char riga[200];
    for (int i = 0; i < punti; ++i) {
        const punto_prova p = punto(i);
        std::snprintf(riga, sizeof riga, "<node id=\"%d\" lat=\"%.7f\" lon=\"%.7f\"", i + 1, p.lat,
                      p.lon);
        osm += riga;
        if (i == 0 || i == punti - 1)
            osm += std::string("><tag k=\"railway\" v=\"station\"/><tag k=\"name\" v=\"") +
                   (i == 0 ? "Altavilla" : "Borgofranco") + "\"/></node>\n";
        else
            osm += "/>\n";
    }
    // Ways of 2000 nodes each, joined end to start.
    for (int inizio = 0, via = 1; inizio < punti - 1; inizio += 1999, ++via) {
        osm += "<way id=\"" + std::to_string(via) + "\">";
        for (int i = inizio; i <= std::min(inizio + 1999, punti - 1); ++i)
            osm += "<nd ref=\"" + std::to_string(i + 1) + "\"/>";
        osm += "<tag k=\"railway\" v=\"rail\"/><tag k=\"maxspeed\" v=\"" +
               std::to_string(via % 2 ? 120 : 100) + "\"/></way>\n";
    }
    return osm + "</osm>\n";
}

template <typename Lettore>
void importa(benchmark::State& state, const std::string& file, Lettore leggi) {
    std::size_t lunghezza = 0;
    banco::azzera_picco();
    for (auto _ : state) {
        const esito_mappa m = leggi(file);
        if (!m.mappa) {
            state.SkipWithError(m.errore->messaggio.c_str());
            return;
        }
        const esito_geometria g = adatta_geometria(m.mappa->percorso);
        if (!g.geometria) {
            state.SkipWithError(g.errore->messaggio.c_str());
            return;
        }
        const descrizioni_importate d = componi_descrizioni(*m.mappa, *g.geometria, {});
        benchmark::DoNotOptimize(d.linea.data());
        lunghezza = static_cast<std::size_t>(g.geometria->lunghezza);
    }
    const auto picco = static_cast<double>(banco::picco_dall_azzeramento());
    state.counters["metri"] = static_cast<double>(lunghezza);
    state.counters["byte_mappa"] =
        benchmark::Counter(static_cast<double>(file.size()), benchmark::Counter::kDefaults,
                           benchmark::Counter::kIs1024);
    state.counters["picco_heap"] =
        benchmark::Counter(picco, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_su_mappa"] = picco / static_cast<double>(file.size());
}

void BM_importa_gpx_1000km(benchmark::State& state) {
    const std::string file = mappa_gpx();
    importa(state, file, [](const std::string& f) { return leggi_gpx(f); });
}
BENCHMARK(BM_importa_gpx_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_importa_gpx_1000km_rumorosa(benchmark::State& state) {
    const std::string file = mappa_gpx_rumorosa();
    importa(state, file, [](const std::string& f) { return leggi_gpx(f); });
}
BENCHMARK(BM_importa_gpx_1000km_rumorosa)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_importa_gpx_densa(benchmark::State& state) {
    const std::string file = mappa_gpx_densa();
    importa(state, file, [](const std::string& f) { return leggi_gpx(f); });
}
BENCHMARK(BM_importa_gpx_densa)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_importa_osm_1000km(benchmark::State& state) {
    const std::string file = mappa_osm();
    importa(state, file, [](const std::string& f) {
        return leggi_osm(f, formato_osm::xml, {"Altavilla", "Borgofranco"});
    });
}
BENCHMARK(BM_importa_osm_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

// A raster of 0.001 degree pixels (about 80 m by 111 m) over the whole path, 40 by 9000 pixels
// as one GeoTIFF of 1.4 MB, every point sampled bilinearly.
void BM_quote_raster_1000km(benchmark::State& state) {
    prova::raster_di_prova r;
    r.trasformazione = {8.99, 0.001, 0, 53.0, 0, -0.001};
    r.larghezza = 40;
    r.altezza = 9000;
    r.quota = [](double lon, double lat) { return 200 + 1000 * (lat - 44) + 100 * (lon - 9); };
    const std::string raster = prova::geotiff(r);
    std::vector<punto_geografico> percorso;
    for (int i = 0; i < punti; ++i) {
        const punto_prova p = punto(i);
        percorso.push_back({p.lon, p.lat, std::nullopt});
    }
    banco::azzera_picco();
    for (auto _ : state) {
        const quote_raster q = campiona_quote(raster, percorso);
        if (q.errore) {
            state.SkipWithError(q.errore->messaggio.c_str());
            return;
        }
        benchmark::DoNotOptimize(q.campioni.data());
    }
    state.counters["punti"] = static_cast<double>(percorso.size());
    state.counters["byte_raster"] =
        benchmark::Counter(static_cast<double>(raster.size()), benchmark::Counter::kDefaults,
                           benchmark::Counter::kIs1024);
    state.counters["picco_heap"] =
        benchmark::Counter(static_cast<double>(banco::picco_dall_azzeramento()),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}
BENCHMARK(BM_quote_raster_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
