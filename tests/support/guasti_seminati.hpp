#pragma once

// Faults seeded into the built-in scenario's descriptions, to measure the checking pass: each
// file gets 1 to 5 independent faults of the kinds authors make (a wrapped gradient, a feature
// past the route's end, a curve keyword read by its letters, a misspelt keyword, a time going
// backwards, a short row, a semicolon as separator, a comment with a comma, ...), at rows drawn
// from a fixed seed, each with the line, column and name the pass must report.

#include "base/descrizione.hpp"
#include "model/identita_scenario.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace corvenna::prova {

struct guasto_seminato {
    descrizione file = descrizione::linea;
    int riga = 0;
    int colonna = 0;
    std::string nome;
    // How many rows from `riga` on the fault reaches: 2 for a row whose values the compile
    // takes from the next row, where the compile's own error then stands.
    int righe_toccate = 1;
};

struct descrizioni_seminate {
    std::string linea;
    std::string treno;
    std::vector<guasto_seminato> guasti;
};

// The descriptions faults are seeded into: their rows, identity and route length.
struct base_semina {
    std::vector<std::string> linea;
    std::vector<std::string> treno;
    identita_scenario identita;
    std::int32_t lunghezza = 0;
};

// The built-in scenario, and the small pair of the system tests' fixtures (tests/system/dati).
const base_semina& base_incorporata();
const base_semina& base_di_prova();

// `base` with `numero` faults (1 to 5), drawn from `seme`.
descrizioni_seminate semina_guasti(std::uint32_t seme, int numero, const base_semina& base);

struct misura_controllo {
    int file = 0;
    int guasti = 0;
    // Seeded faults reported at their exact line and column, with their name.
    int trovati = 0;
    int diagnostiche = 0;
    // Diagnostics on no row a seeded fault reaches.
    int estranee = 0;
    // Files whose compile recorded an error, and those where that first error (code, line,
    // column, metres) is among the reported diagnostics.
    int con_errore = 0;
    int primo_errore_presente = 0;
};

// Checks `numero_file` seeded files (1 to 5 faults each, seeds from `seme`; every other file from
// the fixture pair) as `controlla` does, with the one marker overlap of the built-in scenario
// allowed by name.
misura_controllo misura_guasti(int numero_file, std::uint32_t seme);

} // namespace corvenna::prova
