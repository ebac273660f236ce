#include "drawing/disegno_etichette.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace corvenna {

namespace {

riquadro ingombro(punto base, ancoraggio ancora, double larghezza, double altezza) {
    double x1 = base.x;
    if (ancora == ancoraggio::mezzo)
        x1 -= larghezza / 2;
    else if (ancora == ancoraggio::fine)
        x1 -= larghezza;
    // Capitals rise about 0.75 of the size above the baseline; a little room below.
    return {x1, base.y - altezza * 0.78, x1 + larghezza, base.y + altezza * 0.12};
}

} // namespace

void spazio_occupato::aggiungi_linea(const std::vector<punto>& punti, double spessore) {
    const double mezzo = spessore / 2;
    constexpr double passo = 4;
    for (std::size_t i = 0; i + 1 < punti.size(); ++i) {
        const punto a = punti[i];
        const punto b = punti[i + 1];
        const double lunghezza = std::hypot(b.x - a.x, b.y - a.y);
        if (!std::isfinite(lunghezza))
            continue;
        if (riquadri_.size() >= riquadri_massimi)
            return;
        const auto resto = static_cast<double>(riquadri_massimi - riquadri_.size());
        const auto tratti =
            static_cast<std::size_t>(std::clamp(std::ceil(lunghezza / passo), 0.0, resto - 1));
        for (std::size_t k = 0; k <= tratti; ++k) {
            const double t = tratti == 0 ? 0 : static_cast<double>(k) / static_cast<double>(tratti);
            const punto q{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
            riquadri_.push_back({q.x - mezzo, q.y - mezzo, q.x + mezzo, q.y + mezzo});
        }
    }
}

bool spazio_occupato::libero(const riquadro& r) const {
    return std::none_of(riquadri_.begin(), riquadri_.end(),
                        [&r](const riquadro& x) { return x.tocca(r); });
}

double larghezza_testo(std::string_view testo, double dimensione) {
    std::size_t caratteri = 0;
    for (const char c : testo)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++caratteri;
    return static_cast<double>(caratteri) * dimensione * 0.7;
}

etichetta_piano colloca_etichetta(punto p, punto normale, double larghezza, double altezza,
                                  spazio_occupato& occupato, bool obbligatoria) {
    const punto direzioni[] = {
        normale, {-normale.x, -normale.y}, {0, -1}, {0, 1}, {1, 0}, {-1, 0},
    };
    etichetta_piano prima;
    bool trovata_prima = false;
    for (const double distanza : {7.0, 13.0, 20.0}) {
        for (const punto& d : direzioni) {
            etichetta_piano e;
            e.ancora = d.x > 0.35    ? ancoraggio::inizio
                       : d.x < -0.35 ? ancoraggio::fine
                                     : ancoraggio::mezzo;
            // Above or below the point the text stands clear of it by its own height.
            const double su_giu = d.y > 0.35 ? altezza * 0.8 : d.y < -0.35 ? 0 : altezza * 0.35;
            e.base = {p.x + d.x * distanza, p.y + d.y * distanza + su_giu};
            e.ingombro = ingombro(e.base, e.ancora, larghezza, altezza);
            if (!trovata_prima) {
                prima = e;
                trovata_prima = true;
            }
            if (occupato.libero(e.ingombro)) {
                occupato.aggiungi(e.ingombro);
                return e;
            }
        }
    }
    prima.visibile = obbligatoria;
    if (obbligatoria)
        occupato.aggiungi(prima.ingombro);
    return prima;
}

} // namespace corvenna
