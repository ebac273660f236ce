#pragma once

// The picture of a compiled scenario as one self-contained HTML page: a header with the
// scenario's figures, the plan, the profile on a shared distance axis, and the timetable.
// Everything is inline (SVG, CSS and a small script for tooltips, highlighting and zoom): the
// page makes no request and reads well without script, at its full extent.
//
// The script zooms and pans the plan and the profile together over a range of route
// kilometres: the mouse wheel and a drag, the keys + - and the arrows, and the fragment
// "#km=40-50" of the page's address, which it keeps up to date. At every zoom it thins the
// labels so that none covers another: a label gives way to those of higher priority (station
// names first), and a station name in the profile first tries three rows above its own.

#include "drawing/disegno_origini.hpp"
#include "model/costruzione.hpp"
#include "running/marcia_treno.hpp"

#include <optional>
#include <string>

namespace corvenna {

// The width of the drawings, in SVG units; the page scales them to the window.
inline constexpr double larghezza_disegno = 1300;
inline constexpr double altezza_planimetria = 290;

struct opzioni_pagina {
    // The description lines of the features, when the page is drawn from descriptions.
    const origini_disegno* origini = nullptr;
    // The range of route metres the page opens on, clipped to the route; the whole route when
    // absent. The page's fragment, when it has one, wins, clipped the same way.
    std::optional<double> da_metro;
    std::optional<double> a_metro;
    // The dry run of a train model, drawn after the profile when given.
    const esito_marcia* marcia = nullptr;
};

// The range of route metres a page opens on.
struct vista_pagina {
    double da_metro = 0;
    double a_metro = 0;
};

// The range asked in `opzioni`, clipped to the route's axis (from its origin to its end), or
// the whole axis when none is asked; std::nullopt when the range lies wholly past the axis's
// end, which `fine_vista_metri` gives.
std::optional<vista_pagina> vista_iniziale(const costruzione& c, const opzioni_pagina& opzioni);
double fine_vista_metri(const costruzione& c);

std::string pagina_disegno(const costruzione& c, const opzioni_pagina& opzioni = {});

} // namespace corvenna
