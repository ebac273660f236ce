// What `scenario confronta` costs on the longest route: two 1000000 m lines, the second with
// its first curve one class sharper (every metre after it moves) and a signal moved, compared
// in memory. The goal: well under a second.

#include "inspect/confronto_scenari.hpp"
#include "support/scenario_compilato.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace corvenna {

namespace {

void BM_confronta_linee_1000km(benchmark::State& state) {
    const costruzione& a = prova::scenario_1000km();
    std::string linea = prova::testo_linea_1000km();
    linea.replace(linea.find("curvas2,  300,"), 8, "curvas3,");
    std::string treno = prova::testo_righe(righe_treno);
    treno.replace(treno.find("segnale,  41300,"), 16, "segnale,  41400,");
    const costruzione b = prova::compila_scenario(linea, treno, 1);
    std::size_t modifiche = 0;
    for (auto _ : state) {
        const std::vector<modifica> m = confronta_scenari(a, b);
        modifiche = m.size();
        benchmark::DoNotOptimize(m.data());
    }
    state.counters["modifiche"] = static_cast<double>(modifiche);
}
BENCHMARK(BM_confronta_linee_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
