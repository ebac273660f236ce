// What the drawing of a compiled scenario costs: the page of the built-in scenario and of a
// line of 1000000 m, made from the model and written to its file. Each reports the page's size.

#include "support/cartella_temporanea.hpp"
#include "support/scenario_compilato.hpp"

#include "drawing/disegno_pagina.hpp"
#include "tool/file_utente.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

namespace corvenna {

namespace {

namespace fs = std::filesystem;

// Makes the page and replaces its file, in a fresh directory under the temporary one.
void pagina_su_file(benchmark::State& state, const costruzione& c) {
    const prova::cartella_temporanea cartella;
    const fs::path file = cartella.percorso() / "pagina.html";
    std::size_t byte = 0;
    for (auto _ : state) {
        const std::string pagina = pagina_disegno(c);
        scrivi_file_utente(file, [&pagina](std::ostream& uscita) {
            uscita.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
        });
        byte = pagina.size();
    }
    state.counters["byte_pagina"] = benchmark::Counter(static_cast<double>(byte));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * byte));
}

void BM_disegno_scenario(benchmark::State& state) {
    pagina_su_file(state, prova::scenario_incorporato());
}
BENCHMARK(BM_disegno_scenario)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_disegno_linea_1000km(benchmark::State& state) {
    pagina_su_file(state, prova::scenario_1000km());
}
BENCHMARK(BM_disegno_linea_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
