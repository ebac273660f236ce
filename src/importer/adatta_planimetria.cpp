#include "importer/adatta_planimetria.hpp"
#include "importer/numeri_importati.hpp"

#include "importer/segmentazione.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace corvenna {

namespace {

// Curvature per metre of the classes 1 to 6, as the compiler reads them.
constexpr std::array<double, 7> curvature_classi = {0.0,   0.0001, 0.0002, 0.0004,
                                                    0.001, 0.002,  0.003};

// How the path is smoothed and followed. Points that lie on a smooth curve (a drawn or
// surveyed line) are smoothed narrowly and followed tightly, so that every bend is kept; points
// scattered about it (a traced or measured track) are smoothed wider and followed more
// loosely, so that the scatter averages out instead of turning into curve rows.
struct regolazione {
    // The width of the Gaussian weights of the local quadratic fit. A quadratic follows a
    // circle over a few tens of metres to within millimetres, so the fit keeps an arc's radius.
    double larghezza;
    // The steering loop: a second-order response along the track with this natural length.
    double lunghezza_risposta;
    // How far past the midpoint between two curvatures the wanted one must go before the class
    // changes, as a share of their gap: holds a class over tens of metres instead of changing
    // it at every metre. Below one half, or the loop could hold a class it should leave.
    double isteresi;
    // The half-span, in metres, over which the path's curvature is taken from its heading.
    std::size_t semiampiezza_curvatura;
};
constexpr regolazione regolazione_esatta{6, 22, 0.3, 10};
constexpr regolazione regolazione_dispersa{40, 30, 0.45, 20};
// The tolerance the exact points' response length stands for; the response length grows with
// the square root of the tolerance, as the offset a class held too long makes grows with the
// square of its length.
constexpr double tolleranza_esatta = 0.5;
// The alignment of scattered points: the heading sampled every `passo_direzioni` metres, pieces
// of `pezzo_minimo` to `pezzo_massimo` samples, the penalty `fattore_penalita` times the
// heading's noise variance, its correlation length in samples and the log of the samples (the
// Bayesian information criterion, for samples that are not independent). A piece's curvature
// counts when it is `soglia_curvatura` standard errors from none.
constexpr double passo_direzioni = 10;
constexpr std::size_t pezzo_minimo = 3;
constexpr std::size_t pezzo_massimo = 300;
constexpr double fattore_penalita = 4;
constexpr double soglia_curvatura = 3;
// Half the length over which two pieces' curvatures are joined, in metres, and how far from
// where the segmentation put a join it may move to where the pieces meet.
constexpr double semiraccordo = 20;
constexpr double ricerca_raccordo = 150;
// The curvature of the tightest class, with the margin a fit of points leaves it.
constexpr double curvatura_stretta = 0.003 * 1.03;
// The median distance of the points from a wide fit through their neighbours above which they
// count as scattered.
constexpr double soglia_dispersione = 0.05;
constexpr double smorzamento = 0.9;

double curvatura_livello(int livello) {
    const double k = curvature_classi[static_cast<std::size_t>(std::abs(livello))];
    return livello < 0 ? -k : k;
}

// The smoothed path on a grid of at most a metre: position, heading (radians, counterclockwise
// from +x, unwrapped), curvature (positive to the left) and arc length.
struct riferimento {
    std::vector<punto_piano> punti;
    std::vector<double> direzione;
    std::vector<double> curvatura;
    std::vector<double> ascissa;
};

struct stima_locale {
    punto_piano valore;
    punto_piano derivata;
};

// The weighted least-squares quadratic of x and y in the chord parameter, around `t`.
stima_locale stima_quadratica(std::span<const punto_piano> punti, std::span<const double> corda,
                              std::size_t da, std::size_t a, double t, double larghezza) {
    double scostamento_massimo = 0;
    for (std::size_t i = da; i <= a; ++i)
        scostamento_massimo = std::max(scostamento_massimo, std::abs(corda[i] - t));
    // Where points are sparse the window widens, so that its farthest point still counts.
    const double sigma = std::max(larghezza, scostamento_massimo / 2);
    const punto_piano origine = punti[da];
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    double x0 = 0, x1 = 0, x2 = 0, y0 = 0, y1 = 0, y2 = 0;
    for (std::size_t i = da; i <= a; ++i) {
        const double u = corda[i] - t;
        const double w = std::exp(-0.5 * (u / sigma) * (u / sigma));
        const double x = punti[i].x - origine.x;
        const double y = punti[i].y - origine.y;
        s0 += w;
        s1 += w * u;
        s2 += w * u * u;
        s3 += w * u * u * u;
        s4 += w * u * u * u * u;
        x0 += w * x;
        x1 += w * x * u;
        x2 += w * x * u * u;
        y0 += w * y;
        y1 += w * y * u;
        y2 += w * y * u * u;
    }
    // Cramer's rule on the normal equations; two points (or a degenerate spread) take the
    // straight line through them instead.
    const double det =
        s0 * (s2 * s4 - s3 * s3) - s1 * (s1 * s4 - s3 * s2) + s2 * (s1 * s3 - s2 * s2);
    const double scala = s0 * s2 * s4;
    stima_locale stima;
    if (a - da >= 2 && std::abs(det) > 1e-9 * scala) {
        auto risolvi = [&](double b0, double b1, double b2, double& valore, double& derivata) {
            valore =
                (b0 * (s2 * s4 - s3 * s3) - s1 * (b1 * s4 - s3 * b2) + s2 * (b1 * s3 - s2 * b2)) /
                det;
            derivata =
                (s0 * (b1 * s4 - b2 * s3) - b0 * (s1 * s4 - s3 * s2) + s2 * (s1 * b2 - b1 * s2)) /
                det;
        };
        risolvi(x0, x1, x2, stima.valore.x, stima.derivata.x);
        risolvi(y0, y1, y2, stima.valore.y, stima.derivata.y);
    } else {
        const double d = s0 * s2 - s1 * s1;
        stima.valore = {(x0 * s2 - s1 * x1) / d, (y0 * s2 - s1 * y1) / d};
        stima.derivata = {(s0 * x1 - s1 * x0) / d, (s0 * y1 - s1 * y0) / d};
    }
    stima.valore.x += origine.x;
    stima.valore.y += origine.y;
    return stima;
}

// The window of points around `t` for a width: every point within three widths, and at least
// two points on each side of `t` where the path has them.
struct finestra {
    std::size_t da = 0, a = 0;
};

finestra finestra_intorno(std::span<const double> corda, double t, double larghezza,
                          std::size_t& da, std::size_t& a) {
    const std::size_t n = corda.size();
    while (da + 1 < n && corda[da + 1] < t - 3 * larghezza)
        ++da;
    while (a + 1 < n && corda[a + 1] <= t + 3 * larghezza)
        ++a;
    std::size_t seguente = da;
    while (seguente < n && corda[seguente] < t)
        ++seguente;
    return {std::min(da, seguente >= 2 ? seguente - 2 : 0),
            std::max(a, std::min(n - 1, seguente + 1))};
}

// The width of the smoothing for these points: narrow where they lie on a smooth curve (a
// drawn or surveyed line), so that the fit keeps every bend, wide where they scatter about it
// (a traced or measured track), so that the scatter averages out. The scatter is the median
// distance of the points from a wide fit through their neighbours.
regolazione regolazione_per(std::span<const punto_piano> punti, std::span<const double> corda) {
    const double larghezza_smussatura = 20;
    std::vector<double> residui;
    residui.reserve(punti.size());
    std::size_t da = 0, a = 0;
    for (std::size_t i = 0; i < punti.size(); ++i) {
        const finestra f = finestra_intorno(corda, corda[i], larghezza_smussatura, da, a);
        if (f.a - f.da < 4)
            continue;
        const stima_locale s =
            stima_quadratica(punti, corda, f.da, f.a, corda[i], larghezza_smussatura);
        residui.push_back(std::hypot(punti[i].x - s.valore.x, punti[i].y - s.valore.y));
    }
    if (residui.empty())
        return regolazione_esatta;
    std::nth_element(residui.begin(), residui.begin() + residui.size() / 2, residui.end());
    return residui[residui.size() / 2] < soglia_dispersione ? regolazione_esatta
                                                            : regolazione_dispersa;
}

riferimento smussa(std::span<const punto_piano> punti, std::span<const double> corda,
                   const regolazione& regola) {
    const double totale = corda.back();
    const std::size_t passi = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(totale)));
    riferimento r;
    r.punti.resize(passi + 1);
    r.direzione.resize(passi + 1);
    const double larghezza = regola.larghezza;
    std::size_t da = 0, a = 0;
    for (std::size_t j = 0; j <= passi; ++j) {
        const double t = totale * static_cast<double>(j) / static_cast<double>(passi);
        const finestra f = finestra_intorno(corda, t, larghezza, da, a);
        const stima_locale s = stima_quadratica(punti, corda, f.da, f.a, t, larghezza);
        r.punti[j] = s.valore;
        r.direzione[j] = std::atan2(s.derivata.y, s.derivata.x);
        if (j > 0) {
            const double salto = r.direzione[j] - r.direzione[j - 1];
            r.direzione[j] -= 2 * std::numbers::pi * std::round(salto / (2 * std::numbers::pi));
        }
    }
    r.ascissa.resize(passi + 1);
    r.ascissa[0] = 0;
    for (std::size_t j = 1; j <= passi; ++j)
        r.ascissa[j] = r.ascissa[j - 1] +
                       std::hypot(r.punti[j].x - r.punti[j - 1].x, r.punti[j].y - r.punti[j - 1].y);
    r.curvatura.resize(passi + 1);
    const std::size_t h = regola.semiampiezza_curvatura;
    for (std::size_t j = 0; j <= passi; ++j) {
        const std::size_t prima = j >= h ? j - h : 0;
        const std::size_t dopo = std::min(passi, j + h);
        const double arco = r.ascissa[dopo] - r.ascissa[prima];
        r.curvatura[j] = arco > 0 ? (r.direzione[dopo] - r.direzione[prima]) / arco : 0;
    }
    return r;
}

