#pragma once

// The picture of a compiled scenario as one self-contained HTML page: a header with the
// scenario's figures, the plan, the profile on a shared distance axis, and the timetable.
// Everything is inline (SVG, CSS and a small script that only adds tooltips and highlighting):
// the page makes no request and reads well without script.

#include "model/costruzione.hpp"

#include <string>

namespace corvenna {

// The width of the drawings, in SVG units; the page scales them to the window.
inline constexpr double larghezza_disegno = 1300;
inline constexpr double altezza_planimetria = 290;

std::string pagina_disegno(const costruzione& c);

} // namespace corvenna
