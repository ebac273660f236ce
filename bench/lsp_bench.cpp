// The language server's answer time: from an edit (a didChange of one field, as an editor sends
// it) to the publishDiagnostics of both files of the pair, through the server's logic and the
// diagnosis `scenario lsp` runs, on the built-in scenario and on a 1000000 m line. Reported as
// the median and the 95th percentile of the edits. And the heap the server holds at the peak
// while it takes a document of junk as large as a description may be (16 MiB), and one three
// times larger, which it refuses, each beside the document's size.

#include "contatore_memoria.hpp"

#include "editor/server_lsp.hpp"
#include "format/righe_documento.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "support/scenario_compilato.hpp"
#include "tool/comando_lsp.hpp"

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <vector>

namespace corvenna {

namespace {

// The partner of the pair comes from memory: the time measured is the server's, not the disk's.
struct disco_in_memoria final : accesso_file {
    std::string treno;
    std::optional<std::string> leggi(const std::string&) override { return treno; }
    std::vector<std::string> elenca(const std::string&) override { return {"Lunga_1000-.txt"}; }
};

void tempi_modifica(benchmark::State& state, const std::string& linea, const std::string& treno) {
    diagnosi_controlla diagnosi;
    disco_in_memoria disco;
    disco.treno = treno;
    server_lsp server(diagnosi, disco);
    const std::string uri = "file:///bench/Lunga_linea.txt";
    server.ricevi({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}});
    server.ricevi(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/didOpen"},
         {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", linea}}}}}});
    // The edit: the last character of line 2 (the route length's last digit) typed again over
    // itself. The server does not compare texts: each edit is a whole diagnosis of the pair.
    const std::size_t inizio_2 = linea.find('\n') + 1;
    const std::size_t fine_2 = linea.find_first_of("\r\n", inizio_2);
    const int fine = static_cast<int>(fine_2 - inizio_2);
    const std::string ultima = linea.substr(fine_2 - 1, 1);
    std::vector<double> tempi;
    std::int64_t versione = 1;
    for (auto _ : state) {
        const nlohmann::json intervallo = {{"start", {{"line", 1}, {"character", fine - 1}}},
                                           {"end", {{"line", 1}, {"character", fine}}}};
        const nlohmann::json cambio = {{"range", intervallo}, {"text", ultima}};
        const nlohmann::json parametri = {{"textDocument", {{"uri", uri}, {"version", ++versione}}},
                                          {"contentChanges", nlohmann::json::array({cambio})}};
        const nlohmann::json modifica = {
            {"jsonrpc", "2.0"}, {"method", "textDocument/didChange"}, {"params", parametri}};
        const auto inizio = std::chrono::steady_clock::now();
        const auto uscita = server.ricevi(modifica);
        tempi.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inizio)
                .count());
        if (uscita.size() != 2) {
            state.SkipWithError("not two publishDiagnostics");
            return;
        }
        benchmark::DoNotOptimize(uscita);
    }
    std::sort(tempi.begin(), tempi.end());
    const auto percentile = [&](double p) {
        return tempi[std::min(tempi.size() - 1,
                              static_cast<std::size_t>(p * static_cast<double>(tempi.size())))];
    };
    state.counters["p50_ms"] = percentile(0.50);
    state.counters["p95_ms"] = percentile(0.95);
}

void BM_lsp_modifica_scenario(benchmark::State& state) {
    tempi_modifica(state, testo_righe(righe_linea), testo_righe(righe_treno));
}
BENCHMARK(BM_lsp_modifica_scenario)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

void BM_lsp_modifica_linea_1000km(benchmark::State& state) {
    tempi_modifica(state, prova::testo_linea_1000km(), testo_righe(righe_treno));
}
BENCHMARK(BM_lsp_modifica_linea_1000km)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(60);

// A line description of `byte` bytes of junk lines of about `lunghezza` bytes each.
std::string documento_di_spazzatura(std::size_t byte, std::size_t lunghezza) {
    std::string t = "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n";
    for (int i = 0;; ++i) {
        std::string riga(1, 'q');
        riga += std::to_string(i % 100000);
        if (riga.size() + 2 < lunghezza) {
            riga += ',';
            riga.append(lunghezza - riga.size() - 2, 'y');
        }
        // Room left for the line end and the closing "[fine]".
        if (t.size() + riga.size() + 2 + 8 > byte)
            break;
        t += riga;
        t += "\r\n";
    }
    return t + "[fine]\r\n";
}

void memoria_documento(benchmark::State& state, std::size_t byte, std::size_t lunghezza) {
    const std::string uri = "file:///bench/Lunga_linea.txt";
    nlohmann::json apertura = {
        {"jsonrpc", "2.0"},
        {"method", "textDocument/didOpen"},
        {"params",
         {{"textDocument",
           {{"uri", uri}, {"version", 1}, {"text", documento_di_spazzatura(byte, lunghezza)}}}}}};
    std::size_t picco = 0;
    for (auto _ : state) {
        diagnosi_controlla diagnosi;
        disco_in_memoria disco;
        disco.treno = testo_righe(righe_treno);
        server_lsp server(diagnosi, disco);
        server.ricevi({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {}}});
        banco::azzera_picco();
        const auto uscita = server.ricevi(apertura);
        picco = banco::picco_dall_azzeramento();
        benchmark::DoNotOptimize(uscita);
    }
    state.counters["byte_documento"] = benchmark::Counter(
        static_cast<double>(byte), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_heap"] = benchmark::Counter(
        static_cast<double>(picco), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_su_documento"] = static_cast<double>(picco) / static_cast<double>(byte);
}

void BM_lsp_documento_16_mib_righe_corte(benchmark::State& state) {
    memoria_documento(state, std::size_t{16} << 20, 5);
}
BENCHMARK(BM_lsp_documento_16_mib_righe_corte)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_lsp_documento_16_mib_righe_lunghe(benchmark::State& state) {
    memoria_documento(state, std::size_t{16} << 20, 1000);
}
BENCHMARK(BM_lsp_documento_16_mib_righe_lunghe)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_lsp_documento_48_mib_rifiutato(benchmark::State& state) {
    memoria_documento(state, std::size_t{48} << 20, 5);
}
BENCHMARK(BM_lsp_documento_48_mib_rifiutato)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

} // namespace corvenna
