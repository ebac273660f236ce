#pragma once

// The texts a reader gets when pointing at a feature of the drawing: what it is, where it
// stands (route position and kilometric reading) and its values. Plain UTF-8, lines separated
// by "\n"; the page escapes them.

#include "drawing/disegno_elementi.hpp"

#include <string>

namespace corvenna {

std::string descrizione_stazione(const elementi_scenario& e, const stazione_disegno& s);
std::string descrizione_segnale(const elementi_scenario& e, const segnale_disegno& s);
std::string descrizione_cartello(const elementi_scenario& e, const cartello_disegno& b);
std::string descrizione_rilievo(const tratto_disegno& r);
std::string descrizione_rallentamento(const rallentamento_disegno& r);

// A route sign's lettering on one line: its parenthesised groups joined by " / ", each without
// its parentheses and outer blanks.
std::string scritta_cartello(std::string_view testo);

// Where a point stands: "km 42,300 · progressiva 40+800".
std::string luogo(const elementi_scenario& e, double metro);

} // namespace corvenna
