// What fitting an imported path costs: a winding line of 1000 km, a point every 10 m with
// heights, fitted to curve and gradient rows. Reports the rows it gives and how far the fit
// lies from the points.

#include "importer/geometria_importata.hpp"
#include "importer/proiezione.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace corvenna {

namespace {

// A line of `lunghezza` metres in the plane: curves of radii from 400 m to 8000 m, each hand in
// turn, between straights, rising and falling by up to 15 per mille; one point every `passo`
// metres, laid on the globe north of the origin.
std::vector<punto_geografico> linea_lunga(double lunghezza, double passo) {
    std::vector<punto_piano> piano;
    std::vector<double> quote;
    double x = 0, y = 0, direzione = 1.2, quota = 200;
    const int punti = static_cast<int>(lunghezza / passo);
    for (int i = 0; i <= punti; ++i) {
        const double s = i * passo;
        piano.push_back({x, y});
        quote.push_back(quota);
        // A kilometre in three: straight, curved, straight, with a radius that changes every
        // kilometre.
        const int km = static_cast<int>(s / 1000);
        const double nel_km = std::fmod(s, 1000);
        const double raggio = 400 + std::fmod(km * 1733.0, 7600);
        const double curvatura = nel_km > 300 && nel_km < 700 ? (km % 2 ? 1 : -1) / raggio : 0;
        // Winding back toward north keeps the line within a few hundred kilometres of its
        // start either way.
        const double rientro = 0.02 * std::sin(direzione - 1.57) * (nel_km > 300 && nel_km < 700);
        direzione += (curvatura - rientro / 400) * passo;
        x += std::cos(direzione) * passo;
        y += std::sin(direzione) * passo;
        quota += 0.015 * std::sin(s / 3000) * passo;
    }
    const auto proiezione = proiezione_locale::centrata(11.0, 40.0);
    std::vector<punto_geografico> geografici = proiezione->inverti(piano);
    for (std::size_t i = 0; i < geografici.size(); ++i)
        geografici[i].quota = quote[i];
    return geografici;
}

void BM_AdattaGeometria1000km(benchmark::State& state) {
    const std::vector<punto_geografico> punti = linea_lunga(999000, 10);
    esito_geometria esito;
    for (auto _ : state) {
        esito = adatta_geometria(punti);
        benchmark::DoNotOptimize(esito);
    }
    if (esito.geometria) {
        state.counters["punti"] = static_cast<double>(punti.size());
        state.counters["righe_curva"] = static_cast<double>(esito.geometria->curve.size());
        state.counters["righe_pendenza"] = static_cast<double>(esito.geometria->pendenze.size());
        state.counters["scarto_max_m"] = esito.geometria->scarto_planimetria_massimo;
        state.counters["scarto_quota_max_m"] = esito.geometria->scarto_quota_massimo.value_or(-1);
    } else {
        state.SkipWithError("the fit failed");
    }
}
BENCHMARK(BM_AdattaGeometria1000km)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace corvenna
