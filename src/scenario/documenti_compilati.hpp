#pragma once

// The driver's three documents for a compiled scenario, the card, the slowdown order and the
// notes, on the forms of the built-in ones (the same frames, columns and number of lines a
// page; a page that cannot hold every row is followed by a continuation page of the same form),
// built from the facts of the line (fatti_linea) that ispeziona shows. Each is a table of
// lines, UTF-8, as scrivi_righe writes them.

#include "base/cartella_uscita.hpp"
#include "inspect/fatti_linea.hpp"

#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct costruzione;

// The train card. The heading gives the train's number, the first and the last station and the
// braked-mass percentage; a row per station in running order, with the driver's kilometre, the
// name and the time (arrival, and " - " departure where the dwell ends in a later minute), and
// a row at each change of speed between stations; the line's speed and the train's stand
// where they change.
//
// `margini_min`: the margin of each section in minutes, from a model of the train's run;
// element k belongs to the section that ends at the (k + 2)-th station with a time. Without
// it the `Rec` column is blank; an element it lacks leaves its row blank too.
std::vector<std::string>
righe_scheda_compilata(const fatti_linea& f, const std::string& numero_treno,
                       const std::optional<std::vector<double>>& margini_min);

// The slowdown order: a numbered row per slowdown, with the stations it lies between (or the
// station whose platform holds it), the driver's kilometre where it begins, its speed and its
// length; contiguous slowdowns carry the form's letter D.
std::vector<std::string> righe_ordine_compilato(const fatti_linea& f,
                                                const std::string& numero_treno);

// The notes: the facts of the line in words, followed by `note_autore` (lines, UTF-8) as
// written.
std::vector<std::string> righe_note_compilate(const fatti_linea& f,
                                              const std::vector<std::string>& note_autore);

struct opzioni_documenti {
    std::optional<std::vector<double>> margini_min;
    std::vector<std::string> note_autore;
};

// The three documents of `c`, each replacing the file the scenario's identity names in
// `cartella` (durably), card first. Throws errore_file, naming the file, for a character that
// has no byte in Windows-1252, before that file is touched.
void scrivi_documenti_compilati(cartella_uscita& cartella, const costruzione& c,
                                const fatti_linea& f, const opzioni_documenti& o);

} // namespace corvenna