// The alignment of scattered points as straights and arcs: `r` (the smoothed path on its grid)
// becomes the fitted pieces, joined by short changes of curvature. Gives the pieces' curves
// tighter than the tightest class.
std::vector<planimetria_adattata::curva_stretta> rettifica(riferimento& r) {
    const std::size_t passi = r.punti.size() - 1;
    const auto passo = static_cast<std::size_t>(passo_direzioni);
    std::vector<campione_segmentato> campioni;
    for (std::size_t j = 0; j <= passi; j += passo)
        campioni.push_back({r.ascissa[j], r.direzione[j], 1});
    const std::size_t n = campioni.size();
    if (n < 2 * pezzo_minimo)
        return {};

    // The heading's noise: what a second difference over the smoothing's reach leaves, robustly
    // (an arc's heading is linear and leaves nothing; the joins are the outliers).
    const std::size_t ritardo = std::max<std::size_t>(
        1,
        static_cast<std::size_t>(std::ceil(2 * regolazione_dispersa.larghezza / passo_direzioni)));
    std::vector<double> differenze;
    for (std::size_t j = ritardo; j + ritardo < n; ++j)
        differenze.push_back(
            std::abs(campioni[j].y - (campioni[j - ritardo].y + campioni[j + ritardo].y) / 2));
    const double sigma = 1.4826 * mediana(differenze) / std::sqrt(1.5);
    const double varianza = std::max(sigma * sigma, 1e-12);
    const auto correlazione = static_cast<double>(ritardo);

    const regole_segmentazione regole{fattore_penalita * varianza * correlazione *
                                          std::log(static_cast<double>(n)),
                                      pezzo_minimo, pezzo_massimo};
    std::vector<pezzo> pezzi = segmenta(campioni, regole);
    const somme_campioni somme(campioni);
    for (pezzo& p : pezzi) {
        // The standard error of the slope for correlated samples.
        double sxx = 0;
        for (std::size_t k = p.da; k < p.a; ++k)
            sxx += (campioni[k].x - p.x0) * (campioni[k].x - p.x0);
        const double errore = sxx > 0 ? std::sqrt(varianza * correlazione / sxx) : 1e300;
        if (std::abs(p.pendenza) < soglia_curvatura * errore)
            p = somme.adatta_con_pendenza(p.da, p.a, 0);
    }

    // Each piece on the grid: its heading, and its points from integrating the heading, moved by
    // least squares onto the smoothed points of its stretch.
    struct primitiva {
        std::size_t da = 0, a = 0; // grid indices [da, a)
        double x0 = 0, quota = 0, curvatura = 0;
        double ascissa_da = 0;
        punto_piano spostamento;
        double direzione(double s) const { return quota + curvatura * (s - x0); }
        // The point at arc length s from the start of the stretch, before the move.
        punto_piano integrato(double s) const {
            const double t0 = direzione(ascissa_da), t1 = direzione(s);
            const double l = s - ascissa_da;
            if (std::abs(curvatura) < 1e-12)
                return {l * std::cos(t0), l * std::sin(t0)};
            return {(std::sin(t1) - std::sin(t0)) / curvatura,
                    (std::cos(t0) - std::cos(t1)) / curvatura};
        }
        punto_piano punto(double s) const {
            const punto_piano q = integrato(s);
            return {q.x + spostamento.x, q.y + spostamento.y};
        }
    };
    std::vector<primitiva> primitive;
    std::vector<planimetria_adattata::curva_stretta> strette;
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        primitiva q;
        q.da = pezzi[k].da * passo;
        q.a = k + 1 < pezzi.size() ? pezzi[k].a * passo : passi + 1;
        q.x0 = pezzi[k].x0;
        q.quota = pezzi[k].quota;
        q.curvatura = pezzi[k].pendenza;
        q.ascissa_da = r.ascissa[q.da];
        double sx = 0, sy = 0;
        for (std::size_t j = q.da; j < q.a; ++j) {
            const punto_piano i = q.integrato(r.ascissa[j]);
            sx += r.punti[j].x - i.x;
            sy += r.punti[j].y - i.y;
        }
        const auto quanti = static_cast<double>(q.a - q.da);
        q.spostamento = {sx / quanti, sy / quanti};
        if (std::abs(q.curvatura) > curvatura_stretta)
            strette.push_back({q.ascissa_da, 1 / std::abs(q.curvatura)});
        primitive.push_back(q);
    }

    // Each join moves to where the two pieces come nearest within `ricerca_raccordo` metres of
    // where the segmentation put it: an arc and a straight meet at the arc's tangent point,
    // which the noise of the heading places only roughly.
    for (std::size_t k = 0; k + 1 < primitive.size(); ++k) {
        primitiva& q = primitive[k];
        primitiva& dopo = primitive[k + 1];
        const std::size_t minimo = q.da + 2 * static_cast<std::size_t>(semiraccordo);
        const std::size_t massimo = dopo.a > 2 * static_cast<std::size_t>(semiraccordo) + 1
                                        ? dopo.a - 2 * static_cast<std::size_t>(semiraccordo) - 1
                                        : 0;
        const auto ricerca = static_cast<std::size_t>(ricerca_raccordo);
        std::size_t migliore = q.a;
        double distanza_migliore = 1e300;
        for (std::size_t j = std::max(minimo, q.a > ricerca ? q.a - ricerca : 0);
             j <= std::min(massimo, q.a + ricerca); ++j) {
            const punto_piano u = q.punto(r.ascissa[j]), v = dopo.punto(r.ascissa[j]);
            const double d = std::hypot(u.x - v.x, u.y - v.y);
            if (d < distanza_migliore) {
                distanza_migliore = d;
                migliore = j;
            }
        }
        q.a = dopo.da = migliore;
    }

    // The grid takes the pieces; around each join the two pieces are blended over twice
    // `semiraccordo`, position, heading and curvature.
    const auto raccordo = static_cast<std::size_t>(semiraccordo);
    for (std::size_t k = 0; k < primitive.size(); ++k) {
        const primitiva& q = primitive[k];
        for (std::size_t j = q.da; j < q.a; ++j) {
            const double s = r.ascissa[j];
            punto_piano p = q.punto(s);
            double d = q.direzione(s), c = q.curvatura;
            const primitiva* altra = nullptr;
            double t = 0; // the other piece's share
            if (k + 1 < primitive.size() && j + raccordo >= q.a) {
                altra = &primitive[k + 1];
                t = 0.5 * (1 - static_cast<double>(q.a - j) / static_cast<double>(raccordo + 1));
            } else if (k > 0 && j < q.da + raccordo) {
                altra = &primitive[k - 1];
                t = 0.5 *
                    (1 - static_cast<double>(j - q.da + 1) / static_cast<double>(raccordo + 1));
            }
            if (altra && t > 0) {
                const punto_piano o = altra->punto(s);
                p = {p.x + t * (o.x - p.x), p.y + t * (o.y - p.y)};
                d += t * (altra->direzione(s) - d);
                c += t * (altra->curvatura - c);
            }
            r.punti[j] = p;
            r.direzione[j] = d;
            r.curvatura[j] = c;
        }
    }
    return strette;
}

