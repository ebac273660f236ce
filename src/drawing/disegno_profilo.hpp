#pragma once

// The geometry of the profile: bands stacked on one distance axis in kilometres. From the top:
// the station names; the elevation, integrated from each cell's gradient over its 50 m, as a
// filled shape; the gradient in per mille as a step line; the line's speed limit (the cells'
// speed) and the train's own limit (the line's, lowered inside each slowdown to the
// slowdown's speed) as step lines in km/h; the curves (hand and radius); a lane with the
// signals, the route signs and the relief and tunnel stretches. Stations are vertical lines across
// all bands, slowdowns shaded spans. Every coordinate is in the SVG units of the profile's box.

#include "drawing/disegno_curvatura.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_scala.hpp"
#include "drawing/disegno_sfoltimento.hpp"
#include "model/costruzione.hpp"

#include <vector>

namespace corvenna {

// A band of the profile: its top and bottom edge.
struct fascia {
    double alto = 0;
    double basso = 0;
};

// A mark on an axis: where it stands and the value it shows.
struct tacca {
    double posizione = 0;
    double valore = 0;
};

struct disegno_profilo {
    double larghezza = 0;
    double altezza = 0;
    double sinistra = 0; // the ends of the distance axis
    double destra = 0;

    fascia nomi, quota, pendenza, velocita, curvatura, elementi, asse;

    mappa_lineare x;          // route metres to x
    mappa_lineare y_quota;    // metres of elevation to y
    mappa_lineare y_pendenza; // per mille to y
    mappa_lineare y_velocita; // km/h to y

    std::vector<tacca> tacche_km;                                      // at x, in km
    std::vector<tacca> tacche_quota, tacche_pendenza, tacche_velocita; // at y

    // The elevation line, thinned; the page closes it down to the band's bottom to fill it.
    std::vector<punto> profilo_quota;
    std::vector<punto> gradini_pendenza;
    std::vector<punto> gradini_velocita_linea;
    std::vector<punto> gradini_velocita_treno;

    // The lowest, the highest and the last elevation, metres from the start's.
    double quota_minima = 0;
    double quota_massima = 0;
    double quota_finale = 0;

    std::vector<double> x_stazioni; // one per station of elementi_scenario, same order
    std::vector<double> x_segnali;  // one per signal
    std::vector<double> x_cartelli; // one per board
    struct campata {
        double x1 = 0;
        double x2 = 0;
    };
    std::vector<campata> rilievi;       // one per relief stretch
    std::vector<campata> rallentamenti; // one per slowdown
    // The curves of the plan view within the axis, and where each stands.
    std::vector<curva_disegno> curve;
    std::vector<campata> x_curve;
};

disegno_profilo disegna_profilo(const costruzione& c, const elementi_scenario& e, double larghezza);

// The elevation at each cell boundary, from 0 at metre 0, for the cells that carry a gradient
// up to the end of the axis: element i is the elevation at metre 50 i.
std::vector<double> quote_celle(const costruzione& c, const elementi_scenario& e);

} // namespace corvenna
