// What the dry run costs on a long line: 990 km with a timed stop every 5 km, 120 km/h with a
// 80 km/h stretch in every 10 km, a gradient change every 2 km (from -9 to +9 per mille), a
// curve in every kilometre (600 m, radius 1000 or 2500 m, alternating hand) in the plan view
// the curve resistance is read from. The model is the run's default. The item table holds at
// most 79 stations, so the line is built as the run reads it: cells, plan view and stops; the
// run itself is the command's (marcia_linea: sections, profile, signals).
//
// Its own program, linking the dry run's layer alone, so that a Release build of it is quick:
//   cmake --build build-rel --target marcia_bench && build-rel/bench/marcia_bench

#include "running/marcia_treno.hpp"

#include <benchmark/benchmark.h>

#include <cmath>

namespace corvenna {

namespace {

constexpr std::int64_t lunghezza_m = 1000000;
constexpr int ultimo_km = 990;

const costruzione& linea_lunga() {
    static const costruzione c = [] {
        costruzione l;
        l.celle.resize(static_cast<std::size_t>(lunghezza_m / 50 + 1));
        l.ultima_cella = static_cast<std::int32_t>(l.celle.size()) - 1;
        for (std::size_t k = 0; k < l.celle.size(); ++k) {
            const std::int64_t metro = 50 * static_cast<std::int64_t>(k);
            l.celle[k].velocita = metro % 10000 >= 6000 && metro % 10000 < 7000 ? 16 : 24;
            l.celle[k].pendenza = static_cast<std::uint8_t>(100 + metro / 2000 % 19 - 9);
        }
        // A distant and a main signal before every stop.
        for (int km = 5; km <= ultimo_km; km += 5) {
            const auto avviso = static_cast<std::size_t>((1000 * km - 2000) / 50 + 1);
            l.celle[avviso].tipo = 1;
            l.celle[avviso].dato4 = 3;
            l.celle[avviso + 25].tipo = 1;
            l.celle[avviso + 25].dato4 = 6;
        }
        l.lunghezza_totale = static_cast<std::int32_t>(lunghezza_m);
        l.genera_planimetria = 1;
        auto& x = l.planimetria[asse_x];
        auto& y = l.planimetria[asse_y];
        x.resize(static_cast<std::size_t>(lunghezza_m) + 1);
        y.resize(static_cast<std::size_t>(lunghezza_m) + 1);
        double px = 0, py = 0, rotta = 0;
        for (std::int64_t m = 0; m <= lunghezza_m; ++m) {
            x.imposta_doppio(static_cast<std::size_t>(m), px);
            y.imposta_doppio(static_cast<std::size_t>(m), py);
            const std::int64_t km = m / 1000;
            if (m % 1000 >= 300 && m % 1000 < 900)
                rotta += (km % 2 == 0 ? 1 : -1) / (km % 4 < 2 ? 1000.0 : 2500.0);
            px += std::cos(rotta);
            py += std::sin(rotta);
        }
        return l;
    }();
    return c;
}

void BM_marcia_990km(benchmark::State& state) {
    const costruzione& c = linea_lunga();
    const modello_treno m = modello_predefinito(c);
    std::size_t punti = 0;
    for (auto _ : state) {
        linea_marcia l = linea_di_marcia(c);
        for (int km = 0; km <= ultimo_km; km += 5) {
            fermata_marcia f;
            f.voce = km / 5 + 1;
            f.nome = "S";
            f.metro = 1000 * km;
            f.arrivo_s = 6 * 3600 + 200 * (km / 5);
            f.partenza_s = f.arrivo_s + 30;
            l.fermate.push_back(f);
        }
        const esito_marcia e = marcia_linea(l, m, frenatura_emergenza(m, c));
        punti = e.profilo.size();
        benchmark::DoNotOptimize(e.totale.minimo_s);
    }
    state.counters["punti_profilo"] = static_cast<double>(punti);
}
BENCHMARK(BM_marcia_990km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
