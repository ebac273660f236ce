#pragma once

// The small arithmetic of the drawing's scales: a linear map from model units to SVG units and
// the round step of a scale bar or an axis.

namespace corvenna {

// Maps [da_inizio, da_fine] linearly onto [a_inizio, a_fine].
struct mappa_lineare {
    double da_inizio = 0;
    double da_fine = 1;
    double a_inizio = 0;
    double a_fine = 1;

    double operator()(double v) const {
        if (da_fine == da_inizio)
            return a_inizio;
        return a_inizio + (v - da_inizio) * (a_fine - a_inizio) / (da_fine - da_inizio);
    }
};

// The smallest step of the series ..., 0.1, 0.2, 0.5, 1, 2, 5, 10, ... that is at least
// `minimo`; a `minimo` below 1e-9 or not a number counts as 1e-9.
double passo_tondo(double minimo);

} // namespace corvenna
