#include "drawing/disegno_profilo.hpp"

#include "input/velocita_effettiva.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace corvenna {

namespace {

// The bands, from the top, and the room left and right of the axis for the values' labels.
constexpr double margine_sinistro = 70;
constexpr double margine_destro = 60;
constexpr fascia fascia_nomi{0, 60};
constexpr fascia fascia_quota{66, 156};
constexpr fascia fascia_pendenza{166, 210};
constexpr fascia fascia_velocita{220, 300};
constexpr fascia fascia_curvatura{308, 336};
constexpr fascia fascia_elementi{342, 388};
constexpr fascia fascia_asse{388, 410};
constexpr double altezza_profilo = 414;
// Labels of the distance axis are at least this far apart.
constexpr double distanza_tacche_km = 70;

// The number of cells drawn: those that carry line properties and begin before the axis end.
std::size_t celle_disegnate(const elementi_scenario& e) {
    const auto fino = static_cast<std::size_t>((e.fine_asse + 49) / 50);
    return std::min(static_cast<std::size_t>(e.celle_con_proprieta), fino);
}

// The end metre of cell i, cut at the axis end.
double fine_cella(const elementi_scenario& e, std::size_t i) {
    return std::min(50.0 * static_cast<double>(i + 1), static_cast<double>(e.fine_asse));
}

// A step line over the drawn cells: one level per run of equal values.
std::vector<punto> gradini(const elementi_scenario& e, const std::vector<double>& valori,
                           const mappa_lineare& x, const mappa_lineare& y) {
    std::vector<punto> punti;
    std::size_t i = 0;
    while (i < valori.size()) {
        std::size_t j = i + 1;
        while (j < valori.size() && valori[j] == valori[i])
            ++j;
        punti.push_back({x(50.0 * static_cast<double>(i)), y(valori[i])});
        punti.push_back({x(fine_cella(e, j - 1)), y(valori[i])});
        i = j;
    }
    return punti;
}

// A scale from [minimo, massimo] widened to round steps, about `tacche` of them, onto the band
// (bottom to top), with its marks.
mappa_lineare scala_valori(double minimo, double massimo, double passo_minimo, int tacche,
                           const fascia& f, std::vector<tacca>& segni) {
    const double passo = passo_tondo(std::max((massimo - minimo) / tacche, passo_minimo));
    double basso = std::floor(minimo / passo) * passo;
    double alto = std::ceil(massimo / passo) * passo;
    if (alto <= basso)
        alto = basso + passo;
    for (int i = 0; i <= tacche + 2 && basso + i * passo <= alto + passo / 2; ++i)
        segni.push_back({0, basso + i * passo});
    const mappa_lineare y{basso, alto, f.basso, f.alto};
    for (tacca& t : segni)
        t.posizione = y(t.valore);
    return y;
}

} // namespace

std::vector<double> quote_celle(const costruzione& c, const elementi_scenario& e) {
    const std::size_t n = std::min(celle_disegnate(e), c.celle.size());
    std::vector<double> quote{0.0};
    quote.reserve(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        const double lunghezza = fine_cella(e, i) - 50.0 * static_cast<double>(i);
        const double pendenza = static_cast<double>(c.celle[i].pendenza) - 100;
        quote.push_back(quote.back() + pendenza / 1000 * lunghezza);
    }
    return quote;
}

