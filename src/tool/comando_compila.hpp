#pragma once

// `scenario compila` and `scenario controlla`: an author's line and train descriptions, at any
// path, compiled exactly as the generator compiles its own. `compila` writes the binary files
// into a directory when the compile is clean; `controlla` only reports.

#include "tool/comando.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct opzioni_compila {
    std::filesystem::path linea;
    std::filesystem::path treno;
    std::filesystem::path cartella = ".";
    std::string nome;
    std::string numero_treno;
    bool senza_planimetria = false;
    // The driver's documents (card, slowdown order, notes) go into the set unless this is set.
    bool senza_documenti = false;
    // The author's own text for the notes: this file, or NOME_note.txt beside the train
    // description when there is one.
    std::optional<std::filesystem::path> note;
    // The margin of each section in minutes, from a model of the train's run, for the card's
    // `Rec` column (righe_scheda_compilata); blank without one.
    std::optional<std::vector<double>> margini_min;
    forma_diagnostiche forma = forma_diagnostiche::testo;
    bool avvisi_come_errori = false;
    // Warnings allowed by name (an error by default becomes a warning with the generator's
    // result, any other is not shown) and warnings made errors.
    std::vector<std::string> consentiti;
    std::vector<std::string> vietati;
    // False for `controlla`: nothing is written.
    bool scrivi = true;
    // `controlla --watch`: run again on every save of either description.
    bool sorveglia = false;
    // The train model of the dry run's checks (a named model or a JSON file); empty: only the
    // timetable's lower bound is checked.
    std::string modello;
};

// Runs the command; diagnostics go to `errori` (or, as JSON, to `uscita`) and the summary line
// to `errori`. Returns the exit status.
int esegui_compila(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_compila(CLI::App& app, azione_comando& azione);
void aggiungi_controlla(CLI::App& app, azione_comando& azione);

} // namespace corvenna
