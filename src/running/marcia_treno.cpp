#include "running/marcia_treno.hpp"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace corvenna {

namespace {

constexpr double g_ms2 = 9.81;
// A train whose forces cannot move it crawls at this speed instead of standing for ever.
constexpr double velocita_minima_ms = 1 / 3.6;
// A braking deceleration that a falling grade brings to nothing is held at this.
constexpr double decelerazione_minima_ms2 = 0.01;

std::size_t cella_di(double metro, std::size_t celle) {
    const double k = std::floor(std::max(metro, 0.0) / 50);
    return std::min(static_cast<std::size_t>(k), celle - 1);
}

// The nodes of a run from `da` to `a`: every `passo` metres from `da`, every cell boundary
// (where the head's gradient and limit change) and every cell boundary plus the length (where
// the tail leaves a cell), merged in order, into `x`.
void nodi(double da, double a, double passo, double lunghezza, std::vector<double>& x) {
    x.clear();
    x.reserve(static_cast<std::size_t>((a - da) / passo + 2 * (a - da) / 50 + 4));
    x.push_back(da);
    double k_passo = 1;
    double k_cella = std::floor(da / 50) + 1;
    double k_coda = std::floor((da - lunghezza) / 50) + 1;
    constexpr double eps = 1e-9;
    for (;;) {
        const double p = da + k_passo * passo;
        const double c = 50 * k_cella;
        const double t = 50 * k_coda + lunghezza;
        const double m = std::min({p, c, t});
        if (m >= a - eps)
            break;
        if (m > x.back() + eps)
            x.push_back(m);
        if (p <= m + eps)
            ++k_passo;
        if (c <= m + eps)
            ++k_cella;
        if (t <= m + eps)
            ++k_coda;
    }
    x.push_back(a);
}

} // namespace

double limite_inferiore_s(const linea_marcia& l, double da_metro, double a_metro) {
    if (l.velocita_kmh.empty())
        return 0;
    if (a_metro < da_metro)
        std::swap(da_metro, a_metro);
    double t = 0;
    for (double x = da_metro; x < a_metro;) {
        const std::size_t k = cella_di(x, l.velocita_kmh.size());
        const double fine = k + 1 == l.velocita_kmh.size()
                                ? a_metro
                                : std::min(a_metro, 50.0 * static_cast<double>(k + 1));
        t += (fine - x) / (l.velocita_kmh[k] / 3.6);
        x = fine;
    }
    return t;
}

