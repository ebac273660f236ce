#pragma once

// Geographic points to plane metres and back, through PROJ: a transverse Mercator centred on
// the path with scale 1 on its central meridian, so that lengths along a line of some tens of
// kilometres stay true to a few parts in a million (a zone projection's reduced scale would
// shorten every kilometre by 40 cm).

#include "importer/geometria_importata.hpp"

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace corvenna {

// A point of the plane: metres east (x) and north (y) of the projection's centre.
struct punto_piano {
    double x = 0;
    double y = 0;
};

class proiezione_locale {
  public:
    // A transverse Mercator centred on (longitudine, latitudine), degrees; std::nullopt when
    // PROJ cannot build it.
    static std::optional<proiezione_locale> centrata(double longitudine, double latitudine);

    // The points to the plane; a point PROJ cannot project comes back with infinite
    // coordinates.
    std::vector<punto_piano> proietta(std::span<const punto_geografico> punti) const;
    // The plane back to geographic points, without heights.
    std::vector<punto_geografico> inverti(std::span<const punto_piano> punti) const;

  private:
    struct stato;
    explicit proiezione_locale(std::shared_ptr<stato> s) : stato_(std::move(s)) {}
    std::shared_ptr<stato> stato_;
};

// The projection centred on the middle of the points' extent (longitudes and latitudes
// already checked to be in range).
std::optional<proiezione_locale> proiezione_del_percorso(std::span<const punto_geografico> punti);

} // namespace corvenna
