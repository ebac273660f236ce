#pragma once

// Placing the labels of the plan beside their points without covering each other, the
// stations' dots or the track: each label tries a few places around its point, nearest first,
// and takes the first that is free.

#include "drawing/disegno_sfoltimento.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvenna {

enum class ancoraggio { inizio, mezzo, fine };

// An axis-aligned box in SVG units.
struct riquadro {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    bool tocca(const riquadro& r) const { return x1 < r.x2 && r.x1 < x2 && y1 < r.y2 && r.y1 < y2; }
};

struct etichetta_piano {
    punto base; // the text's anchor on its baseline
    ancoraggio ancora = ancoraggio::inizio;
    bool visibile = true;
    riquadro ingombro;
};

// The room already taken on the drawing.
class spazio_occupato {
  public:
    // A track that winds beyond any real line's (a damaged plan view) is followed only this
    // far: past it the labels no longer avoid it, and placing them stays cheap.
    static constexpr std::size_t riquadri_massimi = 200000;

    void aggiungi(const riquadro& r) { riquadri_.push_back(r); }
    // The polyline's segments, as small boxes every few units, up to riquadri_massimi.
    void aggiungi_linea(const std::vector<punto>& punti, double spessore);
    bool libero(const riquadro& r) const;

  private:
    std::vector<riquadro> riquadri_;
};

// The width of a text of `dimensione` units in the page's sans-serif font, estimated from its
// number of characters (UTF-8 aware) for capitals and digits.
double larghezza_testo(std::string_view testo, double dimensione);

// A label of the given size for the point `p`, whose preferred side is `normale` (unit vector).
// It takes the first free place and marks it taken; when none is free it takes the preferred
// place if `obbligatoria`, and is left hidden otherwise.
etichetta_piano colloca_etichetta(punto p, punto normale, double larghezza, double altezza,
                                  spazio_occupato& occupato, bool obbligatoria);

} // namespace corvenna