double tempo_minimo_s(const linea_marcia& l, const modello_treno& m, double da_metro,
                      double a_metro, double passo_m, std::vector<punto_profilo>* profilo,
                      double tempo_iniziale_s) {
    const std::size_t celle = l.velocita_kmh.size();
    if (celle == 0 || a_metro == da_metro)
        return 0;
    if (a_metro < da_metro)
        std::swap(da_metro, a_metro);
    // Scratch arrays kept from run to run: a long line runs hundreds of sections.
    thread_local std::vector<double> x, limite, pendenza, v;
    nodi(da_metro, a_metro, passo_m, m.lunghezza_m, x);
    const std::size_t passi = x.size() - 1;

    // Per step: the limit (lowest speed over the cells under the train, by a sliding minimum,
    // since head and tail only move forward) and the gradient force with the curve's.
    limite.resize(passi);
    pendenza.resize(passi);
    std::deque<std::size_t> minimi;
    std::size_t prossima = cella_di(x[0] - m.lunghezza_m, celle);
    const double massimo_ms = m.velocita_massima_kmh / 3.6;
    for (std::size_t j = 0; j < passi; ++j) {
        const double mezzo = (x[j] + x[j + 1]) / 2;
        const std::size_t testa = cella_di(mezzo, celle);
        const std::size_t coda = cella_di(mezzo - m.lunghezza_m, celle);
        for (; prossima <= testa; ++prossima) {
            while (!minimi.empty() && l.velocita_kmh[minimi.back()] >= l.velocita_kmh[prossima])
                minimi.pop_back();
            minimi.push_back(prossima);
        }
        while (minimi.front() < coda)
            minimi.pop_front();
        limite[j] = std::min(l.velocita_kmh[minimi.front()] / 3.6, massimo_ms);
        double r = 0;
        if (l.c != nullptr && !l.c->planimetria[asse_x].empty())
            r = resistenza_curva_per_mille(
                raggio_al_metro(*l.c, static_cast<std::int64_t>(std::floor(mezzo))));
        pendenza[j] = l.pendenza_per_mille[testa] + r;
    }
    // Backward: the braking curve into the stop and before every lower limit; a node's limit is
    // the lower of its two steps'.
    const double b = m.frenatura_servizio_ms2;
    v.resize(x.size());
    v[passi] = 0;
    for (std::size_t j = passi; j-- > 0;) {
        const double limite_nodo = j > 0 ? std::min(limite[j - 1], limite[j]) : limite[0];
        v[j] = std::min(limite_nodo, std::sqrt(v[j + 1] * v[j + 1] + 2 * b * (x[j + 1] - x[j])));
    }

    // Forward: full power under the braking curve and the limits.
    const double massa_kg = 1000 * m.massa_t;
    const double massa_efficace_kg = massa_kg * (1 + m.masse_rotanti);
    const auto accelerazione = [&](double u, std::size_t j) {
        const double resistenza = m.davis_a_N + m.davis_b_N_s_m * u + m.davis_c_N_s2_m2 * u * u;
        return (forza_trazione_N(m, u) - resistenza - massa_kg * g_ms2 * pendenza[j] / 1000) /
               massa_efficace_kg;
    };
    double tempo = 0;
    // The profile's points, at the nodes on the metres that are multiples of 10.
    double prossimo_punto = 10 * std::ceil(x[0] / 10);
    const auto aggiungi_punto = [&](std::size_t j) {
        if (profilo == nullptr || x[j] < prossimo_punto)
            return;
        if (x[j] == prossimo_punto && (profilo->empty() || profilo->back().metro != x[j]))
            profilo->push_back({x[j], v[j] * 3.6, tempo_iniziale_s + tempo});
        prossimo_punto = 10 * std::floor(x[j] / 10) + 10;
    };
    double corrente = 0;
    v[0] = 0;
    aggiungi_punto(0);
    for (std::size_t j = 0; j < passi; ++j) {
        const double h = x[j + 1] - x[j];
        const double tetto = v[j + 1];
        const double k1 = accelerazione(corrente, j);
        const double previsto =
            std::min(std::sqrt(std::max(corrente * corrente + 2 * k1 * h, 0.0)), tetto);
        const double k2 = accelerazione(previsto, j);
        const double e = corrente * corrente + h * (k1 + k2);
        double prossimo = std::min(std::sqrt(std::max(e, 0.0)), tetto);
        if (j + 1 < passi)
            prossimo = std::max(prossimo, std::min(velocita_minima_ms, tetto));
        tempo += 2 * h / std::max(corrente + prossimo, velocita_minima_ms);
        corrente = prossimo;
        v[j + 1] = prossimo;
        aggiungi_punto(j + 1);
    }
    return tempo;
}

std::vector<tratta_marcia> tratte_orario(const linea_marcia& l) {
    std::vector<tratta_marcia> tratte;
    for (std::size_t i = 1; i < l.fermate.size(); ++i) {
        const fermata_marcia& p = l.fermate[i - 1];
        const fermata_marcia& q = l.fermate[i];
        tratta_marcia t;
        t.voce_da = p.voce;
        t.voce_a = q.voce;
        t.da = p.nome;
        t.a = q.nome;
        t.da_metro = p.metro;
        t.a_metro = q.metro;
        t.partenza_s = p.partenza_s;
        t.arrivo_s = q.arrivo_s;
        t.orario_s = static_cast<double>(q.arrivo_s) - p.partenza_s;
        t.limite_s =
            limite_inferiore_s(l, static_cast<double>(p.metro), static_cast<double>(q.metro));
        tratte.push_back(std::move(t));
    }
    return tratte;
}

