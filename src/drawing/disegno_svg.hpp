#pragma once

// The SVG text of the plan and of the profile, from their geometry. Every feature is one
// element with the class of its kind ("stazione", "segnale", "cartello", "galleria", ...), the
// class "marcatore", its route position in `data-km` and a <title> that says what it is: the
// browser shows the title on its own, and the page's script turns it into its tooltip.

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_planimetria.hpp"
#include "drawing/disegno_profilo.hpp"

#include <string>

namespace corvenna {

void scrivi_svg_planimetria(std::string& uscita, const disegno_planimetria& d,
                            const elementi_scenario& e);

void scrivi_svg_profilo(std::string& uscita, const disegno_profilo& d, const elementi_scenario& e);

// "x1,y1 x2,y2 ...", for the points attribute of a polyline.
void aggiungi_punti(std::string& uscita, const std::vector<punto>& punti);

} // namespace corvenna