// Curves of a smoothed path tighter than the tightest class, over at least 20 m: where they
// start and their tightest radius.
std::vector<planimetria_adattata::curva_stretta> curve_strette(const riferimento& r) {
    std::vector<planimetria_adattata::curva_stretta> strette;
    const std::size_t n = r.curvatura.size();
    for (std::size_t j = 0; j < n;) {
        if (std::abs(r.curvatura[j]) <= curvatura_stretta) {
            ++j;
            continue;
        }
        std::size_t fine = j;
        double massima = 0;
        while (fine < n && std::abs(r.curvatura[fine]) > curvatura_stretta &&
               (r.curvatura[fine] > 0) == (r.curvatura[j] > 0)) {
            massima = std::max(massima, std::abs(r.curvatura[fine]));
            ++fine;
        }
        if (r.ascissa[fine - 1] - r.ascissa[j] >= 20)
            strette.push_back({r.ascissa[j], 1 / massima});
        j = fine;
    }
    return strette;
}

// Moves the path so that it starts at the origin heading along +y, the plan view's frame.
void porta_nel_piano(riferimento& r, std::vector<punto_piano>& punti) {
    const punto_piano origine = r.punti[0];
    const double rotazione = std::numbers::pi / 2 - r.direzione[0];
    const double c = std::cos(rotazione), s = std::sin(rotazione);
    auto ruota = [&](punto_piano& p) {
        const double x = p.x - origine.x, y = p.y - origine.y;
        p = {c * x - s * y, s * x + c * y};
    };
    for (punto_piano& p : r.punti)
        ruota(p);
    for (punto_piano& p : punti)
        ruota(p);
    for (double& d : r.direzione)
        d += rotazione;
}

