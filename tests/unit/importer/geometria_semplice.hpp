#pragma once

// A stand-in for the fitted geometry in the importer's tests: the path's along-track positions
// as the sum of its great-circle steps, no curves and a flat profile. The features of a map land
// where these positions say, whatever the fit of the plan does with the path's shape.

#include "importer/geometria_importata.hpp"

#include <cmath>
#include <span>

namespace corvenna::prova {

inline double distanza_geografica(const punto_geografico& a, const punto_geografico& b) {
    constexpr double raggio = 6371008.8;
    constexpr double grado = 3.14159265358979323846 / 180;
    const double dlat = (b.latitudine - a.latitudine) * grado;
    const double dlon = (b.longitudine - a.longitudine) * grado;
    const double h = std::sin(dlat / 2) * std::sin(dlat / 2) +
                     std::cos(a.latitudine * grado) * std::cos(b.latitudine * grado) *
                         std::sin(dlon / 2) * std::sin(dlon / 2);
    return 2 * raggio * std::asin(std::min(1.0, std::sqrt(h)));
}

inline geometria_importata geometria_semplice(std::span<const punto_geografico> punti) {
    geometria_importata g;
    double s = 0;
    for (std::size_t i = 0; i < punti.size(); ++i) {
        if (i > 0)
            s += distanza_geografica(punti[i - 1], punti[i]);
        g.progressiva.push_back(s);
    }
    g.lunghezza = static_cast<std::int32_t>(std::lround(s));
    g.pendenze.push_back({0, 0});
    return g;
}

} // namespace corvenna::prova
