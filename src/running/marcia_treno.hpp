#pragma once

// The dry run: the train of a model driven over the line from each timed stop to the next, as
// fast as the line and the train allow, and the timetable held against it.
//
// The physics. The head is at x (route metres). The limit at x is the lowest train speed of the
// cells the train covers, from x - length to x, never above the model's top speed. The train
// accelerates at a = (F(v) - (a + b v + c v^2) - m g (i + r) / 1000) / (m (1 + rho)): full power
// up to the limit, held there while the forces allow (uphill it may fall below); it brakes at
// the constant service deceleration (the gradient not counted) before every lower limit and to
// each stop. i is the gradient of the head's cell, r the curve's resistance at the head
// (resistenza_curva_per_mille). The integration steps through metres, with a node at every
// place where the limit or the gradient changes; on each step the square of the speed changes
// linearly (Heun's rule), and the time is the step over the mean speed.
//
// The lower bound of a section needs no model: the integral of dx / v(x), v the speed of the
// cell under x, a point train with no acceleration and no braking. No train is faster.

#include "running/linea_marcia.hpp"
#include "running/modello_treno.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

// The step of the run, in metres: halving it changes no section's time by 0.1 s (a test holds
// it to that).
inline constexpr double passo_marcia_m = 10;

// One section between two timed stops.
struct tratta_marcia {
    int voce_da = 0;
    int voce_a = 0;
    std::string da; // Windows-1252, as the items hold them
    std::string a;
    std::int64_t da_metro = 0;
    std::int64_t a_metro = 0;
    std::int64_t partenza_s = 0; // seconds since midnight
    std::int64_t arrivo_s = 0;
    double orario_s = 0; // arrival minus departure
    double limite_s = 0; // the lower bound
    // With a model: the dry run's time, the margin (scheduled minus it) and the margin over it.
    std::optional<double> minimo_s;
    double margine_s = 0;
    double margine_percento = 0;
};

// One point of the dry run's speed profile.
struct punto_profilo {
    double metro = 0;
    double velocita_kmh = 0;
    // Running time since the first departure, the scheduled stops' dwell included.
    double tempo_s = 0;
};

// The braking check of a distant signal: d = v t_r + v^2 / (2 (a_e + g i_m / 1000)), v the
// train speed at the distant signal (never above the top speed), i_m the mean gradient of the
// cells between the signals.
struct segnale_marcia {
    std::int32_t cella_avviso = 0;
    std::int64_t avviso_metro = 0;
    std::int64_t principale_metro = 0;
    double velocita_kmh = 0;
    double pendenza_media_per_mille = 0;
    double frenatura_m = 0;
    double disponibile_m = 0;
    double margine_m = 0;
};

struct totale_marcia {
    double orario_s = 0;
    double minimo_s = 0;
    double limite_s = 0;
    double margine_s = 0;
    double margine_percento = 0;
};

struct esito_marcia {
    modello_treno modello;
    double frenatura_emergenza_ms2 = 0;
    std::vector<tratta_marcia> tratte;
    totale_marcia totale;
    std::vector<segnale_marcia> segnali;
    // Every 10 m from the first stop to the last.
    std::vector<punto_profilo> profilo;
};

// The sections of the timetable with their scheduled times and lower bounds, without a model.
std::vector<tratta_marcia> tratte_orario(const linea_marcia& l);

// The lower bound over [da, a], in seconds.
double limite_inferiore_s(const linea_marcia& l, double da_metro, double a_metro);

// The time the model needs from a stop at `da_metro` to a stop at `a_metro`; with `profilo`,
// the points every 10 m are added to it, their times counted from `tempo_iniziale_s`.
double tempo_minimo_s(const linea_marcia& l, const modello_treno& m, double da_metro,
                      double a_metro, double passo_m = passo_marcia_m,
                      std::vector<punto_profilo>* profilo = nullptr, double tempo_iniziale_s = 0);

// The braking check of every distant signal that has a main signal after it.
std::vector<segnale_marcia> frenature_segnali(const linea_marcia& l, const modello_treno& m,
                                              double frenatura_emergenza_ms2);

// The whole dry run of a scenario.
esito_marcia marcia(const costruzione& c, const modello_treno& m, double passo_m = passo_marcia_m);
// The same over a line already read, with the emergency deceleration to use.
esito_marcia marcia_linea(const linea_marcia& l, const modello_treno& m,
                          double frenatura_emergenza_ms2, double passo_m = passo_marcia_m);

// The sections of a compiled scenario with the model's minimum and margin: the plain table the
// driver's documents read their margins from.
std::vector<tratta_marcia> tratte_con_margini(const costruzione& c, const modello_treno& m);

// The margin below which a section is short: 3 %, UIC 451-1's lowest supplement.
inline constexpr double margine_minimo_percento = 3;

} // namespace corvenna