// Where each point lies against a polyline that runs the same way: its distance and the
// polyline's metre (fractional) nearest to it, found by walking the polyline forward with the
// points.
struct posizione_sul_tracciato {
    double distanza = 0;
    double metro = 0;
};

std::vector<posizione_sul_tracciato>
posizioni_sul_tracciato(std::span<const punto_piano> punti,
                        std::span<const punto_piano> tracciato) {
    std::vector<posizione_sul_tracciato> posizioni(punti.size());
    auto sul_segmento = [&](const punto_piano& p, std::size_t i) {
        const punto_piano& a = tracciato[i];
        const punto_piano& b = tracciato[i + 1];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double l2 = dx * dx + dy * dy;
        double f = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
        f = std::clamp(f, 0.0, 1.0);
        return posizione_sul_tracciato{std::hypot(p.x - a.x - f * dx, p.y - a.y - f * dy),
                                       static_cast<double>(i) + f};
    };
    const std::size_t segmenti = tracciato.size() - 1;
    // Looking ahead this far past a local rise of the distance keeps the walk from stopping at
    // a point that lies off the track.
    constexpr std::size_t avanti = 64;
    std::size_t q = 0;
    for (std::size_t i = 0; i < punti.size(); ++i) {
        posizione_sul_tracciato migliore = sul_segmento(punti[i], q);
        std::size_t dove = q;
        for (std::size_t k = q + 1; k < segmenti && k <= dove + avanti; ++k) {
            const posizione_sul_tracciato p = sul_segmento(punti[i], k);
            if (p.distanza < migliore.distanza) {
                migliore = p;
                dove = k;
            }
        }
        q = dove;
        posizioni[i] = migliore;
    }
    return posizioni;
}

} // namespace

