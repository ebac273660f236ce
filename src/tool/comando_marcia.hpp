#pragma once

// `scenario marcia (LINEA TRENO | CARTELLA) [--modello FILE|NOME]`: the dry run of the train
// over a compiled scenario (or two descriptions compiled in memory), its timetable and signal
// spacing held against it, as a text table, one JSON object or one CSV table.

#include "diagnostics/diagnostica.hpp"
#include "model/costruzione.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "running/modello_treno.hpp"
#include "tool/comando.hpp"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

struct opzioni_marcia {
    std::vector<std::filesystem::path> percorsi;
    std::string nome;
    std::string numero_treno;
    // A named model or a JSON file; empty: the model "locomotiva", said on standard error.
    std::string modello;
    std::string formato = "testo";
    std::string tabella = "tratte";
    bool profilo = false;
    std::optional<std::filesystem::path> uscita;
    bool rigoroso = false;
};

int esegui_marcia(const opzioni_marcia& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_marcia(CLI::App& app, azione_comando& azione);

// The model `--modello` names for the scenario `c`: a named model, else the JSON file at that
// path. A file that cannot be read throws errore_file; a model that is refused gives none, with
// the reason (naming the field) in `motivo`.
std::optional<modello_treno> modello_da_opzione(const std::string& valore, const costruzione& c,
                                                std::string& motivo);

// The dry run's diagnostics of a compiled pair for `controlla` and `compila`: the timetable's
// lower bound always, with the model `valore_modello` names (when not empty) the model's run and
// the signals too. A model that is refused gives none, with the reason in `motivo`.
elenco_diagnostiche diagnostiche_di_marcia(const std::string& valore_modello,
                                           const scenario_costruito& s, std::string_view linea,
                                           std::string_view treno, std::string& motivo);

} // namespace corvenna
