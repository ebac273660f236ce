// What the drawing of a compiled scenario costs: the page of the built-in scenario and of a
// line of 1000000 m, made from the model and written to its file. Each reports the page's size.

#include "descrizioni_bench.hpp"

#include "compiler/sorgente_descrizioni.hpp"
#include "output/sostituzione_file.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "report/disegno_pagina.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>

namespace corvenna {

namespace {

namespace fs = std::filesystem;

costruzione modello(const std::string& linea, const std::string& treno) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea;
    sorgente.testi[descrizione::treno] = treno;
    return costruisci_scenario(sorgente, {"Corvenna", "7381"}, 1).c;
}

// Makes the page and replaces its file, in a fresh directory under the temporary one.
void pagina_su_file(benchmark::State& state, const costruzione& c) {
    std::random_device caso;
    const fs::path cartella = fs::temp_directory_path() /
                              ("disegno_bench_" + std::to_string(caso()) + std::to_string(caso()));
    fs::create_directories(cartella);
    const fs::path file = cartella / "pagina.html";
    std::size_t byte = 0;
    for (auto _ : state) {
        const std::string pagina = pagina_disegno(c);
        sostituisci_file(file, [&pagina](std::ostream& uscita) {
            uscita.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
        });
        byte = pagina.size();
    }
    fs::remove_all(cartella);
    state.counters["byte_pagina"] = benchmark::Counter(static_cast<double>(byte));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * byte));
}

void BM_disegno_scenario(benchmark::State& state) {
    static const costruzione c =
        modello(banco::testo_righe(righe_linea), banco::testo_righe(righe_treno));
    pagina_su_file(state, c);
}
BENCHMARK(BM_disegno_scenario)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_disegno_linea_1000km(benchmark::State& state) {
    static const costruzione c =
        modello(banco::testo_linea_1000km(), banco::testo_righe(righe_treno));
    pagina_su_file(state, c);
}
BENCHMARK(BM_disegno_linea_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
