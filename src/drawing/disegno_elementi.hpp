#pragma once

// What the drawing of a scenario shows, taken from the model as the compiled files hold it:
// the stations, signals, boards, relief and tunnel stretches, slowdowns and kilometric systems,
// each with its position in metres along the route. Any model is accepted, also one read from
// damaged or foreign files: values that point outside the arrays are left out, never followed.

#include "input/chilometri_guida.hpp"
#include "input/velocita_effettiva.hpp"
#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct stazione_disegno {
    int voce = 0;     // item number
    std::string nome; // UTF-8
    std::int32_t posizione = 0;
    std::int32_t inizio = 0; // platform
    std::int32_t fine = 0;
    int tipo = 0;
    std::int32_t orario = 0; // seconds since midnight; 0 when the line gives no time
    // The stop cell that names this station; none for the kinds the train passes through.
    std::optional<std::int32_t> cella_fermata;
};

struct segnale_disegno {
    std::int32_t cella = 0;
    std::int64_t metro = 0;
    std::int16_t dato1 = 0, dato2 = 0, dato3 = 0, dato4 = 0;
    std::uint8_t tempo = 0;
};

enum class tipo_cartello { velocita, indicatore };

struct cartello_disegno {
    tipo_cartello tipo = tipo_cartello::velocita;
    std::int32_t cella = 0;
    std::int64_t metro = 0;
    // Speed boards: the three speeds of each of the two sets the board line gives (vas, vbs,
    // vcs and vad, vbd, vcd), in km/h, and the stripes of each set.
    int velocita_s[3] = {0, 0, 0};
    int velocita_d[3] = {0, 0, 0};
    int strisce_s = 0;
    int strisce_d = 0;
    // Route signs: the item that holds the lettering, and the lettering in UTF-8.
    int voce = 0;
    std::string testo;
};

// A stretch of cells [inizio, fine) in metres.
struct tratto_disegno {
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
    int tipo = 0;          // relief type
    bool galleria = false; // the stretch holds tunnel markers
};

struct elementi_scenario {
    std::string nome_scenario; // UTF-8
    std::string numero_treno;
    // The route length, and the end of the distance axis: the route, or further when a
    // feature stands beyond it.
    std::int64_t lunghezza_percorso = 0;
    std::int64_t fine_asse = 0;
    // Cells that carry line properties (speed, gradient): all but the last three.
    std::int32_t celle_con_proprieta = 0;
    std::vector<stazione_disegno> stazioni;
    std::vector<segnale_disegno> segnali;
    std::vector<cartello_disegno> cartelli;
    std::vector<tratto_disegno> rilievi; // relief stretches, tunnels included
    // The slowdowns and the kilometric systems as the input layer reads them from the cells
    // and the items (rallentamenti_celle, sistemi_progressiva).
    std::vector<rallentamento_celle> rallentamenti;
    std::vector<sistema_progressiva> sistemi;
};

elementi_scenario estrai_elementi(const costruzione& c);

} // namespace corvenna
