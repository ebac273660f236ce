#pragma once

// The geometry of an imported line: a path of geographic points (in running order, already
// chained from the map's ways) fitted to what a line description can say. The plan view is a
// sequence of curve rows (whole metres, six curvature classes and a hand) and the profile a
// sequence of gradient rows (whole per mille from a position on). The fit covers the whole path
// at once, so that errors do not accumulate along it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvenna {

struct punto_geografico {
    double longitudine = 0;      // degrees, WGS 84
    double latitudine = 0;       // degrees, WGS 84
    std::optional<double> quota; // metres above sea level, when the map gives it
};

// One "curva" row: from `inizio` over `lunghezza` metres, curvature class 1..6; `sinistra`
// is the hand the keyword marks with an "s".
struct riga_curva {
    std::int32_t inizio = 0;
    std::int32_t lunghezza = 0;
    int classe = 1;
    bool sinistra = false;
};

// One "pendenza" row: the gradient in per mille from `posizione` on.
struct riga_pendenza {
    std::int32_t posizione = 0;
    std::int32_t per_mille = 0;
};

// Something the fit changed or could not follow, at an input point (index into the path) and,
// where it has one, a position along the route in metres.
struct avviso_geometria {
    std::size_t indice_punto = 0;
    std::string messaggio;
};

struct geometria_importata {
    // The route length in whole metres.
    std::int32_t lunghezza = 0;
    // The along-track position, in metres from the start, of every input point.
    // Both count the fitted plan view's own metres, the positions a description gives: a
    // curved metre of the compiler is a little longer than a metre on the ground, so on a
    // winding line they run a little short of the ground's distances (the built-in line's
    // 88000 metres of plan view are 88564 m long).
    std::vector<double> progressiva;
    std::vector<riga_curva> curve;
    std::vector<riga_pendenza> pendenze;
    // How far the fitted plan lies from the input path, in metres.
    double scarto_planimetria_massimo = 0;
    double scarto_planimetria_medio = 0;
    // How far the fitted profile lies from the input heights, in metres; std::nullopt when no
    // point has a height (the profile is then flat).
    std::optional<double> scarto_quota_massimo;
    std::optional<double> scarto_quota_medio;
    // The noise of the path about the fitted alignment (root mean square, metres), and of the
    // heights about the fitted profile (std::nullopt without heights).
    double rumore_planimetria = 0;
    std::optional<double> rumore_quote;
    // The tolerance the curve classes were held to, in metres.
    double tolleranza = 0;
    // What the fit could not draw as the map has it, or left out, each at an input point.
    std::vector<avviso_geometria> avvisi;
};

// Why a path cannot be fitted, at which input point (index into the path).
struct errore_geometria {
    std::string messaggio;
    std::size_t indice_punto = 0;
};

struct esito_geometria {
    std::optional<geometria_importata> geometria;
    std::optional<errore_geometria> errore;
};

struct regole_geometria {
    // How far the plan may lie from the fitted alignment while a radius between two classes
    // alternates them, in metres; without it, from the path's noise.
    std::optional<double> tolleranza;
    // Whether a path that turns back, or that the fit leaves by far, is imported anyway (with a
    // warning) instead of refused.
    bool consenti = false;
};

// Fits the path. Points closer together than the fit can use are merged first, and so is a run
// of points where the path stands still; a height outside the plausible range, or one that
// steps away from its neighbours as no railway does, is left out with a warning. Fails on fewer
// than two distinct points, coordinates out of range, a path longer than a route may be, and
// (unless `consenti`) a path that turns back or that the fit leaves by far.
esito_geometria adatta_geometria(std::span<const punto_geografico> punti,
                                 const regole_geometria& regole = {});

} // namespace corvenna
