#pragma once

// What the fitting tests share: paths made in the plane and laid on the globe through an
// inverse projection, the fitted rows written into a line description and compiled, and the
// comparison of two plan views once the second is laid on the first.

#include "importer/geometria_importata.hpp"
#include "importer/proiezione.hpp"
#include "model/costruzione.hpp"
#include "support/compila_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvenna::prova {

// A real place for the origin: the tests only need a latitude where the meridians converge.
inline constexpr double longitudine_origine = 11.34;
inline constexpr double latitudine_origine = 44.49;

// Plane points (x east, y north, metres from the origin) to geographic ones, with the heights
// given (one per point, or none).
inline std::vector<punto_geografico> sul_globo(std::span<const punto_piano> piano,
                                               std::span<const double> quote = {}) {
    const auto proiezione = proiezione_locale::centrata(longitudine_origine, latitudine_origine);
    std::vector<punto_geografico> punti = proiezione->inverti(piano);
    for (std::size_t i = 0; i < quote.size() && i < punti.size(); ++i)
        punti[i].quota = quote[i];
    return punti;
}

// The fitted rows as a minimal line description: route length, one kilometric system, the
// curves and the gradients.
inline std::string descrizione_adattata(const geometria_importata& g) {
    std::string t = "[generale]\r\nlunghezza percorso,  " + std::to_string(g.lunghezza) +
                    "\r\nprogressiva chilometrica uno,  0,  0,  0\r\n[curve]\r\n";
    for (const riga_curva& c : g.curve)
        t += "curva" + std::string(c.sinistra ? "s" : "d") + std::to_string(c.classe) + ",  " +
             std::to_string(c.inizio) + ",  " + std::to_string(c.lunghezza) + "\r\n";
    t += "[pendenze]\r\n";
    for (const riga_pendenza& p : g.pendenze)
        t += "pendenza,  " + std::to_string(p.posizione) + ",  " + std::to_string(p.per_mille) +
             "\r\n";
    return t + "[fine]\r\n";
}

// The compiled plan view, metres 0 to `fino_a`.
inline std::vector<punto_piano> piano_compilato(const costruzione& c, std::int32_t fino_a) {
    std::vector<punto_piano> piano;
    for (std::int32_t m = 0; m <= fino_a; ++m)
        piano.push_back({c.planimetria[asse_x].numero(static_cast<std::size_t>(m)),
                         c.planimetria[asse_y].numero(static_cast<std::size_t>(m))});
    return piano;
}

// The heights the cells give, relative to the start, at every cell boundary of the route.
inline std::vector<double> quote_compilate(const costruzione& c) {
    std::vector<double> quote{0.0};
    for (std::size_t i = 0; i + 3 < c.celle.size(); ++i)
        quote.push_back(quote.back() + (c.celle[i].pendenza - 100) * 50.0 / 1000);
    return quote;
}

struct scarti {
    double massimo = 0;
    double medio = 0;
};

// The point of `originale` nearest to `p`, among its segments within a window around metre
// `metro`.
inline punto_piano piu_vicino(std::span<const punto_piano> originale, const punto_piano& p,
                              std::size_t metro) {
    punto_piano migliore{1e300, 1e300};
    double distanza = 1e300;
    const std::size_t da = metro > 400 ? metro - 400 : 0;
    const std::size_t a = std::min(originale.size() - 1, metro + 400);
    for (std::size_t k = da; k < a; ++k) {
        const punto_piano& u = originale[k];
        const punto_piano& v = originale[k + 1];
        const double dx = v.x - u.x, dy = v.y - u.y;
        const double f =
            std::clamp(((p.x - u.x) * dx + (p.y - u.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        const punto_piano q{u.x + f * dx, u.y + f * dy};
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d < distanza) {
            distanza = d;
            migliore = q;
        }
    }
    return migliore;
}

// A point of a plan view at a fractional metre.
inline punto_piano al_metro(std::span<const punto_piano> piano, double metro) {
    const auto i = std::min(piano.size() - 2, static_cast<std::size_t>(std::max(metro, 0.0)));
    const double f = metro - static_cast<double>(i);
    return {piano[i].x + f * (piano[i + 1].x - piano[i].x),
            piano[i].y + f * (piano[i + 1].y - piano[i].y)};
}

// Where one point of the path lies on the original plan view and on the fitted one.
struct corrispondenza {
    double metro_originale = 0;
    double metro_nuovo = 0;
};

// How far `nuovo` lies from `originale`, two plan views of one line, after laying `nuovo` on
// `originale` by the rigid motion that best matches the path's points on the two (the start
// point and direction of a plan view are a choice of frame, and a fit from noisy points may
// choose them a little differently). Every other metre of `nuovo` is measured to the nearest
// point of `originale`.
inline scarti scarto_tra_piani(std::span<const punto_piano> originale,
                               std::span<const punto_piano> nuovo,
                               std::span<const corrispondenza> corrispondenze) {
    double ax = 0, ay = 0, bx = 0, by = 0;
    std::vector<punto_piano> a, b;
    for (const corrispondenza& c : corrispondenze) {
        a.push_back(al_metro(originale, c.metro_originale));
        b.push_back(al_metro(nuovo, c.metro_nuovo));
        ax += a.back().x, ay += a.back().y, bx += b.back().x, by += b.back().y;
    }
    const auto n = static_cast<double>(a.size());
    ax /= n, ay /= n, bx /= n, by /= n;
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double px = b[i].x - bx, py = b[i].y - by;
        const double qx = a[i].x - ax, qy = a[i].y - ay;
        sxx += px * qx + py * qy;
        sxy += px * qy - py * qx;
    }
    const double angolo = std::atan2(sxy, sxx);
    const double c = std::cos(angolo), s = std::sin(angolo);
    std::vector<punto_piano> posato(nuovo.begin(), nuovo.end());
    for (punto_piano& p : posato) {
        const double px = p.x - bx, py = p.y - by;
        p = {ax + c * px - s * py, ay + s * px + c * py};
    }
    scarti esito;
    std::size_t contati = 0;
    for (std::size_t i = 0; i < posato.size(); i += 2) {
        const punto_piano q = piu_vicino(originale, posato[i], i);
        const double d = std::hypot(posato[i].x - q.x, posato[i].y - q.y);
        esito.massimo = std::max(esito.massimo, d);
        esito.medio += d;
        ++contati;
    }
    esito.medio /= static_cast<double>(contati);
    return esito;
}

// The rows meet the compiler's rules: classes 1 to 6, lengths positive, starts ascending
// without overlap, everything within the route; gradients at ascending cell boundaries.
inline void controlla_righe(const geometria_importata& g) {
    std::int32_t fine_precedente = 0;
    for (const riga_curva& c : g.curve) {
        EXPECT_GE(c.classe, 1);
        EXPECT_LE(c.classe, 6);
        EXPECT_GT(c.lunghezza, 0);
        EXPECT_GE(c.inizio, fine_precedente);
        EXPECT_LE(c.inizio + c.lunghezza, g.lunghezza);
        fine_precedente = c.inizio + c.lunghezza;
    }
    ASSERT_FALSE(g.pendenze.empty());
    EXPECT_EQ(g.pendenze.front().posizione, 0);
    for (std::size_t i = 1; i < g.pendenze.size(); ++i) {
        EXPECT_GT(g.pendenze[i].posizione, g.pendenze[i - 1].posizione);
        EXPECT_EQ(g.pendenze[i].posizione % 50, 0);
        EXPECT_LE(g.pendenze[i].posizione, g.lunghezza);
    }
}

} // namespace corvenna::prova
