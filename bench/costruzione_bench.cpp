// What a run costs: the whole run, the build, the compile alone, each binary writer alone, and
// a synthetic line of 1000 km, the longest a route may be. The build benchmarks report their
// time per metre of plan view, so the two lengths compare directly, and the heap they held at
// their peak beside the bytes they wrote.

#include "contatore_memoria.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/documenti_in_cartella.hpp"
#include "support/flusso_contato.hpp"
#include "support/scenario_compilato.hpp"

#include "compiler/sorgente_descrizioni.hpp"
#include "format/nomi_file.hpp"
#include "generator/form_load.hpp"
#include "generator/memorizza_percorso.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "platform/cartella_bloccata.hpp"
#include "scenario/dati_documenti.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>
#include <string_view>

namespace corvenna {

namespace {

namespace fs = std::filesystem;

using prova::cartella_temporanea;

costruzione nuova_costruzione() {
    costruzione c;
    c.nome_scenario = "Corvenna";
    c.numero_treno = "7381";
    return c;
}

void scrivi_testo(const fs::path& destinazione, const std::string& testo) {
    std::ofstream uscita(destinazione, std::ios::binary | std::ios::trunc);
    uscita.write(testo.data(), static_cast<std::streamsize>(testo.size()));
}

std::uintmax_t dimensione_uscita(const fs::path& cartella, const costruzione& c) {
    std::uintmax_t totale = 0;
    for (const file_uscita f : {file_uscita::planimetria, file_uscita::voci, file_uscita::celle})
        totale += fs::file_size(percorso_file(cartella, c, f));
    return totale;
}

// The counters every build benchmark reports: time per metre of plan view, peak heap, and the
// peak heap as a multiple of the binary output.
void riporta_costruzione(benchmark::State& state, const costruzione& c, std::uintmax_t uscita) {
    const auto metri = static_cast<double>(c.lunghezza_totale) + 1;
    const auto picco = static_cast<double>(banco::picco_dall_azzeramento());
    state.counters["tempo_per_metro"] = benchmark::Counter(
        metri, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["picco_heap"] =
        benchmark::Counter(picco, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["uscita_binaria"] = benchmark::Counter(
        static_cast<double>(uscita), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["picco_su_uscita"] = picco / static_cast<double>(uscita);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * uscita));
}

// Writes the two description files, untimed, and runs the build into the directory.
template <typename scrivi_descrizioni>
void costruzione_in_cartella(benchmark::State& state, scrivi_descrizioni&& descrizioni) {
    const cartella_temporanea cartella;
    costruzione c = nuova_costruzione();
    banco::azzera_picco();
    for (auto _ : state) {
        state.PauseTiming();
        c = nuova_costruzione();
        descrizioni(c, cartella.percorso());
        state.ResumeTiming();
        // The directory held as a run holds it: opened, locked and flushed at the end.
        cartella_bloccata uscita(cartella.percorso());
        memorizza_percorso(c, 1, uscita);
        uscita.sincronizza();
        if (c.codice_errore != 0) {
            const std::string motivo = "the build recorded code " + std::to_string(c.codice_errore);
            state.SkipWithError(motivo.c_str());
            return;
        }
    }
    riporta_costruzione(state, c, dimensione_uscita(cartella.percorso(), c));
}

// The whole run: the five text files, the build and the three binary files.
void BM_run_intero(benchmark::State& state) {
    const cartella_temporanea cartella;
    const interfaccia_utente ui{
        .mostra_attesa = [] {},
        .errore = [](std::string_view) {},
        .segnala = [](std::string_view) {},
    };
    for (auto _ : state)
        if (Form_Load(cartella.percorso(), ui) != 0) {
            state.SkipWithError("the run did not produce a sound scenario");
            return;
        }
}
BENCHMARK(BM_run_intero)->Unit(benchmark::kMillisecond)->UseRealTime();

// The build of the scenario (compile, finishing, codes, binary files) from its descriptions.
void BM_costruzione_scenario(benchmark::State& state) {
    costruzione_in_cartella(state, [](costruzione& c, const fs::path& cartella) {
        prova::dati_linea(c, cartella);
        prova::dati_treno(c, cartella);
    });
}
BENCHMARK(BM_costruzione_scenario)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same build for a line of 1000000 m with curves along its whole length.
void BM_costruzione_linea_1000km(benchmark::State& state) {
    const std::string linea = prova::testo_linea_1000km();
    const std::string treno = testo_righe(righe_treno);
    costruzione_in_cartella(state, [&](const costruzione& c, const fs::path& cartella) {
        scrivi_testo(percorso_file(cartella, c, file_uscita::descrizione_linea), linea);
        scrivi_testo(percorso_file(cartella, c, file_uscita::descrizione_treno), treno);
    });
}
BENCHMARK(BM_costruzione_linea_1000km)->Unit(benchmark::kMillisecond)->UseRealTime();

// The build function alone (compile, finishing pass, stamp, codes), from descriptions held in
// memory.
void BM_compilazione_scenario(benchmark::State& state) {
    sorgente_memoria descrizioni;
    descrizioni.testi[descrizione::linea] = testo_righe(righe_linea);
    descrizioni.testi[descrizione::treno] = testo_righe(righe_treno);
    for (auto _ : state) {
        sorgente_memoria sorgente = descrizioni;
        costruzione c = nuova_costruzione();
        c.genera_planimetria = 1;
        if (costruisci(c, sorgente) != 0 || c.codice_errore != 0) {
            const std::string motivo =
                "the compile recorded code " + std::to_string(c.codice_errore);
            state.SkipWithError(motivo.c_str());
            return;
        }
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_compilazione_scenario)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The scenario's model, built once for the writer benchmarks.
const costruzione& modello_scenario() {
    static const costruzione modello = [] {
        sorgente_memoria sorgente;
        sorgente.testi[descrizione::linea] = testo_righe(righe_linea);
        sorgente.testi[descrizione::treno] = testo_righe(righe_treno);
        costruzione c = nuova_costruzione();
        c.genera_planimetria = 1;
        costruisci(c, sorgente);
        return c;
    }();
    return modello;
}

// One binary writer alone, replacing its file durably in a locked temporary directory.
template <void (*scrivi)(cartella_uscita&, const std::string&, const costruzione&)>
void scrittura_binaria(benchmark::State& state, file_uscita f) {
    const costruzione& c = modello_scenario();
    const cartella_temporanea cartella;
    cartella_bloccata uscita(cartella.percorso());
    const fs::path destinazione = percorso_file(cartella.percorso(), c, f);
    for (auto _ : state)
        scrivi(uscita, nome_file(c, f), c);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(destinazione)));
}

void BM_scrivi_planimetria(benchmark::State& state) {
    scrittura_binaria<scrivi_planimetria>(state, file_uscita::planimetria);
}
BENCHMARK(BM_scrivi_planimetria)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The plan view's packing alone, into a stream that drops what it gets.
void BM_codifica_planimetria(benchmark::State& state) {
    const costruzione& c = modello_scenario();
    prova::flusso_contato buffer;
    std::ostream uscita(&buffer);
    for (auto _ : state)
        scrivi_planimetria(uscita, c);
    state.SetBytesProcessed(state.iterations() * (20 * std::int64_t{c.lunghezza_totale} - 36));
}
BENCHMARK(BM_codifica_planimetria)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_scrivi_voci(benchmark::State& state) {
    scrittura_binaria<scrivi_voci>(state, file_uscita::voci);
}
BENCHMARK(BM_scrivi_voci)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_scrivi_celle(benchmark::State& state) {
    scrittura_binaria<scrivi_celle>(state, file_uscita::celle);
}
BENCHMARK(BM_scrivi_celle)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

} // namespace corvenna
