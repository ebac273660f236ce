// What the dry run costs on a long line: the 1000000 m line of the benchmarks (a curve every
// kilometre, a gradient change every 2 km), run at 120 km/h past the built-in train's own
// limits, with a timed stop every 5 km over 990 km. The item table holds at most 79 stations,
// so the stops are given to the run directly; everything else is the command's own run: the
// line read from the model, the sections, the profile and the signals.

#include "running/marcia_treno.hpp"
#include "support/scenario_compilato.hpp"

#include <benchmark/benchmark.h>

namespace corvenna {

namespace {

const costruzione& linea_lunga() {
    static const costruzione c = [] {
        costruzione l = prova::scenario_1000km();
        for (std::size_t k = 1800; k < l.celle.size(); ++k)
            l.celle[k].velocita = 120 / 5;
        return l;
    }();
    return c;
}

void BM_marcia_990km(benchmark::State& state) {
    const costruzione& c = linea_lunga();
    const modello_treno m = modello_predefinito(c);
    const double emergenza = frenatura_emergenza(m, c);
    std::size_t punti = 0;
    for (auto _ : state) {
        linea_marcia l = linea_di_marcia(c);
        l.fermate.clear();
        for (int km = 0; km <= 990; km += 5) {
            fermata_marcia f;
            f.voce = km / 5 + 1;
            f.nome = "S";
            f.metro = 1000 * km + 150;
            f.arrivo_s = 6 * 3600 + 200 * (km / 5);
            f.partenza_s = f.arrivo_s + 30;
            l.fermate.push_back(f);
        }
        const esito_marcia e = marcia_linea(l, m, emergenza);
        punti = e.profilo.size();
        benchmark::DoNotOptimize(e.totale.minimo_s);
    }
    state.counters["punti_profilo"] = static_cast<double>(punti);
}
BENCHMARK(BM_marcia_990km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
