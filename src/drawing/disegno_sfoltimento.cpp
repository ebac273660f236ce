#include "drawing/disegno_sfoltimento.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvenna {

namespace {

constexpr std::size_t lunghezza_pezzo = 4096;

// Distance of p from the segment a-b.
double distanza_dal_segmento(const punto& p, const punto& a, const punto& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lunghezza2 = dx * dx + dy * dy;
    double t = 0;
    if (lunghezza2 > 0)
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lunghezza2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Subdivision of punti[inizio..fine], with both ends already kept; the kept inner indices are
// appended to `tenuti` in any order.
void sfoltisci_pezzo(std::span<const punto> punti, std::size_t inizio, std::size_t fine,
                     double tolleranza, std::vector<std::size_t>& tenuti,
                     std::vector<std::pair<std::size_t, std::size_t>>& pila) {
    pila.clear();
    pila.emplace_back(inizio, fine);
    while (!pila.empty()) {
        const auto [a, b] = pila.back();
        pila.pop_back();
        if (b <= a + 1)
            continue;
        double massima = -1;
        std::size_t lontano = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double d = distanza_dal_segmento(punti[i], punti[a], punti[b]);
            // A point that is not a number is always kept: it cannot be measured.
            if (!(d <= massima)) {
                massima = std::isnan(d) ? INFINITY : d;
                lontano = i;
            }
        }
        if (massima > tolleranza) {
            tenuti.push_back(lontano);
            pila.emplace_back(a, lontano);
            pila.emplace_back(lontano, b);
        }
    }
}

} // namespace

std::vector<std::size_t> sfoltisci(std::span<const punto> punti, double tolleranza,
                                   std::span<const std::size_t> obbligati) {
    std::vector<std::size_t> tenuti;
    const std::size_t n = punti.size();
    if (n == 0)
        return tenuti;
    // The fixed points: the ends, the required points and the chunk boundaries.
    std::vector<std::size_t> fissi{0, n - 1};
    for (const std::size_t i : obbligati)
        if (i < n)
            fissi.push_back(i);
    for (std::size_t i = lunghezza_pezzo; i < n; i += lunghezza_pezzo)
        fissi.push_back(i);
    std::sort(fissi.begin(), fissi.end());
    fissi.erase(std::unique(fissi.begin(), fissi.end()), fissi.end());

    tenuti = fissi;
    std::vector<std::pair<std::size_t, std::size_t>> pila;
    for (std::size_t k = 0; k + 1 < fissi.size(); ++k)
        sfoltisci_pezzo(punti, fissi[k], fissi[k + 1], tolleranza, tenuti, pila);
    std::sort(tenuti.begin(), tenuti.end());

    // A chunk boundary stays only where the line needs it: it goes when every point between
    // its kept neighbours lies within the tolerance of the segment that joins them.
    std::vector<std::size_t> obbligatori(obbligati.begin(), obbligati.end());
    std::sort(obbligatori.begin(), obbligatori.end());
    std::vector<std::size_t> risultato;
    risultato.reserve(tenuti.size());
    for (std::size_t k = 0; k < tenuti.size(); ++k) {
        const std::size_t i = tenuti[k];
        const bool confine = i % lunghezza_pezzo == 0 && i != 0 && k + 1 < tenuti.size() &&
                             !std::binary_search(obbligatori.begin(), obbligatori.end(), i);
        // Over more than a few chunks the check would cost more than the points it saves.
        if (confine && tenuti[k + 1] - risultato.back() <= 4 * lunghezza_pezzo) {
            const std::size_t a = risultato.back();
            const std::size_t b = tenuti[k + 1];
            bool vicini = true;
            for (std::size_t j = a + 1; j < b && vicini; ++j)
                vicini = distanza_dal_segmento(punti[j], punti[a], punti[b]) <= tolleranza;
            if (vicini)
                continue;
        }
        risultato.push_back(i);
    }
    return risultato;
}

} // namespace corvenna
