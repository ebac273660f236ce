#include "importer/adatta_profilo.hpp"
#include "importer/numeri_importati.hpp"

#include "importer/segmentazione.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace corvenna {

namespace {

constexpr double lunghezza_cella = 50.0;
// The smoothing of the heights: a local straight-line fit with Gaussian weights this wide.
constexpr double larghezza_smussatura_quote = 8.0;
// How far the built height may drift from the smoothed one before the gradient changes.
constexpr double tolleranza = 0.15;
// The cells over which a new gradient is judged: long enough that a grade between two whole
// per mille alternates them over hundreds of metres, short enough to follow a summit.
constexpr std::size_t celle_avanti = 4;
// The gradients a cell can hold: its byte keeps the per mille plus 100.
constexpr int pendenza_massima = 99;
// Heights whose cell means scatter by more than this (metres) are fitted as constant grades.
constexpr double soglia_dispersione_quote = 0.25;
// The grades of scattered heights: pieces of `celle_minime` to `celle_massime` cells, the
// penalty `fattore_penalita_quote` times the cell means' noise variance and the log of the cells.
constexpr std::size_t celle_minime = 4;
constexpr std::size_t celle_massime = 400;
constexpr double fattore_penalita_quote = 2;
// How far, in cells, a knot between two grades may move when the profile is made continuous.
constexpr std::size_t spostamento_nodo = 6;
// A grade steeper than this (per mille) is told; heights that scatter by more than this
// (metres) about their grade are told as untrustworthy.
constexpr double pendenza_avviso = 35;
constexpr double dispersione_avviso = 6;

struct quota_nota {
    double posizione;
    double quota;
    std::size_t indice;
};

// The heights averaged per cell, a cell without heights weighing nothing.
std::vector<campione_segmentato> medie_celle(std::span<const quota_nota> quote, std::size_t celle) {
    std::vector<campione_segmentato> medie(celle);
    std::vector<double> somme_x(celle, 0), somme_y(celle, 0), conte(celle, 0);
    for (const quota_nota& q : quote) {
        const auto c = std::min(
            celle - 1, static_cast<std::size_t>(std::max(0.0, q.posizione / lunghezza_cella)));
        somme_x[c] += q.posizione;
        somme_y[c] += q.quota;
        conte[c] += 1;
    }
    for (std::size_t c = 0; c < celle; ++c) {
        if (conte[c] > 0)
            medie[c] = {somme_x[c] / conte[c], somme_y[c] / conte[c], 1};
        else
            medie[c] = {(static_cast<double>(c) + 0.5) * lunghezza_cella, 0, 0};
    }
    return medie;
}

// The noise of the cell means: what a second difference over 200 m leaves, robustly (a grade
// leaves nothing; its ends are the outliers).
double rumore_celle(std::span<const campione_segmentato> medie) {
    constexpr std::size_t ritardo = 4;
    std::vector<double> differenze;
    for (std::size_t c = ritardo; c + ritardo < medie.size(); ++c)
        if (medie[c].peso > 0 && medie[c - ritardo].peso > 0 && medie[c + ritardo].peso > 0)
            differenze.push_back(
                std::abs(medie[c].y - (medie[c - ritardo].y + medie[c + ritardo].y) / 2));
    return 1.4826 * mediana(std::move(differenze)) / std::sqrt(1.5);
}

// The smoothed height at `s`: weighted least-squares line through the nearby heights, the
// window widened where heights are sparse so that it always holds a point on each side.
double quota_smussata(std::span<const quota_nota> quote, double s) {
    const auto dopo =
        std::lower_bound(quote.begin(), quote.end(), s,
                         [](const quota_nota& q, double v) { return q.posizione < v; });
    const std::size_t seguente = static_cast<std::size_t>(dopo - quote.begin());
    std::size_t da = seguente >= 2 ? seguente - 2 : 0;
    std::size_t a = std::min(quote.size() - 1, seguente + 1);
    while (da > 0 && quote[da - 1].posizione >= s - 3 * larghezza_smussatura_quote)
        --da;
    while (a + 1 < quote.size() && quote[a + 1].posizione <= s + 3 * larghezza_smussatura_quote)
        ++a;
    double scostamento = 0;
    for (std::size_t i = da; i <= a; ++i)
        scostamento = std::max(scostamento, std::abs(quote[i].posizione - s));
    const double sigma = std::max(larghezza_smussatura_quote, scostamento / 2);
    double s0 = 0, s1 = 0, s2 = 0, q0 = 0, q1 = 0;
    for (std::size_t i = da; i <= a; ++i) {
        const double u = quote[i].posizione - s;
        const double w = std::exp(-0.5 * (u / sigma) * (u / sigma));
        s0 += w;
        s1 += w * u;
        s2 += w * u * u;
        q0 += w * quote[i].quota;
        q1 += w * quote[i].quota * u;
    }
    const double det = s0 * s2 - s1 * s1;
    if (a == da || std::abs(det) <= 1e-12 * s0 * s2)
        return q0 / s0;
    return (q0 * s2 - s1 * q1) / det;
}

// The grades of scattered heights, as rows; `avvisi` takes the steep and the untrustworthy
// stretches.
std::vector<riga_pendenza> pendenze_costanti(std::span<const quota_nota> quote,
                                             std::span<const campione_segmentato> medie,
                                             double rumore, double& partenza,
                                             std::vector<avviso_geometria>& avvisi) {
    const std::size_t celle = medie.size();
    const regole_segmentazione regole{fattore_penalita_quote * std::max(rumore * rumore, 1e-6) *
                                          std::log(static_cast<double>(celle)),
                                      celle_minime, celle_massime};
    std::vector<pezzo> pezzi = segmenta(medie, regole);
    // A grade over cells without heights (a gap the raster left) says nothing: it joins the
    // grade before it, or after it.
    const somme_campioni somme(medie);
    for (std::size_t k = 0; k < pezzi.size() && pezzi.size() > 1;) {
        if (pezzi[k].peso > 0) {
            ++k;
            continue;
        }
        const std::size_t con = k > 0 ? k - 1 : k + 1;
        const std::size_t primo = std::min(k, con);
        pezzi[primo] = somme.adatta(pezzi[primo].da, pezzi[primo + 1].a);
        pezzi.erase(pezzi.begin() + static_cast<std::ptrdiff_t>(primo + 1));
        k = primo;
    }
    // The knots, at the pieces' ends: where two pieces meet, the mean of their two lines.
    auto linea = [](const pezzo& p, double x) { return p.quota + p.pendenza * (x - p.x0); };
    std::vector<double> nodi(pezzi.size() + 1);
    for (std::size_t k = 0; k <= pezzi.size(); ++k) {
        const double x =
            static_cast<double>(k < pezzi.size() ? pezzi[k].da : celle) * lunghezza_cella;
        if (k == 0)
            nodi[k] = linea(pezzi[0], x);
        else if (k == pezzi.size())
            nodi[k] = linea(pezzi[k - 1], x);
        else
            nodi[k] = (linea(pezzi[k - 1], x) + linea(pezzi[k], x)) / 2;
    }
    // The profile made continuous: each knot in turn takes the height, and the cell within
    // `spostamento_nodo` cells of where it is, that bring the two grades it joins nearest to the
    // heights, the knots beside it held (two rounds). The grades stay at least `celle_minime`
    // long.
    std::vector<std::size_t> celle_nodi(pezzi.size() + 1);
    for (std::size_t k = 0; k < pezzi.size(); ++k)
        celle_nodi[k] = pezzi[k].da;
    celle_nodi[pezzi.size()] = celle;
    auto posizione = [&](std::size_t cella) {
        return static_cast<double>(cella) * lunghezza_cella;
    };
    // The least-squares height of knot k at cell `dove`, and the squared residual it leaves over
    // the cells of the two grades.
    auto migliore_quota = [&](std::size_t k, std::size_t dove, double& quota) {
        const std::size_t da = k > 0 ? celle_nodi[k - 1] : dove;
        const std::size_t a = k < pezzi.size() ? celle_nodi[k + 1] : dove;
        const double xk = posizione(dove);
        // h(x) = base(x) + peso(x) * quota
        auto termini = [&](std::size_t c, double& base, double& peso) {
            const double x = medie[c].x;
            if (c < dove) {
                const double x0 = posizione(da);
                const double f = (x - x0) / (xk - x0);
                base = nodi[k - 1] * (1 - f);
                peso = f;
            } else {
                const double x1 = posizione(a);
                const double f = (x - xk) / (x1 - xk);
                base = nodi[k + 1] * f;
                peso = 1 - f;
            }
        };
        double sbb = 0, sby = 0;
        for (std::size_t c = da; c < a; ++c) {
            if (medie[c].peso == 0)
                continue;
            double base = 0, peso = 0;
            termini(c, base, peso);
            sbb += medie[c].peso * peso * peso;
            sby += medie[c].peso * peso * (medie[c].y - base);
        }
        if (sbb <= 0)
            return 1e300;
        quota = sby / sbb;
        double residuo = 0;
        for (std::size_t c = da; c < a; ++c) {
            if (medie[c].peso == 0)
                continue;
            double base = 0, peso = 0;
            termini(c, base, peso);
            const double e = medie[c].y - base - peso * quota;
            residuo += medie[c].peso * e * e;
        }
        return residuo;
    };
    for (int giro = 0; giro < 2; ++giro)
        for (std::size_t k = 0; k <= pezzi.size(); ++k) {
            std::size_t da = celle_nodi[k], a = celle_nodi[k];
            if (k > 0 && k < pezzi.size()) {
                da = std::max(celle_nodi[k - 1] + celle_minime,
                              celle_nodi[k] > spostamento_nodo ? celle_nodi[k] - spostamento_nodo
                                                               : 0);
                a = std::min(celle_nodi[k + 1] - std::min(celle_nodi[k + 1], celle_minime),
                             celle_nodi[k] + spostamento_nodo);
            }
            double residuo_migliore = 1e300;
            for (std::size_t dove = da; dove <= a; ++dove) {
                double quota = 0;
                const double residuo = migliore_quota(k, dove, quota);
                if (residuo < residuo_migliore) {
                    residuo_migliore = residuo;
                    celle_nodi[k] = dove;
                    nodi[k] = quota;
                }
            }
        }
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        pezzi[k].da = celle_nodi[k];
        pezzi[k].a = celle_nodi[k + 1];
    }

