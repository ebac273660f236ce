#pragma once

// The texts a reader gets when pointing at a feature of the drawing: what it is, where it
// stands (route position and kilometric reading) and its values. Plain UTF-8, lines separated
// by "\n"; the page escapes them. Each says the feature in the driver's terms (kinds and aspects
// by name, speeds in km/h, places in km), never the packed values of its cell; when the
// description line that placed it is known, the last line names it.

#include "drawing/disegno_curvatura.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_origini.hpp"

#include <optional>
#include <string>

namespace corvenna {

using origine = std::optional<riga_origine>;

std::string descrizione_stazione(const elementi_scenario& e, const stazione_disegno& s,
                                 const origine& o = std::nullopt);
std::string descrizione_segnale(const elementi_scenario& e, const segnale_disegno& s,
                                const origine& o = std::nullopt);
std::string descrizione_cartello(const elementi_scenario& e, const cartello_disegno& b,
                                 const origine& o = std::nullopt);
std::string descrizione_rilievo(const tratto_disegno& r, const origine& o = std::nullopt);
std::string descrizione_rallentamento(const rallentamento_celle& r,
                                      const origine& o = std::nullopt);
std::string descrizione_curva(const elementi_scenario& e, const curva_disegno& k,
                              const origine& o = std::nullopt);

// The short label of a curve: "d R 1000" (right), "s R 500" (left).
std::string sigla_curva(const curva_disegno& k);

// Where a point stands: "km 42,300 · progressiva 40+800".
std::string luogo(const elementi_scenario& e, double metro);

} // namespace corvenna
