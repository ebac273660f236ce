#pragma once

// The geometry of the plan: the plan view drawn to scale (equal scale on both axes) inside a
// box of the page, turned so that the line fills the box (a line that runs along the plan
// view's y axis lies along the page, from left to right), with the track thinned to what a screen
// can show, the tunnels, the stations, the signals, the kilometre posts and a scale bar. Everything
// is in the SVG units of the box; `trasformazione` turns metres into them.

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_etichette.hpp"
#include "drawing/disegno_sfoltimento.hpp"
#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

// Metres to SVG units: the plan view turned by `rotazione` (counterclockwise, so that the line
// fills the box), then x to the right, y up (the SVG's y grows downward).
struct trasformazione_piano {
    double scala = 1; // SVG units per metre
    double x0 = 0;    // SVG position of the metre origin
    double y0 = 0;
    double coseno = 1; // of the rotation
    double seno = 0;

    // A direction of the plan view, turned as the drawing turns it (still y up).
    punto ruota(punto m) const { return {coseno * m.x - seno * m.y, seno * m.x + coseno * m.y}; }
    punto in_svg(punto m) const {
        const punto r = ruota(m);
        return {x0 + r.x * scala, y0 - r.y * scala};
    }
    // The rotation in degrees, counterclockwise.
    double gradi() const;
};

struct estensione_piano {
    double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};

struct marcatore_piano {
    punto posizione; // SVG units
    // Unit vector (SVG units) square to the track, on the side away from the drawing's middle.
    punto normale;
    int indice = 0; // into the list of elementi_scenario it comes from
    etichetta_piano etichetta;
};

struct cippo_piano {
    punto posizione; // SVG units
    punto normale;
    double chilometro = 0;     // the kilometric reading, km
    double metro = 0;          // route position
    etichetta_piano etichetta; // hidden where it would cover a station's name
};

// Sizes of the plan's texts and dots, which the labels keep clear of.
inline constexpr double dimensione_nome_stazione = 10.5;
inline constexpr double dimensione_cippo = 9;
inline constexpr double raggio_stazione = 4;
inline constexpr double raggio_segnale = 2.6;

struct galleria_piano {
    int indice = 0; // into the relief stretches of elementi_scenario
    std::vector<punto> punti;
};

struct disegno_planimetria {
    bool presente = false; // false when the scenario has no plan view
    double larghezza = 0;
    double altezza = 0;
    estensione_piano estensione;   // of every metre the plan view holds, in metres, unturned
    std::int64_t ultimo_metro = 0; // the last metre the plan view holds
    trasformazione_piano trasformazione;
    // How far the thinning may move the track, in metres: below a pixel at the full view, and
    // at most 2 m, so that a view zoomed to a few hundred metres still shows the track true.
    double tolleranza = 0;

    // The track, thinned: from metre 0 to the route's end, and on to the plan view's last
    // metre; one polyline per tunnel.
    std::vector<punto> percorso;
    std::vector<punto> oltre;
    std::vector<galleria_piano> gallerie;

    std::vector<marcatore_piano> stazioni;
    std::vector<marcatore_piano> segnali;
    std::vector<cippo_piano> cippi;

    // The box of the track's points of each kilometre of route, in SVG units: the page's zoom
    // fits a range of kilometres to the box by them.
    std::vector<riquadro> riquadri_km;

    double barra_metri = 0; // the scale bar: its length in metres and in SVG units
    double barra_svg = 0;
};

disegno_planimetria disegna_planimetria(const costruzione& c, const elementi_scenario& e,
                                        double larghezza, double altezza);

// The plan-view point of a metre, when the plan view holds it.
std::optional<punto> punto_planimetria(const costruzione& c, std::int64_t metro);

} // namespace corvenna
