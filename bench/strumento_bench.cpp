// The tool against the build function: the same 1000000 m line compiled through `scenario
// controlla` (reading the author's files, converting them, building, reporting) and through the
// build function alone from texts in memory.

#include "format/righe_documento.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "scenario/righe_treno.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/flusso_contato.hpp"
#include "support/scenario_compilato.hpp"
#include "tool/comando_compila.hpp"

#include <benchmark/benchmark.h>

#include <fstream>
#include <ostream>

namespace corvenna {

namespace {

const identita_scenario identita{"Lunga", "1000"};

void BM_linea_1000km_funzione(benchmark::State& state) {
    sorgente_memoria descrizioni;
    descrizioni.testi[descrizione::linea] = prova::testo_linea_1000km();
    descrizioni.testi[descrizione::treno] = testo_righe(righe_treno);
    for (auto _ : state) {
        sorgente_memoria sorgente = descrizioni;
        const scenario_costruito s = costruisci_scenario(sorgente, identita, 1);
        if (!s.riuscito()) {
            state.SkipWithError("the build did not succeed");
            return;
        }
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_linea_1000km_funzione)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_linea_1000km_strumento(benchmark::State& state) {
    const prova::cartella_temporanea cartella;
    opzioni_compila o;
    o.linea = cartella.percorso() / "Lunga_linea.txt";
    o.treno = cartella.percorso() / "Lunga_1000-.txt";
    o.scrivi = false;
    std::ofstream(o.linea, std::ios::binary) << prova::testo_linea_1000km();
    std::ofstream(o.treno, std::ios::binary) << testo_righe(righe_treno);
    prova::flusso_contato scarto;
    std::ostream nulla(&scarto);
    for (auto _ : state)
        if (esegui_compila(o, nulla, nulla) != 0) {
            state.SkipWithError("the tool reported errors");
            return;
        }
}
BENCHMARK(BM_linea_1000km_strumento)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
