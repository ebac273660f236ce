#pragma once

// Finding and reading a compiled scenario named on the command line: a directory, where the
// files are found by the naming table, or the files themselves. Shared by the commands that
// show a compiled scenario.

#include "inspect/ispezione_tratti.hpp"
#include "model/costruzione.hpp"
#include "pipeline/costruisci_scenario.hpp"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvenna {

// The files of one compiled scenario. A scenario compiled without a plan view has none.
struct file_scenario {
    std::filesystem::path voci;
    std::filesystem::path celle;
    std::optional<std::filesystem::path> planimetria;
};

// The command line names no single scenario: several in a directory and no identity, or files
// that are not one scenario's. The message says what to give instead; the exit status is that
// of a command line not understood.
class errore_scelta_scenario : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The files of the scenario in `cartella`: those the naming table gives for `identita`, or,
// without one, those of the only item file (NOME_NUMERO.sim) there, with the plan view
// NOME_linea.dat beside it. A plan-view file that does not exist is left out. Throws
// errore_file when `cartella` holds no item file, errore_scelta_scenario when it holds several
// and no identity says which.
file_scenario trova_file_scenario(const std::filesystem::path& cartella,
                                  const std::optional<identita_scenario>& identita);

// The scenario the command line's operands name: one directory (trova_file_scenario), or the
// files themselves by their endings: one item file (.sim), one cell file (.dat) and at most one
// plan-view file (_linea.dat). An identity goes with a directory only. Throws
// errore_scelta_scenario otherwise.
file_scenario file_indicati(const std::vector<std::filesystem::path>& percorsi,
                            const std::optional<identita_scenario>& identita);

struct scenario_caricato {
    costruzione c;
    // The files read.
    file_scenario file;
    // Compiled from descriptions: the description line that placed each cell's feature, and
    // each curve's line.
    fonti_celle fonti;
    fonti_curve curve;
};

// True when the operands are two description files (*.txt) rather than a compiled scenario.
bool sono_descrizioni(const std::vector<std::filesystem::path>& percorsi);

// The scenario two descriptions compile to, in memory, as `compila` would write it, with the
// description line of each cell's feature (file named as given). The identity comes from the
// file names or from `nome` / `numero_treno` (which win when given). A compile that fails
// prints its diagnostics on `errori` and gives none; errore_scelta_scenario when no identity
// can be had; errore_file when a file cannot be read.
std::optional<scenario_caricato>
carica_descrizioni(const std::filesystem::path& linea, const std::filesystem::path& treno,
                   const std::string& nome, const std::string& numero_treno, std::ostream& errori);

// The files the operands and the --nome / --treno options of a command name: both options or
// neither, and an identity that can name files (identita_non_valida). Throws
// errore_scelta_scenario as file_indicati does, or with the reason the identity is refused.
file_scenario file_da_opzioni(const std::vector<std::filesystem::path>& percorsi,
                              const std::string& nome, const std::string& numero_treno);

// The files of `file`, item file first, as a list.
std::vector<std::filesystem::path> file_letti(const file_scenario& file);

// Reads the files and checks them, item file first. Throws errore_lettura for a damaged or
// foreign file (a directory in its place included), errore_file for one that cannot be opened
// or read or is not a regular file (a FIFO, a device, a socket: refused at once, never waited
// on). A file is never read beyond the most bytes its kind can hold, plus one.
scenario_caricato carica_scenario(const file_scenario& file);

} // namespace corvenna
