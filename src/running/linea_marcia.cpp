#include "running/linea_marcia.hpp"

#include "input/velocita_effettiva.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "model/tipi_cella.hpp"

#include <algorithm>
#include <cmath>

namespace corvenna {

namespace {

// Below this turn per metre (a radius above 50 km) the track is straight: the plan view's
// arithmetic stays under it.
constexpr double curvatura_minima = 2e-5;

// The signal's kind from its fourth value: 1 distant, 2 main.
int tipo_segnale(const cella& x) {
    return x.dato4 % 10 / 3;
}

} // namespace

linea_marcia linea_di_marcia(const costruzione& c) {
    linea_marcia l;
    l.c = &c;
    l.velocita_kmh = velocita_effettiva_celle(c, rallentamenti_celle(c));
    for (int& v : l.velocita_kmh)
        v = std::max(v, 5);
    l.pendenza_per_mille.reserve(c.celle.size());
    for (const cella& x : c.celle)
        l.pendenza_per_mille.push_back(pendenza_per_mille(x));

    const derivati_scenario d = deriva(c);
    for (int j = 1; j <= prima_voce_cartelli; ++j) {
        const auto fermata = d.celle_fermata[static_cast<std::size_t>(j)];
        const voce& v = c.voci[static_cast<std::size_t>(j)];
        if (!fermata || v.orario == 0)
            continue;
        fermata_marcia f;
        f.voce = j;
        f.nome = v.nome;
        f.metro = metro_elemento(static_cast<std::int64_t>(*fermata));
        f.arrivo_s = v.orario;
        f.partenza_s = l.fermate.empty() || v.b5 <= 1 ? f.arrivo_s : f.arrivo_s + v.b5;
        l.fermate.push_back(std::move(f));
    }

    const std::size_t n = c.celle.size();
    std::size_t principale = n; // the next main signal's cell, looking back from the end
    std::vector<std::size_t> principale_dopo(n, n);
    for (std::size_t k = n; k-- > 0;) {
        principale_dopo[k] = principale;
        if (c.celle[k].tipo == tipo_cella::segnale && tipo_segnale(c.celle[k]) == 2)
            principale = k;
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (c.celle[k].tipo != tipo_cella::segnale || tipo_segnale(c.celle[k]) != 1 ||
            principale_dopo[k] == n)
            continue;
        coppia_segnali s;
        s.cella_avviso = static_cast<std::int32_t>(k);
        s.avviso_metro = metro_elemento(static_cast<std::int64_t>(k));
        s.principale_metro = metro_elemento(static_cast<std::int64_t>(principale_dopo[k]));
        l.segnali.push_back(s);
    }
    return l;
}

double raggio_al_metro(const costruzione& c, std::int64_t metro) {
    const auto& x = c.planimetria[asse_x];
    const auto& y = c.planimetria[asse_y];
    if (metro < 1 || static_cast<std::size_t>(metro) + 1 >= x.size() ||
        static_cast<std::size_t>(metro) + 1 >= y.size())
        return 0;
    const auto m = static_cast<std::size_t>(metro);
    for (std::size_t k = m - 1; k <= m + 1; ++k)
        if (x.tipo(k) == tipo_valore::vuoto || y.tipo(k) == tipo_valore::vuoto)
            return 0;
    const double x1 = x.numero(m) - x.numero(m - 1), y1 = y.numero(m) - y.numero(m - 1);
    const double x2 = x.numero(m + 1) - x.numero(m), y2 = y.numero(m + 1) - y.numero(m);
    const double l = std::sqrt((x1 * x1 + y1 * y1) * (x2 * x2 + y2 * y2));
    const double k = l > 0 ? std::abs(x1 * y2 - y1 * x2) / l : 0;
    if (!std::isfinite(k) || k < curvatura_minima)
        return 0;
    return 1 / k;
}

double resistenza_curva_per_mille(double raggio_m) {
    if (raggio_m <= 0)
        return 0;
    if (raggio_m >= 300)
        return 650 / (raggio_m - 55);
    // Below the formula's range a radius is held at 50 m: a plan view's kink is no curve.
    return 500 / (std::max(raggio_m, 50.0) - 30);
}

} // namespace corvenna