    // The point nearest to a position, for the warnings.
    auto punto_a = [&](double posizione) {
        const auto dopo =
            std::lower_bound(quote.begin(), quote.end(), posizione,
                             [](const quota_nota& q, double v) { return q.posizione < v; });
        return dopo == quote.end() ? quote.back().indice : dopo->indice;
    };

    std::vector<riga_pendenza> righe;
    auto scrivi = [&](std::size_t cella, int per_mille) {
        if (righe.empty() || righe.back().per_mille != per_mille)
            righe.push_back(
                {static_cast<std::int32_t>(static_cast<double>(cella) * lunghezza_cella),
                 per_mille});
    };
    partenza = nodi[0];
    double costruita = nodi[0];
    bool dispersi_prima = false;
    for (std::size_t k = 0; k < pezzi.size(); ++k) {
        const pezzo& p = pezzi[k];
        const std::size_t n = p.a - p.da;
        const double lunghezza = static_cast<double>(n) * lunghezza_cella;
        // The grade from the height built so far to the piece's end knot, as whole per mille:
        // the lower for some cells and the higher for the others.
        const double voluta = std::clamp((nodi[k + 1] - costruita) / lunghezza * 1000,
                                         -static_cast<double>(pendenza_massima),
                                         static_cast<double>(pendenza_massima));
        const int bassa = static_cast<int>(std::floor(voluta));
        const auto alte = std::min(
            n, static_cast<std::size_t>(std::lround((voluta - bassa) * static_cast<double>(n))));
        const int alta = std::min(bassa + 1, pendenza_massima);
        // The one the row before holds first, to spare a row.
        const bool alta_prima = !righe.empty() && righe.back().per_mille == alta;
        for (std::size_t c = 0; c < n; ++c) {
            const bool e_alta = alta_prima ? c < alte : c >= n - alte;
            scrivi(p.da + c, e_alta ? alta : bassa);
        }
        costruita += (bassa * static_cast<double>(n - alte) + alta * static_cast<double>(alte)) *
                     lunghezza_cella / 1000;

        const double inizio = static_cast<double>(p.da) * lunghezza_cella;
        const double fine = inizio + lunghezza;
        if (std::abs(voluta) > pendenza_avviso)
            avvisi.push_back(
                {punto_a(inizio), "pendenza di " + cifre(voluta, 1) + " per mille dal metro " +
                                      cifre(inizio, 0) + " al metro " + cifre(fine, 0) +
                                      ", piu' ripida di " + cifre(pendenza_avviso, 0) +
                                      " per mille: se le quote sono imprecise, --quota RASTER"});
        const double dispersione = p.peso > 1 ? std::sqrt(p.residuo / (p.peso - 1)) : 0;
        const bool dispersi = dispersione > dispersione_avviso;
        if (dispersi && !dispersi_prima)
            avvisi.push_back({punto_a(inizio),
                              "quote disperse di " + cifre(dispersione, 1) +
                                  " m attorno alla pendenza dal metro " + cifre(inizio, 0) +
                                  ": il profilo e' incerto; per quote affidabili, --quota RASTER"});
        dispersi_prima = dispersi;
    }
    return righe;
}

