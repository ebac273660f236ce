#include "importer/adatta_profilo.hpp"

#include <algorithm>
#include <cmath>

namespace corvenna {

namespace {

constexpr double lunghezza_cella = 50.0;
// The smoothing of the heights: a local straight-line fit with Gaussian weights this wide.
constexpr double larghezza_smussatura_quote = 30.0;
// How far the built height may drift from the smoothed one before the gradient changes.
constexpr double tolleranza = 0.15;
// The cells over which a new gradient is judged: long enough that a grade between two whole
// per mille alternates them over hundreds of metres, short enough to follow a summit.
constexpr std::size_t celle_avanti = 4;
// The gradients a cell can hold: its byte keeps the per mille plus 100.
constexpr int pendenza_massima = 99;

struct quota_nota {
    double posizione;
    double quota;
};

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
            quote.push_back({progressiva[i], *punti[i].quota});
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

    const std::vector<double> costruite = integra_pendenze(esito.pendenze, lunghezza);
    double massimo = 0, somma = 0;
    for (const quota_nota& q : quote) {
        const double cella =
            std::clamp(q.posizione / lunghezza_cella, 0.0, static_cast<double>(celle));
        const auto i = std::min(celle - 1, static_cast<std::size_t>(cella));
        const double f = cella - static_cast<double>(i);
        const double costruita = partenza + costruite[i] + f * (costruite[i + 1] - costruite[i]);
        const double scarto = std::abs(costruita - q.quota);
        massimo = std::max(massimo, scarto);
        somma += scarto;
    }
    esito.scarto_massimo = massimo;
    esito.scarto_medio = somma / static_cast<double>(quote.size());
    return esito;
}

} // namespace corvenna
