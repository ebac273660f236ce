// What `scenario controlla` costs on a description of junk: a 10 MB line description of
// unrecognised lines, one warning each, reported as text and as JSON (to streams that drop
// them); and the largest description allowed, 16 MiB, of short junk lines (a few bytes each, the
// most diagnostics a byte) and of long ones (a thousand bytes each, the longest texts quoted);
// each with the heap held at the peak beside the file's size and the bytes of the report.

#include "contatore_memoria.hpp"

#include "support/cartella_temporanea.hpp"
#include "support/flusso_contato.hpp"
#include "support/treno_minimo.hpp"
#include "tool/comando_compila.hpp"

#include <benchmark/benchmark.h>

#include <fstream>
#include <ostream>
#include <string>

namespace corvenna {

namespace {

// A line description of about 10 MB: its general section, then lines that each open with a
// field that is no keyword, every one different.
std::string linea_di_spazzatura() {
    std::string t = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n";
    for (int i = 0; t.size() < 10'000'000; ++i)
        t += "riga_sconosciuta_" + std::to_string(i) + ",  100,  3\r\n";
    return t + "[fine]\r\n";
}

// 16 MiB, the largest description read, after the general section: lines of `lunghezza`
// bytes, each a field that is no keyword.
std::string linea_di_16_mib(std::size_t lunghezza) {
    std::string t = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n";
    const std::size_t massimo = std::size_t{16} << 20;
    for (int i = 0;; ++i) {
        std::string riga(1, 'q');
        riga += std::to_string(i % 100000);
        if (riga.size() + 2 < lunghezza) {
            riga += ',';
            riga.append(lunghezza - riga.size() - 2, 'y');
        }
        // Room left for the line end and the closing "[fine]".
        if (t.size() + riga.size() + 2 + 8 > massimo)
            break;
        t += riga;
        t += "\r\n";
    }
    return t + "[fine]\r\n";
}

void diagnostiche_spazzatura(benchmark::State& state, bool json,
                             const std::string& linea = linea_di_spazzatura()) {
    const prova::cartella_temporanea cartella;
    opzioni_compila o;
    o.linea = cartella.percorso() / "Spazzatura_linea.txt";
    o.treno = cartella.percorso() / "Spazzatura_0001-.txt";
    o.scrivi = false;
    o.forma = json ? forma_diagnostiche::json : forma_diagnostiche::testo;
    std::ofstream(o.linea, std::ios::binary) << linea;
    std::ofstream(o.treno, std::ios::binary) << prova::treno_minimo();

    std::size_t byte_rapporto = 0;
    banco::azzera_picco();
    for (auto _ : state) {
        prova::flusso_contato scarto;
        std::ostream rapporto(&scarto);
        if (esegui_compila(o, rapporto, rapporto) != 0) {
            state.SkipWithError("the tool reported errors");
            return;
        }
        byte_rapporto = scarto.scritti;
    }
    const auto picco = static_cast<double>(banco::picco_dall_azzeramento());
    const auto byte_file = static_cast<double>(linea.size());
    state.counters["byte_file"] =
        benchmark::Counter(byte_file, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["byte_rapporto"] =
        benchmark::Counter(static_cast<double>(byte_rapporto), benchmark::Counter::kDefaults,
                           benchmark::Counter::kIs1024);
    state.counters["picco_heap"] =
        benchmark::Counter(picco, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_su_file"] = picco / byte_file;
}

void BM_diagnostiche_spazzatura_testo(benchmark::State& state) {
    diagnostiche_spazzatura(state, false);
}
BENCHMARK(BM_diagnostiche_spazzatura_testo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_diagnostiche_spazzatura_json(benchmark::State& state) {
    diagnostiche_spazzatura(state, true);
}
BENCHMARK(BM_diagnostiche_spazzatura_json)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_diagnostiche_16_mib_righe_corte(benchmark::State& state) {
    diagnostiche_spazzatura(state, false, linea_di_16_mib(5));
}
BENCHMARK(BM_diagnostiche_16_mib_righe_corte)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_diagnostiche_16_mib_righe_lunghe(benchmark::State& state) {
    diagnostiche_spazzatura(state, false, linea_di_16_mib(1000));
}
BENCHMARK(BM_diagnostiche_16_mib_righe_lunghe)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

} // namespace corvenna
