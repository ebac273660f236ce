// What `scenario ispeziona` costs on the longest route: reading the three files of a 1000000 m
// line back into a model and writing its JSON (to a stream that drops it), with the heap held at
// the peak beside the files' size.

#include "contatore_memoria.hpp"

#include "format/nomi_file.hpp"
#include "inspect/ispezione_json.hpp"
#include "output/file_binari.hpp"
#include "platform/cartella_bloccata.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/flusso_contato.hpp"
#include "support/scenario_compilato.hpp"
#include "tool/carica_scenario.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace corvenna {

namespace {

namespace fs = std::filesystem;

void BM_ispeziona_linea_1000km(benchmark::State& state) {
    const prova::cartella_temporanea temporanea;
    const fs::path& cartella = temporanea.percorso();
    std::uintmax_t byte_file = 0;
    {
        const costruzione c = prova::compila_scenario(prova::testo_linea_1000km(),
                                                      prova::testo_righe(righe_treno), 1);
        cartella_bloccata uscita(cartella);
        scrivi_planimetria(uscita, nome_file(c, file_uscita::planimetria), c);
        scrivi_voci(uscita, nome_file(c, file_uscita::voci), c);
        scrivi_celle(uscita, nome_file(c, file_uscita::celle), c);
        for (const file_uscita f :
             {file_uscita::planimetria, file_uscita::voci, file_uscita::celle})
            byte_file += fs::file_size(percorso_file(cartella, c, f));
    }
    const file_scenario file = trova_file_scenario(cartella, std::nullopt);

    std::size_t byte_json = 0;
    banco::azzera_picco();
    for (auto _ : state) {
        prova::flusso_contato buffer;
        std::ostream uscita(&buffer);
        const scenario_caricato s = carica_scenario(file);
        scrivi_json(uscita, s.c, "\n");
        byte_json = buffer.scritti;
    }
    const auto picco = static_cast<double>(banco::picco_dall_azzeramento());
    state.counters["byte_file"] = benchmark::Counter(
        static_cast<double>(byte_file), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["byte_json"] = benchmark::Counter(
        static_cast<double>(byte_json), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_heap"] =
        benchmark::Counter(picco, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_su_file"] = picco / static_cast<double>(byte_file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * byte_file));
}
BENCHMARK(BM_ispeziona_linea_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace corvenna
