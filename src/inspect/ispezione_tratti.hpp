#pragma once

// A compiled scenario as an author asks about it: for each 50 m stretch of the route (one cell),
// what binds the train there and what stands there, in words and units, each feature at the
// metre the author wrote and with the kilometre the driver reads on the boards.
//
// Where things stand. A cell covers metres 50 k to 50 k + 50 and carries that stretch's line
// properties (speed, gradient, adhesion, relief). A point feature written at metre p is stored
// on the cell p / 50 + 1; it is shown in the stretch that holds p, at p. A station stands at its
// position; its stop point, on the cell before the platform end, is shown as its own feature.

#include "input/chilometri_guida.hpp"
#include "input/curve_planimetria.hpp"
#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace corvenna {

// The description line that placed a feature, when the scenario was compiled from descriptions.
struct fonte_riga {
    std::string file;
    int riga = 0;
    friend bool operator==(const fonte_riga&, const fonte_riga&) = default;
};

// One decoded value of a feature: a name that says what it is (with its unit) and a number or a
// text.
using valore_elemento = std::variant<std::int64_t, std::string>;
using valori_elemento = std::vector<std::pair<std::string, valore_elemento>>;

struct elemento_tratto {
    // What it is: "segnale", "stazione", "fermata", "cartello_velocita", "cartello",
    // "inizio_rallentamento", "fine_rallentamento", "avviso_rallentamento",
    // "preavviso_rallentamento", "marcatore_galleria", "abbattimento", or "tipo_N" for a kind
    // the build never puts.
    std::string cosa;
    std::int64_t metro = 0;
    std::int32_t cella = 0;  // the cell that stores it
    std::string descrizione; // in words, UTF-8, controls shown as "\x1b"
    valori_elemento valori;
    std::optional<fonte_riga> fonte;
    // A station's item number; 0 for cell features.
    int voce = 0;
};

struct cartello_in_vigore {
    std::int64_t metro = 0;
    int prima_serie_kmh[3] = {0, 0, 0}; // ranks A, B, C
    int seconda_serie_kmh[3] = {0, 0, 0};
};

struct tratto_ispezione {
    std::int32_t cella = 0;
    std::int64_t da_metro = 0;
    std::int64_t a_metro = 0;
    double progressiva_m = 0; // the driver's reading at da_metro
    int velocita_treno_kmh = 0;
    int velocita_linea_kmh = 0;
    std::optional<int> rallentamento_kmh; // the slowest slowdown over the stretch
    std::optional<cartello_in_vigore> cartello_velocita;
    int pendenza_per_mille = 0;
    int aderenza = 0;
    int rilievo = 0; // relief type, 0 for none
    bool galleria = false;
    std::vector<elemento_tratto> elementi;
};

// The source rows by cell: which description line placed the kind of each cell (file shown as
// the user named it). Empty when the scenario was read from compiled files.
using fonti_celle = std::vector<std::optional<fonte_riga>>;

// A curve of the plan view, with the description line that wrote it when the scenario was
// compiled from descriptions and a curve line gives its start.
struct curva_ispezione : curva_planimetria {
    std::optional<fonte_riga> fonte;
};

// The description line of each curve, by the start metre its line gives.
using fonti_curve = std::vector<std::pair<std::int64_t, fonte_riga>>;

struct ispezione {
    std::vector<sistema_progressiva> sistemi;
    std::int64_t lunghezza_percorso = 0;
    std::vector<tratto_ispezione> tratti; // one per cell
    // The curves within the route, in route order, once aggiungi_curve has read them; none
    // without a plan view.
    bool ha_planimetria = false;
    std::vector<curva_ispezione> curve;
};

ispezione ispeziona_tratti(const costruzione& c, const fonti_celle& fonti = {});

// Reads the curves of `c`'s plan view into `i`. Apart from ispeziona_tratti, since it walks the
// plan view metre by metre, which the answers about a stretch do not need.
void aggiungi_curve(ispezione& i, const costruzione& c, const fonti_curve& fonti = {});

// The curves that hold part of the stretch, by index into `curve`.
std::vector<std::size_t> curve_del_tratto(const ispezione& i, const tratto_ispezione& t);

// A curve in words: "curva a destra di raggio 1000 m (classe 4) da 700 a 1650 m (km ...)".
std::string testo_curva(const curva_ispezione& c, const std::vector<sistema_progressiva>& s);

// The stretches for a query, by index into `tratti`: the one holding a metre (none beyond the
// cells), and those from the one holding `da` to the one holding `a`.
std::optional<std::size_t> tratto_al_metro(const ispezione& i, double metro);
std::vector<std::size_t> tratti_tra(const ispezione& i, double da, double a);

// One line of text for a stretch, without line end; with `i`, the curves that hold part of it.
std::string riga_tratto(const tratto_ispezione& t, const std::vector<sistema_progressiva>& s);
std::string riga_tratto(const ispezione& i, const tratto_ispezione& t);

// "100/105/105": a set of the three ranks' speeds.
std::string serie_kmh(const int (&serie)[3]);

} // namespace corvenna