// How far the built profile, from `partenza` at the start, lies from the heights.
void misura_scarti(profilo_adattato& esito, std::span<const quota_nota> quote,
                   std::int32_t lunghezza, double partenza) {
    const auto celle = static_cast<std::size_t>(
        std::max(1.0, std::ceil(static_cast<double>(lunghezza) / lunghezza_cella)));
    const std::vector<double> costruite = integra_pendenze(esito.pendenze, lunghezza);
    std::vector<double> relative(quote.size());
    for (std::size_t k = 0; k < quote.size(); ++k) {
        const quota_nota& q = quote[k];
        const double cella =
            std::clamp(q.posizione / lunghezza_cella, 0.0, static_cast<double>(celle));
        const auto i = std::min(celle - 1, static_cast<std::size_t>(cella));
        const double f = cella - static_cast<double>(i);
        relative[k] = costruite[i] + f * (costruite[i + 1] - costruite[i]);
    }
    double massimo = 0, somma = 0, quadrati = 0;
    for (std::size_t k = 0; k < quote.size(); ++k) {
        const double scarto = std::abs(partenza + relative[k] - quote[k].quota);
        massimo = std::max(massimo, scarto);
        somma += scarto;
        quadrati += scarto * scarto;
    }
    esito.scarto_massimo = massimo;
    esito.scarto_medio = somma / static_cast<double>(quote.size());
    esito.rumore = std::sqrt(quadrati / static_cast<double>(quote.size()));
}

} // namespace

