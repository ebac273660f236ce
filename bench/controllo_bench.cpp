// The checking pass: how much of what an author gets wrong it finds where it is (faults seeded
// into the template, 1 to 5 a file), and what it adds to `controlla` on a 1000000 m line.

#include "checking/controllo_descrizioni.hpp"
#include "format/righe_documento.hpp"
#include "scenario/righe_treno.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/flusso_contato.hpp"
#include "support/guasti_seminati.hpp"
#include "support/scenario_compilato.hpp"
#include "tool/comando_compila.hpp"

#include <benchmark/benchmark.h>

#include <fstream>
#include <ostream>

namespace corvenna {

namespace {

// The figures of 200 seeded files, as counters: the share of faults found at their exact line
// and column, the share of diagnostics on no seeded fault's row, and the share of files whose
// compile's first error is reported as recorded.
void BM_guasti_seminati(benchmark::State& state) {
    prova::misura_controllo m;
    for (auto _ : state)
        m = prova::misura_guasti(200, 20261211);
    state.counters["file"] = m.file;
    state.counters["guasti"] = m.guasti;
    state.counters["trovati_%"] = 100.0 * m.trovati / m.guasti;
    state.counters["estranee_%"] = 100.0 * m.estranee / m.diagnostiche;
    state.counters["primo_errore_%"] =
        m.con_errore == 0 ? 100.0 : 100.0 * m.primo_errore_presente / m.con_errore;
}
BENCHMARK(BM_guasti_seminati)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// `scenario controlla` on a 1000000 m line, the checking pass included (it must stay under
// 100 ms), and the pass alone on the same texts.
void BM_controlla_1000km(benchmark::State& state) {
    const prova::cartella_temporanea cartella;
    opzioni_compila o;
    o.linea = cartella.percorso() / "Lunga_linea.txt";
    o.treno = cartella.percorso() / "Lunga_1000-.txt";
    o.scrivi = false;
    o.consentiti.push_back("marcatori-sovrascritti");
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
BENCHMARK(BM_controlla_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_passo_di_controllo_1000km(benchmark::State& state) {
    const std::string linea = prova::testo_linea_1000km();
    const std::string treno = testo_righe(righe_treno);
    for (auto _ : state)
        benchmark::DoNotOptimize(controlla_descrizioni(linea, treno, 1, {}));
}
BENCHMARK(BM_passo_di_controllo_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