std::vector<segnale_marcia> frenature_segnali(const linea_marcia& l, const modello_treno& m,
                                              double frenatura_emergenza_ms2) {
    std::vector<segnale_marcia> segnali;
    const std::size_t celle = l.velocita_kmh.size();
    for (const coppia_segnali& s : l.segnali) {
        segnale_marcia r;
        r.cella_avviso = s.cella_avviso;
        r.avviso_metro = s.avviso_metro;
        r.principale_metro = s.principale_metro;
        // The speed of the stretch that holds the distant signal's metre.
        const std::size_t k = cella_di(static_cast<double>(s.avviso_metro), celle);
        r.velocita_kmh = std::min<double>(l.velocita_kmh[k], m.velocita_massima_kmh);
        // The mean gradient of the cells under [avviso, principale).
        const std::size_t prima = k;
        const std::size_t ultima =
            std::max(prima, cella_di(static_cast<double>(s.principale_metro) - 1, celle));
        double somma = 0;
        for (std::size_t j = prima; j <= ultima; ++j)
            somma += l.pendenza_per_mille[j];
        r.pendenza_media_per_mille = somma / static_cast<double>(ultima - prima + 1);
        const double v = r.velocita_kmh / 3.6;
        const double decelerazione =
            std::max(frenatura_emergenza_ms2 + g_ms2 * r.pendenza_media_per_mille / 1000,
                     decelerazione_minima_ms2);
        r.frenatura_m = v * m.tempo_reazione_s + v * v / (2 * decelerazione);
        r.disponibile_m = static_cast<double>(s.principale_metro - s.avviso_metro);
        r.margine_m = r.disponibile_m - r.frenatura_m;
        segnali.push_back(r);
    }
    return segnali;
}

namespace {

void completa_margine(tratta_marcia& t, double minimo_s) {
    t.minimo_s = minimo_s;
    t.margine_s = t.orario_s - minimo_s;
    t.margine_percento = minimo_s > 0 ? 100 * t.margine_s / minimo_s : 0;
}

} // namespace

esito_marcia marcia(const costruzione& c, const modello_treno& m, double passo_m) {
    return marcia_linea(linea_di_marcia(c), m, frenatura_emergenza(m, c), passo_m);
}

esito_marcia marcia_linea(const linea_marcia& l, const modello_treno& m,
                          double frenatura_emergenza_ms2, double passo_m) {
    esito_marcia e;
    e.modello = m;
    e.frenatura_emergenza_ms2 = frenatura_emergenza_ms2;
    e.tratte = tratte_orario(l);
    double percorso_m = 0;
    for (const tratta_marcia& t : e.tratte)
        percorso_m += std::abs(static_cast<double>(t.a_metro - t.da_metro));
    e.profilo.reserve(static_cast<std::size_t>(percorso_m / 10) + e.tratte.size() + 1);
    double tempo = 0;
    for (std::size_t i = 0; i < e.tratte.size(); ++i) {
        tratta_marcia& t = e.tratte[i];
        if (i > 0)
            tempo += static_cast<double>(
                std::max<std::int64_t>(0, l.fermate[i].partenza_s - l.fermate[i].arrivo_s));
        const double minimo =
            tempo_minimo_s(l, m, static_cast<double>(t.da_metro), static_cast<double>(t.a_metro),
                           passo_m, &e.profilo, tempo);
        tempo += minimo;
        completa_margine(t, minimo);
        e.totale.orario_s += t.orario_s;
        e.totale.minimo_s += minimo;
        e.totale.limite_s += t.limite_s;
    }
    e.totale.margine_s = e.totale.orario_s - e.totale.minimo_s;
    e.totale.margine_percento =
        e.totale.minimo_s > 0 ? 100 * e.totale.margine_s / e.totale.minimo_s : 0;
    e.segnali = frenature_segnali(l, m, e.frenatura_emergenza_ms2);
    return e;
}

std::vector<tratta_marcia> tratte_con_margini(const costruzione& c, const modello_treno& m) {
    const linea_marcia l = linea_di_marcia(c);
    std::vector<tratta_marcia> tratte = tratte_orario(l);
    for (tratta_marcia& t : tratte)
        completa_margine(t, tempo_minimo_s(l, m, static_cast<double>(t.da_metro),
                                           static_cast<double>(t.a_metro)));
    return tratte;
}

} // namespace corvenna