std::vector<punto_piano> integra_curve(std::span<const riga_curva> curve, std::int32_t lunghezza) {
    std::vector<punto_piano> piano(static_cast<std::size_t>(std::max(lunghezza, 1)) + 1);
    piano[0] = {0, 0};
    piano[1] = {0, 1};
    std::size_t riga = 0;
    for (std::size_t m = 2; m < piano.size(); ++m) {
        while (riga < curve.size() &&
               static_cast<std::size_t>(curve[riga].inizio + curve[riga].lunghezza) < m)
            ++riga;
        const punto_piano& p1 = piano[m - 1];
        const double dx = p1.x - piano[m - 2].x, dy = p1.y - piano[m - 2].y;
        if (riga < curve.size() && static_cast<std::size_t>(curve[riga].inizio) < m) {
            double k = curvature_classi[static_cast<std::size_t>(curve[riga].classe)];
            if (curve[riga].sinistra)
                k = -k;
            piano[m] = {p1.x + dx + k * dy, p1.y + dy - k * dx};
        } else {
            piano[m] = {p1.x + dx, p1.y + dy};
        }
    }
    return piano;
}

planimetria_adattata adatta_planimetria(std::span<const punto_piano> punti_dati,
                                        const regole_planimetria& regole_date) {
    std::vector<punto_piano> punti(punti_dati.begin(), punti_dati.end());
    std::vector<double> corda(punti.size(), 0.0);
    for (std::size_t i = 1; i < punti.size(); ++i)
        corda[i] =
            corda[i - 1] + std::hypot(punti[i].x - punti[i - 1].x, punti[i].y - punti[i - 1].y);

    regolazione regola = regolazione_per(punti, corda);
    const bool disperso = regola.larghezza == regolazione_dispersa.larghezza;
    riferimento r = smussa(punti, corda, regola);
    std::vector<planimetria_adattata::curva_stretta> strette =
        disperso ? rettifica(r) : curve_strette(r);
    // The noise: how far the points lie from the reference they are fitted to.
    double rumore = 0;
    {
        const std::vector<posizione_sul_tracciato> sul_riferimento =
            posizioni_sul_tracciato(punti, r.punti);
        for (const posizione_sul_tracciato& p : sul_riferimento)
            rumore += p.distanza * p.distanza;
        rumore = std::sqrt(rumore / static_cast<double>(sul_riferimento.size()));
    }
    const double tolleranza =
        regole_date.tolleranza.value_or(disperso ? std::max(1.0, rumore) : tolleranza_esatta);
    regola.lunghezza_risposta = regolazione_esatta.lunghezza_risposta *
                                std::sqrt(std::max(tolleranza, 0.01) / tolleranza_esatta);
    porta_nel_piano(r, punti);
    const std::size_t passi = r.punti.size() - 1;

    // The steering loop, metre by metre, exactly as the compiler will integrate the rows, until
    // the plan passes the end of the path. A curved step is a little longer than a metre and
    // the compiler never shortens it again, so the route is counted in the plan's own metres:
    // those are the positions the rows, the cells and every feature are given in.
    const double ke = 1 / (regola.lunghezza_risposta * regola.lunghezza_risposta);
    const double kd = 2 * smorzamento / regola.lunghezza_risposta;
    const auto metri_massimi = static_cast<std::size_t>(std::ceil(r.ascissa.back())) + 2;
    std::vector<std::int8_t> livelli(2, 0);
    punto_piano p2{0, 0}, p1{0, 1};
    std::size_t j = 0;
    int livello = 0;
    for (std::size_t m = 2; m <= metri_massimi; ++m) {
        // Where the last metre lies against the smoothed path: the segment it projects on.
        double f = 0;
        while (j < passi) {
            const punto_piano& a = r.punti[j];
            const punto_piano& b = r.punti[j + 1];
            const double sx = b.x - a.x, sy = b.y - a.y;
            const double l2 = sx * sx + sy * sy;
            f = l2 > 0 ? ((p1.x - a.x) * sx + (p1.y - a.y) * sy) / l2 : 1;
            if (f <= 1)
                break;
            ++j;
        }
        if (j >= passi)
            break;
        f = std::max(f, 0.0);
        const double theta = r.direzione[j] + f * (r.direzione[j + 1] - r.direzione[j]);
        const double kappa = r.curvatura[j] + f * (r.curvatura[j + 1] - r.curvatura[j]);
        const punto_piano base{r.punti[j].x + f * (r.punti[j + 1].x - r.punti[j].x),
                               r.punti[j].y + f * (r.punti[j + 1].y - r.punti[j].y)};
        const double tx = std::cos(theta), ty = std::sin(theta);
        const double laterale = tx * (p1.y - base.y) - ty * (p1.x - base.x);
        const double dx = p1.x - p2.x, dy = p1.y - p2.y;
        const double angolo = std::atan2(tx * dy - ty * dx, tx * dx + ty * dy);
        const double voluta = kappa - kd * angolo - ke * laterale;

        int migliore = 0;
        for (int l = -6; l <= 6; ++l)
            if (std::abs(voluta - curvatura_livello(l)) <
                std::abs(voluta - curvatura_livello(migliore)))
                migliore = l;
        if (migliore != livello) {
            const double guadagno = std::abs(voluta - curvatura_livello(livello)) -
                                    std::abs(voluta - curvatura_livello(migliore));
            const double salto = std::abs(curvatura_livello(migliore) - curvatura_livello(livello));
            if (guadagno > regola.isteresi * salto)
                livello = migliore;
        }
        livelli.push_back(static_cast<std::int8_t>(livello));
        // The compiler's curvature turns toward +x when positive: right-hand, the opposite of
        // the counterclockwise sense used here.
        const double k = -curvatura_livello(livello);
        const punto_piano nuovo = livello == 0
                                      ? punto_piano{p1.x + dx, p1.y + dy}
                                      : punto_piano{p1.x + dx + k * dy, p1.y + dy - k * dx};
        p2 = p1;
        p1 = nuovo;
    }
    // The last metre computed is the first one at or past the end of the path.
    const std::size_t ultimo_metro = livelli.size() - 1;

    // The rows, to the first metre past the end of the path.
    planimetria_adattata esito;
    esito.rumore = rumore;
    esito.disperso = disperso;
    esito.tolleranza = tolleranza;
    esito.curve_strette = std::move(strette);
    for (std::size_t m = 2; m <= ultimo_metro;) {
        const int l = livelli[m];
        std::size_t fine = m;
        while (fine + 1 <= ultimo_metro && livelli[fine + 1] == l)
            ++fine;
        if (l != 0)
            esito.curve.push_back({static_cast<std::int32_t>(m - 1),
                                   static_cast<std::int32_t>(fine - m + 1), std::abs(l), l > 0});
        m = fine + 1;
    }

    // The points against the plan the compiler will draw from the rows. The route ends at the
    // metre nearest to the path's last point; no row goes past it.
    const std::vector<punto_piano> piano = integra_curve(
        esito.curve, static_cast<std::int32_t>(std::max<std::size_t>(1, ultimo_metro)));
    const std::vector<posizione_sul_tracciato> posizioni = posizioni_sul_tracciato(punti, piano);
    esito.lunghezza =
        std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(posizioni.back().metro)));
    while (!esito.curve.empty() && esito.curve.back().inizio >= esito.lunghezza)
        esito.curve.pop_back();
    if (!esito.curve.empty())
        esito.curve.back().lunghezza =
            std::min(esito.curve.back().lunghezza, esito.lunghezza - esito.curve.back().inizio);
    esito.progressiva.resize(punti.size());
    double somma = 0;
    for (std::size_t i = 0; i < posizioni.size(); ++i) {
        esito.progressiva[i] = posizioni[i].metro;
        if (posizioni[i].distanza > esito.scarto_massimo) {
            esito.scarto_massimo = posizioni[i].distanza;
            esito.punto_scarto_massimo = i;
        }
        somma += posizioni[i].distanza;
    }
    esito.scarto_medio = somma / static_cast<double>(posizioni.size());
    return esito;
}

} // namespace corvenna
