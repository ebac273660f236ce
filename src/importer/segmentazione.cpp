#include "importer/segmentazione.hpp"

#include <algorithm>
#include <limits>

namespace corvenna {

somme_campioni::somme_campioni(std::span<const campione_segmentato> campioni) {
    prefissi_.resize(campioni.size() + 1);
    // Abscissae are taken from the first sample's, so that the sums keep their precision on a
    // long track.
    const double origine = campioni.empty() ? 0 : campioni[0].x;
    for (std::size_t i = 0; i < campioni.size(); ++i) {
        const campione_segmentato& c = campioni[i];
        const double x = c.x - origine;
        somme s = prefissi_[i];
        s.w += c.peso;
        s.x += c.peso * x;
        s.y += c.peso * c.y;
        s.xx += c.peso * x * x;
        s.xy += c.peso * x * c.y;
        s.yy += c.peso * c.y * c.y;
        prefissi_[i + 1] = s;
    }
    origine_ = origine;
}

somme_campioni::somme somme_campioni::tra(std::size_t da, std::size_t a) const {
    const somme& p = prefissi_[da];
    const somme& q = prefissi_[a];
    return {q.w - p.w, q.x - p.x, q.y - p.y, q.xx - p.xx, q.xy - p.xy, q.yy - p.yy};
}

pezzo somme_campioni::adatta(std::size_t da, std::size_t a) const {
    const somme s = tra(da, a);
    pezzo p{da, a, origine_, 0, 0, 0, s.w};
    if (s.w <= 0)
        return p;
    const double mx = s.x / s.w, my = s.y / s.w;
    const double sxx = s.xx - s.w * mx * mx;
    const double sxy = s.xy - s.w * mx * my;
    const double syy = s.yy - s.w * my * my;
    p.x0 = origine_ + mx;
    p.quota = my;
    p.pendenza = sxx > 1e-12 * std::max(1.0, s.xx) ? sxy / sxx : 0;
    p.residuo = std::max(0.0, syy - p.pendenza * sxy);
    return p;
}

pezzo somme_campioni::adatta_con_pendenza(std::size_t da, std::size_t a, double pendenza) const {
    const somme s = tra(da, a);
    pezzo p{da, a, origine_, 0, pendenza, 0, s.w};
    if (s.w <= 0)
        return p;
    const double mx = s.x / s.w, my = s.y / s.w;
    const double sxx = s.xx - s.w * mx * mx;
    const double sxy = s.xy - s.w * mx * my;
    const double syy = s.yy - s.w * my * my;
    p.x0 = origine_ + mx;
    p.quota = my;
    p.residuo = std::max(0.0, syy - 2 * pendenza * sxy + pendenza * pendenza * sxx);
    return p;
}

std::vector<pezzo> segmenta(std::span<const campione_segmentato> campioni,
                            const regole_segmentazione& regole) {
    const std::size_t n = campioni.size();
    if (n == 0)
        return {};
    const somme_campioni somme(campioni);
    const std::size_t minimo = std::max<std::size_t>(1, regole.minimo);
    const std::size_t massimo = std::max(regole.massimo, 2 * minimo);
    if (n < 2 * minimo)
        return {somme.adatta(0, n)};

    // costo[b]: the least cost of samples [0, b) cut into whole pieces; da[b]: where the last of
    // them starts.
    constexpr double infinito = std::numeric_limits<double>::infinity();
    std::vector<double> costo(n + 1, infinito);
    std::vector<std::size_t> inizio(n + 1, 0);
    costo[0] = 0;
    for (std::size_t b = minimo; b <= n; ++b) {
        const std::size_t primo = b > massimo ? b - massimo : 0;
        for (std::size_t a = primo; a + minimo <= b; ++a) {
            if (costo[a] == infinito)
                continue;
            const double c = costo[a] + somme.adatta(a, b).residuo + regole.penalita;
            if (c < costo[b]) {
                costo[b] = c;
                inizio[b] = a;
            }
        }
    }
    // The end is always reachable: pieces of `minimo` to `massimo` samples make every length
    // from `minimo` on.
    std::vector<pezzo> pezzi;
    for (std::size_t b = n; b > 0; b = inizio[b])
        pezzi.push_back(somme.adatta(inizio[b], b));
    std::reverse(pezzi.begin(), pezzi.end());
    return pezzi;
}

} // namespace corvenna
