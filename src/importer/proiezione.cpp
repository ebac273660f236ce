#include "importer/proiezione.hpp"

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace corvenna {

// One PROJ context per projection: PROJ objects may not be shared across threads without
// their own context.
struct proiezione_locale::stato {
    PJ_CONTEXT* contesto = nullptr;
    PJ* operazione = nullptr;
    ~stato() {
        if (operazione)
            proj_destroy(operazione);
        if (contesto)
            proj_context_destroy(contesto);
    }
};

std::optional<proiezione_locale> proiezione_locale::centrata(double longitudine,
                                                             double latitudine) {
    auto s = std::make_shared<stato>();
    s->contesto = proj_context_create();
    if (!s->contesto)
        return std::nullopt;
    // PROJ's messages go to standard error by default; a failure is reported as a value here.
    proj_log_level(s->contesto, PJ_LOG_NONE);
    char definizione[200];
    std::snprintf(definizione, sizeof definizione,
                  "+proj=tmerc +lat_0=%.12f +lon_0=%.12f +k=1 +x_0=0 +y_0=0 +ellps=WGS84",
                  latitudine, longitudine);
    s->operazione = proj_create(s->contesto, definizione);
    if (!s->operazione)
        return std::nullopt;
    return proiezione_locale(std::move(s));
}

std::vector<punto_piano>
proiezione_locale::proietta(std::span<const punto_geografico> punti) const {
    std::vector<punto_piano> piano(punti.size());
    if (piano.empty())
        return piano;
    for (std::size_t i = 0; i < punti.size(); ++i)
        piano[i] = {proj_torad(punti[i].longitudine), proj_torad(punti[i].latitudine)};
    proj_errno_reset(stato_->operazione);
    proj_trans_generic(stato_->operazione, PJ_FWD, &piano[0].x, sizeof(punto_piano), piano.size(),
                       &piano[0].y, sizeof(punto_piano), piano.size(), nullptr, 0, 0, nullptr, 0,
                       0);
    // PROJ marks a point it cannot project with HUGE_VAL; make sure no NaN passes as a number.
    for (punto_piano& p : piano)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            p = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    return piano;
}

std::vector<punto_geografico> proiezione_locale::inverti(std::span<const punto_piano> punti) const {
    std::vector<punto_piano> angoli(punti.begin(), punti.end());
    if (angoli.empty())
        return {};
    proj_trans_generic(stato_->operazione, PJ_INV, &angoli[0].x, sizeof(punto_piano), angoli.size(),
                       &angoli[0].y, sizeof(punto_piano), angoli.size(), nullptr, 0, 0, nullptr, 0,
                       0);
    std::vector<punto_geografico> geografici(punti.size());
    for (std::size_t i = 0; i < angoli.size(); ++i)
        geografici[i] = {proj_todeg(angoli[i].x), proj_todeg(angoli[i].y), std::nullopt};
    return geografici;
}

std::optional<proiezione_locale> proiezione_del_percorso(std::span<const punto_geografico> punti) {
    if (punti.empty())
        return std::nullopt;
    auto [lat_min, lat_max] = std::minmax_element(
        punti.begin(), punti.end(), [](const punto_geografico& a, const punto_geografico& b) {
            return a.latitudine < b.latitudine;
        });
    // Longitudes are taken relative to the first point's, so that a path across the
    // antimeridian gets its middle and not the far side of the globe.
    const double riferimento = punti[0].longitudine;
    double minimo = 0, massimo = 0;
    for (const punto_geografico& p : punti) {
        double d = std::remainder(p.longitudine - riferimento, 360.0);
        minimo = std::min(minimo, d);
        massimo = std::max(massimo, d);
    }
    double centro = std::remainder(riferimento + (minimo + massimo) / 2, 360.0);
    return proiezione_locale::centrata(centro, (lat_min->latitudine + lat_max->latitudine) / 2);
}

} // namespace corvenna
