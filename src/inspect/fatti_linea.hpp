#pragma once

// The facts of a compiled line that the driver's documents state and ispeziona shows: the
// stations in running order with their kilometre and times, the changes of speed, the
// slowdowns, the tunnels, the curves, the steepest grade and the signals. One computation, read
// from the stretches ispeziona answers with (ispeziona_tratti) and the curves of the plan view,
// so that the card, the slowdown order, the notes and ispeziona never tell different stories.

#include "input/chilometri_guida.hpp"
#include "inspect/ispezione_tratti.hpp"
#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct stazione_linea {
    int voce = 0;
    std::string nome; // UTF-8, as ispeziona shows it
    std::int64_t metro = 0;
    double progressiva_m = 0; // the driver's reading at the station
    bool fermata = false;     // has a stop cell
    // Seconds since midnight of the train description's time; none where it gives 0:00:00.
    std::optional<std::int64_t> orario_s;
    int sosta_s = 0; // the dwell
    // The platform, from its start to its end.
    std::int64_t marciapiede_da_metro = 0;
    std::int64_t marciapiede_a_metro = 0;
};

// From `metro` on, the line's limit and the speed that binds the train (the line's limit
// lowered by the slowdowns), in km/h.
struct cambio_velocita {
    std::int64_t metro = 0;
    int linea_kmh = 0;
    int treno_kmh = 0;
};

struct rallentamento_linea {
    std::int64_t da_metro = 0;
    std::int64_t a_metro = 0;
    int velocita_kmh = 0;
};

struct galleria_linea {
    std::int64_t da_metro = 0;
    std::int64_t a_metro = 0;
};

struct fatti_linea {
    std::vector<sistema_progressiva> sistemi;
    std::int64_t lunghezza_percorso = 0;
    std::vector<stazione_linea> stazioni;  // by metre
    std::vector<cambio_velocita> velocita; // the first at metre 0, then each change
    std::vector<rallentamento_linea> rallentamenti;
    std::vector<galleria_linea> gallerie;
    std::vector<curva_ispezione> curve; // empty without a plan view
    bool ha_planimetria = false;
    // The steepest grade within the route, by its size, and the first metre it holds.
    int pendenza_massima_per_mille = 0;
    std::int64_t metro_pendenza_massima = 0;
    int segnali_avviso = 0;
    int segnali_principali = 0;
    int segnali_altri = 0;
    // The braked-mass percentage and the number of coaches the train description gives.
    int massa_frenata_percento = 0;
    int vetture = 0;
};

// The facts as `i`, the stretches of `c`, gives them.
fatti_linea fatti_di(const costruzione& c, const ispezione& i);
fatti_linea fatti_di(const costruzione& c);

} // namespace corvenna
