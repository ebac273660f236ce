#pragma once

// The SVG text of the plan and of the profile, from their geometry. Every feature is one
// element with the class of its kind ("stazione", "segnale", "cartello", "galleria", ...), the
// class "marcatore", its route position in `data-km` and a <title> that says what it is: the
// browser shows the title on its own, and the page's script turns it into its tooltip.
//
// For the page's zoom, what stretches with the distance axis (lines, stretches) sits in a group
// of class "scala-x" the script scales; a marker that keeps its size has the class
// "spostabile" and is moved to its `data-km`; every label that may give way to another has the
// class "etichetta" and a `data-priorita` (higher first).

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_origini.hpp"
#include "drawing/disegno_planimetria.hpp"
#include "drawing/disegno_profilo.hpp"
#include "drawing/disegno_segnali.hpp"

#include <string>

namespace corvenna {

void scrivi_svg_planimetria(std::string& uscita, const disegno_planimetria& d,
                            const elementi_scenario& e, const origini_disegno* origini = nullptr);

void scrivi_svg_profilo(std::string& uscita, const disegno_profilo& d, const elementi_scenario& e,
                        const origini_disegno* origini = nullptr);

// The symbol of a signal of kind `tipo` centred on (x, y): a distant signal is a yellow
// diamond, a main signal a red disc, any other a grey square.
void simbolo_segnale(std::string& uscita, tipo_segnale tipo, double x, double y);

// "x1,y1 x2,y2 ...", for the points attribute of a polyline.
void aggiungi_punti(std::string& uscita, const std::vector<punto>& punti);

} // namespace corvenna