disegno_profilo disegna_profilo(const costruzione& c, const elementi_scenario& e,
                                double larghezza) {
    disegno_profilo d;
    d.larghezza = larghezza;
    d.altezza = altezza_profilo;
    d.sinistra = margine_sinistro;
    d.destra = larghezza - margine_destro;
    d.nomi = fascia_nomi;
    d.quota = fascia_quota;
    d.pendenza = fascia_pendenza;
    d.velocita = fascia_velocita;
    d.curvatura = fascia_curvatura;
    d.elementi = fascia_elementi;
    d.asse = fascia_asse;
    const double fine = static_cast<double>(e.fine_asse);
    d.x = {0, fine, d.sinistra, d.destra};

    const double passo_km =
        passo_tondo(fine / 1000 * distanza_tacche_km / std::max(d.destra - d.sinistra, 1.0));
    for (int i = 0; i * passo_km * 1000 <= fine + 1e-6 && i <= 1000; ++i)
        d.tacche_km.push_back({d.x(i * passo_km * 1000), i * passo_km});

    // Elevation, thinned on the page.
    const std::vector<double> quote = quote_celle(c, e);
    d.quota_minima = *std::min_element(quote.begin(), quote.end());
    d.quota_massima = *std::max_element(quote.begin(), quote.end());
    d.quota_finale = quote.back();
    d.y_quota = scala_valori(d.quota_minima, d.quota_massima, 1, 3, d.quota, d.tacche_quota);
    std::vector<punto> profilo;
    profilo.reserve(quote.size());
    for (std::size_t i = 0; i < quote.size(); ++i) {
        const double metro = i == 0 ? 0 : fine_cella(e, i - 1);
        profilo.push_back({d.x(metro), d.y_quota(quote[i])});
    }
    for (const std::size_t i : sfoltisci(profilo, tolleranza_svg))
        d.profilo_quota.push_back(profilo[i]);

    const std::size_t n = quote.size() - 1;
    std::vector<double> pendenze(n);
    std::vector<double> velocita(n);
    double pendenza_massima = 0;
    double velocita_massima = 0;
    for (std::size_t i = 0; i < n; ++i) {
        pendenze[i] = static_cast<double>(c.celle[i].pendenza) - 100;
        velocita[i] = 5.0 * c.celle[i].velocita;
        pendenza_massima = std::max(pendenza_massima, std::abs(pendenze[i]));
        velocita_massima = std::max(velocita_massima, velocita[i]);
    }
    const double g = passo_tondo(std::max(pendenza_massima, 2.0));
    d.y_pendenza = {-g, g, d.pendenza.basso, d.pendenza.alto};
    for (const double v : {-g, 0.0, g})
        d.tacche_pendenza.push_back({d.y_pendenza(v), v});
    d.gradini_pendenza = gradini(e, pendenze, d.x, d.y_pendenza);

    // The speed boards stand at the height of their speed: the scale reaches theirs too, so a
    // board above every cell's speed (a train description without speeds) stays in its band.
    for (const cartello_disegno& b : e.cartelli)
        if (b.tipo == tipo_cartello::velocita)
            velocita_massima = std::max(velocita_massima, static_cast<double>(b.velocita_s[0]));
    d.y_velocita =
        scala_valori(0, std::max(velocita_massima, 50.0), 10, 3, d.velocita, d.tacche_velocita);
    d.gradini_velocita_linea = gradini(e, velocita, d.x, d.y_velocita);
    // The train's limit over the drawn cells: the line's, lowered inside every slowdown.
    const std::vector<int> treno = velocita_effettiva_celle(c, e.rallentamenti);
    const std::vector<double> velocita_treno(treno.begin(),
                                             treno.begin() + static_cast<std::ptrdiff_t>(n));
    d.gradini_velocita_treno = gradini(e, velocita_treno, d.x, d.y_velocita);

    const auto x_di = [&d, fine](double metro) { return d.x(std::clamp(metro, 0.0, fine)); };
    for (const stazione_disegno& s : e.stazioni)
        d.x_stazioni.push_back(x_di(s.posizione));
    for (const segnale_disegno& s : e.segnali)
        d.x_segnali.push_back(x_di(static_cast<double>(s.metro)));
    for (const cartello_disegno& b : e.cartelli)
        d.x_cartelli.push_back(x_di(static_cast<double>(b.metro)));
    for (const tratto_disegno& r : e.rilievi)
        d.rilievi.push_back(
            {x_di(static_cast<double>(r.inizio)), x_di(static_cast<double>(r.fine))});
    for (const rallentamento_celle& r : e.rallentamenti)
        d.rallentamenti.push_back(
            {x_di(static_cast<double>(r.inizio)), x_di(static_cast<double>(r.fine))});
    d.curve = curve_planimetria(c, e.fine_asse);
    for (const curva_disegno& k : d.curve)
        d.x_curve.push_back(
            {x_di(static_cast<double>(k.inizio)), x_di(static_cast<double>(k.fine))});
    return d;
}

} // namespace corvenna
