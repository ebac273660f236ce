#pragma once

// A train as the dry run sees it: its mass and length, the forces that move and hold it back,
// its top speed and its braking. Read from a JSON file (docs/schemi/marcia_modello.schema.json)
// or taken from the few named models, whose figures docs/marcia.md gives.

#include "model/costruzione.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// One point of the traction curve: the force at the rim at a speed.
struct punto_trazione {
    double velocita_kmh = 0;
    double forza_kN = 0;
    friend bool operator==(const punto_trazione&, const punto_trazione&) = default;
};

struct modello_treno {
    // The name it was given or read under; empty for a file without "nome".
    std::string nome;
    double massa_t = 0;
    double lunghezza_m = 0;
    // Share of the mass added for the rotating parts.
    double masse_rotanti = 0;
    // Running resistance a + b v + c v^2, v in m/s, in newtons.
    double davis_a_N = 0;
    double davis_b_N_s_m = 0;
    double davis_c_N_s2_m2 = 0;
    // By increasing speed; linear between points, flat past the last.
    std::vector<punto_trazione> trazione;
    double velocita_massima_kmh = 0;
    // The constant deceleration of the timetable run.
    double frenatura_servizio_ms2 = 0;
    // None: from the train's braked-mass percentage (frenatura_emergenza_da_lambda).
    std::optional<double> frenatura_emergenza_ms2;
    double tempo_reazione_s = 3;

    friend bool operator==(const modello_treno&, const modello_treno&) = default;
};

// The emergency deceleration of a train with braked-mass percentage `lambda`:
// 0.0075 lambda + 0.076 m/s^2.
double frenatura_emergenza_da_lambda(double lambda);

// The emergency deceleration the model gives, or the one of the scenario's braked-mass
// percentage (the train description's "percentuale massa frenata").
double frenatura_emergenza(const modello_treno& m, const costruzione& c);

// The traction force at `velocita_ms`, in newtons.
double forza_trazione_N(const modello_treno& m, double velocita_ms);

// A model read from JSON text, or why it cannot be: the message names the field ("massa_t deve
// essere un numero maggiore di 0").
struct modello_letto {
    std::optional<modello_treno> modello;
    std::string errore;
};
modello_letto leggi_modello_treno(std::string_view testo_json);

// The model as the JSON file would give it (every field written, the emergency deceleration
// only when the model sets it).
std::string modello_in_json(const modello_treno& m);

// The named models: "locomotiva" (a locomotive and the scenario's number of coaches, from the
// train description's "numero vetture"), "regionale" (a multiple unit), "merci".
std::vector<std::string_view> nomi_modelli();
std::optional<modello_treno> modello_di_nome(std::string_view nome, const costruzione& c);

// The model a run assumes when none is given: "locomotiva".
modello_treno modello_predefinito(const costruzione& c);

} // namespace corvenna