std::vector<double> integra_pendenze(std::span<const riga_pendenza> pendenze,
                                     std::int32_t lunghezza) {
    const auto celle = static_cast<std::size_t>(
        std::max(1.0, std::ceil(static_cast<double>(lunghezza) / lunghezza_cella)));
    std::vector<double> quote(celle + 1, 0.0);
    std::size_t riga = 0;
    int pendenza = 0;
    for (std::size_t i = 0; i < celle; ++i) {
        // A row takes effect from the cell its position rounds into, halves to even.
        while (riga < pendenze.size() &&
               std::nearbyint(pendenze[riga].posizione / lunghezza_cella) <= static_cast<double>(i))
            pendenza = pendenze[riga++].per_mille;
        quote[i + 1] = quote[i] + pendenza * lunghezza_cella / 1000;
    }
    return quote;
}

profilo_adattato adatta_profilo(std::span<const punto_geografico> punti,
                                std::span<const double> progressiva, std::int32_t lunghezza) {
    std::vector<quota_nota> quote;
    for (std::size_t i = 0; i < punti.size(); ++i)
        if (punti[i].quota)
            quote.push_back({progressiva[i], *punti[i].quota, i});
    profilo_adattato esito;
    if (quote.empty()) {
        esito.pendenze.push_back({0, 0});
        return esito;
    }
    std::stable_sort(quote.begin(), quote.end(), [](const quota_nota& a, const quota_nota& b) {
        return a.posizione < b.posizione;
    });

    const auto celle = static_cast<std::size_t>(
        std::max(1.0, std::ceil(static_cast<double>(lunghezza) / lunghezza_cella)));
    const std::vector<campione_segmentato> medie = medie_celle(quote, celle);
    const double rumore = rumore_celle(medie);
    if (rumore > soglia_dispersione_quote) {
        double partenza = 0;
        esito.pendenze = pendenze_costanti(quote, medie, rumore, partenza, esito.avvisi);
        misura_scarti(esito, quote, lunghezza, partenza);
        return esito;
    }
    std::vector<double> obiettivo(celle + 1);
    const double partenza = quota_smussata(quote, 0);
    for (std::size_t i = 0; i <= celle; ++i)
        obiettivo[i] = quota_smussata(quote, static_cast<double>(i) * lunghezza_cella) - partenza;

    double quota = 0;
    int pendenza = 0;
    for (std::size_t i = 0; i < celle; ++i) {
        const double prevista = quota + pendenza * lunghezza_cella / 1000;
        if (i == 0 || std::abs(prevista - obiettivo[i + 1]) > tolleranza) {
            // Of the whole per mille that bring this cell's end within the tolerance (or, when
            // none does, nearest to it), the one that, held over the next cells too, keeps the
            // height nearest to the smoothed one at their ends (the largest gap counts).
            const std::size_t avanti = std::min(celle_avanti, celle - i);
            const double voluta = (obiettivo[i + 1] - quota) / lunghezza_cella * 1000;
            const double margine = tolleranza / lunghezza_cella * 1000;
            int da = static_cast<int>(std::ceil(voluta - margine));
            int a = static_cast<int>(std::floor(voluta + margine));
            if (da > a)
                da = a = static_cast<int>(std::lround(voluta));
            da = std::clamp(da, -pendenza_massima, pendenza_massima);
            a = std::clamp(a, -pendenza_massima, pendenza_massima);
            int nuova = da;
            double scarto_migliore = 1e300;
            for (int candidata = da; candidata <= a; ++candidata) {
                double scarto = 0;
                for (std::size_t k = 1; k <= avanti; ++k)
                    scarto = std::max(scarto, std::abs(quota +
                                                       candidata * lunghezza_cella / 1000 *
                                                           static_cast<double>(k) -
                                                       obiettivo[i + k]));
                if (scarto < scarto_migliore) {
                    scarto_migliore = scarto;
                    nuova = candidata;
                }
            }
            if (i == 0 || nuova != pendenza)
                esito.pendenze.push_back(
                    {static_cast<std::int32_t>(static_cast<double>(i) * lunghezza_cella), nuova});
            pendenza = nuova;
        }
        quota += pendenza * lunghezza_cella / 1000;
    }

    misura_scarti(esito, quote, lunghezza, partenza);
    return esito;
}

} // namespace corvenna
