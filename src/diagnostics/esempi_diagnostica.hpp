#pragma once

// For each kind of diagnostic (by its name in tipi_diagnostica), the smallest descriptions that
// give it and the same descriptions mended: what `scenario spiega` shows beside the kind's
// explanation. Kept apart from the table of kinds, which says what a kind is; this says how it
// looks in a description. A unit test compiles and checks every example and its mending (the
// compile, then the checking pass `scenario controlla` runs), so an example that stops giving its
// diagnostic is caught; another walks the table of kinds and names every kind without an example.
// The tool's own failures have a command line for example instead.

#include <span>
#include <string_view>

namespace corvenna {

struct esempio_diagnostica {
    // The kind's name: "cartello-occupato".
    std::string_view nome;
    // The line description and the train description that give the diagnostic, their lines
    // apart by "\n". An empty one is the smallest of its kind (the line: a 20000 m route and
    // nothing else; the train: "[generale]" alone) and is not shown.
    std::string_view linea;
    std::string_view treno;
    // How to mend it, in one sentence.
    std::string_view correzione;
    // The descriptions mended; an empty one is the same as above.
    std::string_view linea_corretta;
    std::string_view treno_corretto;
};

// For a failure of the authors' tool (a kind `dello_strumento`), which no description gives:
// the command line that gives it and the same mended.
struct esempio_strumento {
    std::string_view nome;
    std::string_view comando;
    std::string_view correzione;
    std::string_view comando_corretto;
};

// The smallest descriptions, which an empty field of an example stands for.
inline constexpr std::string_view linea_minima = "[generale]\nlunghezza percorso,  20000\n[fine]";
inline constexpr std::string_view treno_minimo = "[generale]\n[fine]";

std::span<const esempio_diagnostica> esempi_diagnostica();
// The example of the kind named `nome`; nullptr when it has none.
const esempio_diagnostica* esempio_di(std::string_view nome);

std::span<const esempio_strumento> esempi_strumento();
// The command-line example of the tool's failure named `nome`; nullptr when it has none.
const esempio_strumento* esempio_strumento_di(std::string_view nome);

} // namespace corvenna
