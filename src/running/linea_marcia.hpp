#pragma once

// The line as the dry run reads it from a compiled scenario: the train speed and the gradient of
// each 50 m cell, the curve resistance at each metre, the timed stops and the signal pairs. The
// speeds are the ones ispeziona answers with (velocita_effettiva_celle), the stop metres the
// ones it reports (the stop cell's metre), so the three commands agree.

#include "model/costruzione.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace corvenna {

// A station with a time and a stop cell: the head stops at `metro`. The first station's time
// is its departure; each later one's is its arrival, and it leaves `b5` seconds later when `b5`
// is above 1.
struct fermata_marcia {
    int voce = 0;
    std::string nome; // Windows-1252, as the item holds it
    std::int64_t metro = 0;
    std::int64_t arrivo_s = 0;
    std::int64_t partenza_s = 0;
};

// A distant signal and the main signal after it, at the metres the author wrote.
struct coppia_segnali {
    std::int32_t cella_avviso = 0; // the cell that stores the distant signal
    std::int64_t avviso_metro = 0;
    std::int64_t principale_metro = 0;
};

struct linea_marcia {
    // Per cell: the train speed (the cell's own, slowdowns included), never below 5 km/h, the
    // lowest a cell holds; and the gradient in per mille, uphill positive.
    std::vector<int> velocita_kmh;
    std::vector<double> pendenza_per_mille;
    std::vector<fermata_marcia> fermate;
    std::vector<coppia_segnali> segnali;
    // The scenario, for its plan view.
    const costruzione* c = nullptr;
};

linea_marcia linea_di_marcia(const costruzione& c);

// The radius of the track at metre `metro` from the plan view: the turn between the steps into
// and out of the metre; none (0) on straight track, at the ends and without a plan view.
double raggio_al_metro(const costruzione& c, std::int64_t metro);

// The curve's resistance as an equivalent gradient in per mille (Roeckl): 650 / (R - 55) from
// 300 m up, 500 / (R - 30) below; 0 for straight track (R 0).
double resistenza_curva_per_mille(double raggio_m);

} // namespace corvenna
