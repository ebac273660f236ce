#include "drawing/disegno_planimetria.hpp"

#include "drawing/disegno_scala.hpp"
#include "input/chilometri_guida.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <span>
#include <utility>

namespace corvenna {

namespace {

// Room around the track inside the box: beside it for the station names, below it for the
// scale bar.
constexpr double margine_laterale = 110;
constexpr double margine_alto = 18;
constexpr double margine_basso = 34;
// The scale bar is at least this long on the page.
constexpr double barra_minima_svg = 80;
// More posts than a real line of 1000 km gets at any scale; a plan view that winds more (a
// damaged one) shows only these.
constexpr std::size_t cippi_massimi = 2000;

struct tracciato {
    std::vector<punto> punti;
    std::vector<std::int64_t> metri;
};

tracciato punti_validi(const costruzione& c) {
    tracciato t;
    const std::size_t n = std::min(c.planimetria[asse_x].size(), c.planimetria[asse_y].size());
    t.punti.reserve(n);
    t.metri.reserve(n);
    for (std::size_t m = 0; m < n; ++m) {
        if (const auto p = punto_planimetria(c, static_cast<std::int64_t>(m))) {
            t.punti.push_back(*p);
            t.metri.push_back(static_cast<std::int64_t>(m));
        }
    }
    return t;
}

// The thinned polyline of the metres from `da` to `a`, both included, in SVG units.
std::vector<punto> tratto_sfoltito(const tracciato& t, std::int64_t da, std::int64_t a,
                                   const trasformazione_piano& tr, double tolleranza) {
    const auto inizio = std::lower_bound(t.metri.begin(), t.metri.end(), da) - t.metri.begin();
    const auto fine = std::upper_bound(t.metri.begin(), t.metri.end(), a) - t.metri.begin();
    std::vector<punto> risultato;
    if (fine - inizio < 2)
        return risultato;
    const std::span<const punto> parte(t.punti.data() + inizio,
                                       static_cast<std::size_t>(fine - inizio));
    for (const std::size_t i : sfoltisci(parte, tolleranza))
        risultato.push_back(tr.in_svg(parte[i]));
    return risultato;
}

// The nearest metre the plan view holds, from `metro` clamped to its extent.
std::optional<std::size_t> indice_vicino(const tracciato& t, double metro) {
    if (t.metri.empty())
        return std::nullopt;
    const auto m = static_cast<std::int64_t>(
        std::llround(std::clamp(metro, 0.0, static_cast<double>(t.metri.back()))));
    const auto i = std::lower_bound(t.metri.begin(), t.metri.end(), m) - t.metri.begin();
    return static_cast<std::size_t>(
        std::min<std::ptrdiff_t>(i, static_cast<std::ptrdiff_t>(t.metri.size()) - 1));
}

// A marker on the track at `metro`, with the side of its label: the left of the direction of
// travel, or the right when that points toward the middle of the drawing.
std::optional<marcatore_piano> marcatore(const tracciato& t, const trasformazione_piano& tr,
                                         punto centro, double metro, int indice) {
    const auto i = indice_vicino(t, metro);
    if (!i)
        return std::nullopt;
    const punto p = t.punti[*i];
    const punto prima = t.punti[*i > 0 ? *i - 1 : *i];
    const punto dopo = t.punti[std::min(*i + 1, t.punti.size() - 1)];
    double nx = -(dopo.y - prima.y);
    double ny = dopo.x - prima.x;
    const double lunghezza = std::hypot(nx, ny);
    if (lunghezza > 0) {
        nx /= lunghezza;
        ny /= lunghezza;
    } else {
        nx = 1;
        ny = 0;
    }
    if (nx * (p.x - centro.x) + ny * (p.y - centro.y) < 0) {
        nx = -nx;
        ny = -ny;
    }
    const punto n = tr.ruota({nx, ny});
    return marcatore_piano{tr.in_svg(p), {n.x, -n.y}, indice, {}};
}

void disponi_cippi(const tracciato& t, const elementi_scenario& e, disegno_planimetria& d,
                   punto centro) {
    // A post every kilometre: the page shows those that find room at its zoom.
    constexpr double passo = 1000;
    const double fine_tracciato =
        std::min(static_cast<double>(e.fine_asse), static_cast<double>(d.ultimo_metro));
    for (const tratto_progressiva& tratto :
         tratti_progressiva(e.sistemi, static_cast<double>(e.fine_asse))) {
        const sistema_progressiva s = tratto.sistema.value_or(sistema_progressiva{});
        const double fine = std::min(tratto.fine, fine_tracciato);
        if (fine <= tratto.inizio)
            continue;
        const double r1 = progressiva_al_metro(e.sistemi, tratto.inizio);
        const double r2 = s.decrescente ? r1 - (fine - tratto.inizio) : r1 + (fine - tratto.inizio);
        for (double lettura = std::ceil(std::min(r1, r2) / passo) * passo;
             lettura <= std::max(r1, r2); lettura += passo) {
            const double metro = s.decrescente ? static_cast<double>(s.offset) - lettura
                                               : lettura - static_cast<double>(s.offset);
            // A stretch's end belongs to the next one, except at the end of the track.
            if (metro < tratto.inizio || metro > fine || (metro == fine && fine < fine_tracciato))
                continue;
            if (d.cippi.size() >= cippi_massimi)
                break;
            if (const auto m = marcatore(t, d.trasformazione, centro, metro, 0))
                d.cippi.push_back({m->posizione, m->normale, lettura / 1000, metro, {}});
        }
    }
    std::sort(d.cippi.begin(), d.cippi.end(),
              [](const cippo_piano& a, const cippo_piano& b) { return a.metro < b.metro; });
}

// The station names, all of them, in route order, each where it covers neither the track, a
// dot nor another name if it can. The kilometre readings, one a kilometre, go on the outer side
// of their post: the page shows those that find room at its zoom.
void colloca_etichette(const elementi_scenario& e, disegno_planimetria& d) {
    spazio_occupato occupato;
    occupato.aggiungi_linea(d.percorso, 4);
    occupato.aggiungi_linea(d.oltre, 3);
    for (const marcatore_piano& m : d.stazioni) {
        const double r = raggio_stazione + 1;
        occupato.aggiungi(
            {m.posizione.x - r, m.posizione.y - r, m.posizione.x + r, m.posizione.y + r});
    }
    for (const marcatore_piano& m : d.segnali) {
        const double r = raggio_segnale;
        occupato.aggiungi(
            {m.posizione.x - r, m.posizione.y - r, m.posizione.x + r, m.posizione.y + r});
    }
    for (marcatore_piano& m : d.stazioni) {
        const std::string& nome = e.stazioni[static_cast<std::size_t>(m.indice)].nome;
        m.etichetta = colloca_etichetta(m.posizione, m.normale,
                                        larghezza_testo(nome, dimensione_nome_stazione),
                                        dimensione_nome_stazione, occupato, true);
    }
    spazio_occupato libero;
    for (cippo_piano& c : d.cippi) {
        const std::string testo = std::to_string(std::llround(c.chilometro));
        c.etichetta =
            colloca_etichetta(c.posizione, c.normale, larghezza_testo(testo, dimensione_cippo),
                              dimensione_cippo, libero, true);
    }
}

// The extent of the points turned by the transformation's rotation.
estensione_piano estensione_girata(std::span<const punto> punti, const trasformazione_piano& tr,
                                   std::size_t passo = 1) {
    estensione_piano e{INFINITY, -INFINITY, INFINITY, -INFINITY};
    for (std::size_t i = 0; i < punti.size(); i += passo) {
        const punto r = tr.ruota(punti[i]);
        e = {std::min(e.x_min, r.x), std::max(e.x_max, r.x), std::min(e.y_min, r.y),
             std::max(e.y_max, r.y)};
    }
    return e;
}

// The scale at which the points turned by `tr` fit a box of `utile_x` by `utile_y`.
double scala_adatta(std::span<const punto> punti, const trasformazione_piano& tr, double utile_x,
                    double utile_y, std::size_t passo) {
    const estensione_piano e = estensione_girata(punti, tr, passo);
    const double dx = e.x_max - e.x_min, dy = e.y_max - e.y_min;
    return std::min(dx > 0 ? utile_x / dx : INFINITY, dy > 0 ? utile_y / dy : INFINITY);
}

// The rotation (cosine, sine) that lets the line fill the box. The plan view stays as it is
// unless a turn draws it at least a quarter larger; then the line's ends are laid level, from
// left to right as the profile runs, unless that draws it much smaller than the best of the
// whole degrees (tried on a sample of the points), which is taken instead.
std::pair<double, double> rotazione_migliore(std::span<const punto> punti, double utile_x,
                                             double utile_y) {
    constexpr double guadagno_minimo = 1.25;
    constexpr double perdita_ammessa = 0.8;
    constexpr std::size_t campioni = 4000;
    const std::size_t passo = std::max<std::size_t>(1, punti.size() / campioni);
    auto girata = [](double radianti) {
        trasformazione_piano tr;
        tr.coseno = std::cos(radianti);
        tr.seno = std::sin(radianti);
        return tr;
    };
    const double diritta = scala_adatta(punti, {}, utile_x, utile_y, passo);
    double migliore = diritta;
    double angolo_migliore = 0;
    for (int gradi = 1; gradi < 360; ++gradi) {
        const double a = gradi * std::numbers::pi / 180;
        const double s = scala_adatta(punti, girata(a), utile_x, utile_y, passo);
        if (s > migliore) {
            migliore = s;
            angolo_migliore = a;
        }
    }
    if (!std::isfinite(migliore) || !(migliore > 0) || !(migliore >= guadagno_minimo * diritta))
        return {1.0, 0.0};
    const punto corda{punti.back().x - punti.front().x, punti.back().y - punti.front().y};
    if (corda.x != 0 || corda.y != 0) {
        const double livellata = -std::atan2(corda.y, corda.x);
        if (scala_adatta(punti, girata(livellata), utile_x, utile_y, passo) >=
            perdita_ammessa * migliore)
            angolo_migliore = livellata;
    }
    trasformazione_piano tr = girata(angolo_migliore);
    if (tr.ruota(punti.back()).x < tr.ruota(punti.front()).x)
        return {-tr.coseno, -tr.seno};
    return {tr.coseno, tr.seno};
}

} // namespace

double trasformazione_piano::gradi() const {
    return std::atan2(seno, coseno) * 180 / std::numbers::pi;
}

std::optional<punto> punto_planimetria(const costruzione& c, std::int64_t metro) {
    const asse_planimetria& x = c.planimetria[asse_x];
    const asse_planimetria& y = c.planimetria[asse_y];
    if (metro < 0 || static_cast<std::size_t>(metro) >= std::min(x.size(), y.size()))
        return std::nullopt;
    const auto m = static_cast<std::size_t>(metro);
    if (x.tipo(m) == tipo_valore::vuoto || y.tipo(m) == tipo_valore::vuoto)
        return std::nullopt;
    const punto p{x.numero(m), y.numero(m)};
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::nullopt;
    return p;
}

disegno_planimetria disegna_planimetria(const costruzione& c, const elementi_scenario& e,
                                        double larghezza, double altezza) {
    disegno_planimetria d;
    d.larghezza = larghezza;
    d.altezza = altezza;
    const tracciato t = punti_validi(c);
    if (t.punti.empty())
        return d;
    d.presente = true;
    d.ultimo_metro = t.metri.back();

    estensione_piano& x = d.estensione;
    x.x_min = x.y_min = std::numeric_limits<double>::infinity();
    x.x_max = x.y_max = -std::numeric_limits<double>::infinity();
    for (const punto& p : t.punti) {
        x.x_min = std::min(x.x_min, p.x);
        x.x_max = std::max(x.x_max, p.x);
        x.y_min = std::min(x.y_min, p.y);
        x.y_max = std::max(x.y_max, p.y);
    }

    // One scale for both axes, and the turn that lets it be the largest that fits the box.
    const double utile_x = std::max(larghezza - 2 * margine_laterale, 1.0);
    const double utile_y = std::max(altezza - margine_alto - margine_basso, 1.0);
    trasformazione_piano& tr = d.trasformazione;
    const auto [coseno, seno] = rotazione_migliore(t.punti, utile_x, utile_y);
    tr.coseno = coseno;
    tr.seno = seno;
    const estensione_piano girata = estensione_girata(t.punti, tr);
    const double dx = girata.x_max - girata.x_min;
    const double dy = girata.y_max - girata.y_min;
    double scala = std::min(dx > 0 ? utile_x / dx : INFINITY, dy > 0 ? utile_y / dy : INFINITY);
    if (!std::isfinite(scala))
        scala = 1;
    tr.scala = scala;
    tr.x0 = larghezza / 2 - (girata.x_min + girata.x_max) / 2 * scala;
    tr.y0 = margine_alto + utile_y / 2 + (girata.y_min + girata.y_max) / 2 * scala;
    d.tolleranza = std::min(tolleranza_svg / scala, 2.0);

    const std::int64_t fine_percorso = std::min(e.lunghezza_percorso, d.ultimo_metro);
    d.percorso = tratto_sfoltito(t, 0, fine_percorso, tr, d.tolleranza);
    if (d.percorso.empty())
        d.percorso.push_back(tr.in_svg(t.punti.front()));
    d.oltre = tratto_sfoltito(t, fine_percorso, d.ultimo_metro, tr, d.tolleranza);
    for (std::size_t i = 0; i < e.rilievi.size(); ++i) {
        const tratto_disegno& r = e.rilievi[i];
        if (!r.galleria)
            continue;
        std::vector<punto> g = tratto_sfoltito(t, r.inizio, r.fine, tr, d.tolleranza);
        if (!g.empty())
            d.gallerie.push_back({static_cast<int>(i), std::move(g)});
    }

    for (std::size_t i = 0; i < t.punti.size(); ++i) {
        const auto km = static_cast<std::size_t>(t.metri[i] / 1000);
        if (km >= d.riquadri_km.size())
            d.riquadri_km.resize(km + 1, riquadro{INFINITY, INFINITY, -INFINITY, -INFINITY});
        const punto p = tr.in_svg(t.punti[i]);
        riquadro& r = d.riquadri_km[km];
        r = {std::min(r.x1, p.x), std::min(r.y1, p.y), std::max(r.x2, p.x), std::max(r.y2, p.y)};
    }

    const punto centro{(x.x_min + x.x_max) / 2, (x.y_min + x.y_max) / 2};
    for (std::size_t i = 0; i < e.stazioni.size(); ++i)
        if (const auto m = marcatore(t, tr, centro, e.stazioni[i].posizione, static_cast<int>(i)))
            d.stazioni.push_back(*m);
    for (std::size_t i = 0; i < e.segnali.size(); ++i)
        if (const auto m = marcatore(t, tr, centro, static_cast<double>(e.segnali[i].metro),
                                     static_cast<int>(i)))
            d.segnali.push_back(*m);
    disponi_cippi(t, e, d, centro);
    colloca_etichette(e, d);

    d.barra_metri = passo_tondo(barra_minima_svg / scala);
    d.barra_svg = d.barra_metri * scala;
    return d;
}

} // namespace corvenna
