#include "importer/geometria_importata.hpp"
#include "importer/numeri_importati.hpp"

#include "importer/adatta_planimetria.hpp"
#include "importer/adatta_profilo.hpp"
#include "importer/proiezione.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace corvenna {

namespace {

// The longest route a line description may give, and how much longer the path through the
// points may be (a receiver's scatter lengthens it).
constexpr double lunghezza_massima = 1000000;
constexpr double margine_punti = 1.1;
// Points closer than this in the plane are one point: the fit works on a grid of a metre.
constexpr double distanza_utile = 1.0;
// A run of at least `punti_fermo` points that all stay within `raggio_fermo` metres of their
// mean, while their steps add up to `volte_fermo` times its width, is the path standing still
// (a receiver's scatter at a station): a moving track leaves the circle before its steps add up.
constexpr std::size_t punti_fermo = 10;
constexpr double raggio_fermo = 15.0;
constexpr double volte_fermo = 4;
// The heights a line can have: below the shore of the lowest sea, above the highest summit.
constexpr double quota_minima = -450;
constexpr double quota_massima = 9000;
// A height farther than this from the median of its neighbours' is a step no railway makes.
constexpr double salto_quota = 100;
constexpr std::size_t vicini_quota = 5;
// A path turns back where its direction over `base_svolta` metres before a point and after it
// differs by more than `svolta_massima` radians (a railway's tightest curves turn less than 45
// degrees over such a distance).
constexpr double base_svolta = 250;
constexpr double svolta_massima = 120 * std::numbers::pi / 180;
// The fit leaves the path by far where it lies farther than this from a point, and farther than
// `volte_tolleranza` times the tolerance.
constexpr double scarto_grave = 50;
constexpr double volte_tolleranza = 10;
// How far a curve tighter than the classes, spread to keep its angle, may take the plan from its
// points and be told as a warning.
constexpr double scarto_curva_allargata = 150;

std::string numero(double valore) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "%.9g", valore);
    return testo;
}

esito_geometria fallito(std::string messaggio, std::size_t indice) {
    return {std::nullopt, errore_geometria{std::move(messaggio), indice}};
}

std::optional<errore_geometria> controlla_punto(const punto_geografico& p, std::size_t indice) {
    if (!std::isfinite(p.longitudine) || p.longitudine < -180 || p.longitudine > 180)
        return errore_geometria{
            "longitudine fuori dall'intervallo da -180 a 180: " + numero(p.longitudine), indice};
    if (!std::isfinite(p.latitudine) || p.latitudine < -90 || p.latitudine > 90)
        return errore_geometria{
            "latitudine fuori dall'intervallo da -90 a 90: " + numero(p.latitudine), indice};
    if (p.quota && !std::isfinite(*p.quota))
        return errore_geometria{"quota non numerica: " + numero(*p.quota), indice};
    return std::nullopt;
}

// Heights a line cannot have are left out of the points, each with a warning.
void togli_quote_assurde(std::vector<punto_geografico>& punti,
                         std::vector<avviso_geometria>& avvisi) {
    for (std::size_t i = 0; i < punti.size(); ++i)
        if (punti[i].quota && (*punti[i].quota < quota_minima || *punti[i].quota > quota_massima)) {
            avvisi.push_back({i, "quota di " + numero(*punti[i].quota) +
                                     " m fuori dall'intervallo plausibile (da " +
                                     cifre(quota_minima, 0) + " a " + cifre(quota_massima, 0) +
                                     " m): lasciata fuori"});
            punti[i].quota.reset();
        }
    // A step: a height far from the median of the heights of the points around it.
    std::vector<std::size_t> con_quota;
    for (std::size_t i = 0; i < punti.size(); ++i)
        if (punti[i].quota)
            con_quota.push_back(i);
    std::vector<std::size_t> da_togliere;
    std::vector<double> vicine;
    for (std::size_t k = 0; k < con_quota.size(); ++k) {
        vicine.clear();
        for (std::size_t v = k >= vicini_quota ? k - vicini_quota : 0;
             v <= std::min(con_quota.size() - 1, k + vicini_quota); ++v)
            if (v != k)
                vicine.push_back(*punti[con_quota[v]].quota);
        if (vicine.size() < 2)
            continue;
        std::nth_element(vicine.begin(), vicine.begin() + vicine.size() / 2, vicine.end());
        const double mediana = vicine[vicine.size() / 2];
        const double q = *punti[con_quota[k]].quota;
        if (std::abs(q - mediana) > salto_quota) {
            da_togliere.push_back(con_quota[k]);
            avvisi.push_back({con_quota[k], "quota di " + cifre(q, 1) + " m, " +
                                                cifre(std::abs(q - mediana), 1) +
                                                " m dalle quote dei punti vicini: un salto che "
                                                "nessuna ferrovia fa; lasciata fuori"});
        }
    }
    for (const std::size_t i : da_togliere)
        punti[i].quota.reset();
}

// The plane points merged as the fit can use them: points within a metre of the first of their
// run are one, and a run where the path stands still is one. Each input point keeps the index
// of the merged point it joins.
struct punti_uniti {
    std::vector<punto_piano> punti;
    std::vector<std::size_t> unito_di;
    std::vector<avviso_geometria> avvisi;
};

punti_uniti unisci_punti(std::span<const punto_piano> piano) {
    punti_uniti u;
    u.unito_di.resize(piano.size());
    const std::size_t n = piano.size();
    for (std::size_t i = 0; i < n;) {
        // Standing still: extend the run while each new point lies within the radius of the
        // run's mean.
        double sx = piano[i].x, sy = piano[i].y, passi = 0;
        std::size_t fine = i + 1;
        while (fine < n) {
            const double mx = sx / static_cast<double>(fine - i),
                         my = sy / static_cast<double>(fine - i);
            if (std::hypot(piano[fine].x - mx, piano[fine].y - my) > raggio_fermo ||
                std::hypot(piano[fine].x - piano[i].x, piano[fine].y - piano[i].y) >
                    2 * raggio_fermo)
                break;
            passi +=
                std::hypot(piano[fine].x - piano[fine - 1].x, piano[fine].y - piano[fine - 1].y);
            sx += piano[fine].x;
            sy += piano[fine].y;
            ++fine;
        }
        if (fine - i < punti_fermo || passi < volte_fermo * 2 * raggio_fermo) {
            // Close points: the run within a metre of its first point.
            sx = piano[i].x, sy = piano[i].y;
            fine = i + 1;
            while (fine < n && std::hypot(piano[fine].x - piano[i].x, piano[fine].y - piano[i].y) <
                                   distanza_utile) {
                sx += piano[fine].x;
                sy += piano[fine].y;
                ++fine;
            }
        } else {
            u.avvisi.push_back({i, "percorso fermo dal punto " + std::to_string(i) + " al punto " +
                                       std::to_string(fine - 1) + ": i punti sono uniti in uno"});
        }
        const auto quanti = static_cast<double>(fine - i);
        for (std::size_t k = i; k < fine; ++k)
            u.unito_di[k] = u.punti.size();
        u.punti.push_back({sx / quanti, sy / quanti});
        i = fine;
    }
    return u;
}

// Where the path turns back: the merged point where the direction before it and after it, over
// `base_svolta` metres each, differs the most beyond `svolta_massima`, with the angle.
struct svolta {
    std::size_t indice = 0;
    double angolo = 0;
    double metro = 0;
};

std::optional<svolta> trova_inversione(std::span<const punto_piano> punti,
                                       std::span<const double> corda) {
    std::optional<svolta> trovata;
    std::size_t a = 0, b = 0;
    for (std::size_t i = 0; i < punti.size(); ++i) {
        while (a + 1 < i && corda[i] - corda[a + 1] >= base_svolta)
            ++a;
        b = std::max(b, i);
        while (b + 1 < punti.size() && corda[b] - corda[i] < base_svolta)
            ++b;
        if (corda[i] - corda[a] < base_svolta / 2 || corda[b] - corda[i] < base_svolta / 2)
            continue;
        const double ux = punti[i].x - punti[a].x, uy = punti[i].y - punti[a].y;
        const double vx = punti[b].x - punti[i].x, vy = punti[b].y - punti[i].y;
        const double angolo = std::abs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy));
        if (angolo > svolta_massima && (!trovata || angolo > trovata->angolo))
            trovata = svolta{i, angolo, corda[i]};
        else if (trovata && angolo <= svolta_massima)
            break;
    }
    return trovata;
}

// The input point whose position is nearest to a metre of the route.
std::size_t punto_al_metro(std::span<const double> progressiva, double metro) {
    std::size_t migliore = 0;
    for (std::size_t i = 0; i < progressiva.size(); ++i)
        if (std::abs(progressiva[i] - metro) < std::abs(progressiva[migliore] - metro))
            migliore = i;
    return migliore;
}

} // namespace

esito_geometria adatta_geometria(std::span<const punto_geografico> punti_dati,
                                 const regole_geometria& regole) {
    for (std::size_t i = 0; i < punti_dati.size(); ++i)
        if (auto errore = controlla_punto(punti_dati[i], i))
            return {std::nullopt, std::move(errore)};
    if (punti_dati.size() < 2)
        return fallito("il percorso ha meno di due punti distinti", 0);
    std::vector<punto_geografico> punti(punti_dati.begin(), punti_dati.end());
    std::vector<avviso_geometria> avvisi;
    togli_quote_assurde(punti, avvisi);

    const std::optional<proiezione_locale> proiezione = proiezione_del_percorso(punti);
    if (!proiezione)
        return fallito("proiezione del percorso non disponibile", 0);
    const std::vector<punto_piano> piano = proiezione->proietta(punti);
    for (std::size_t i = 0; i < piano.size(); ++i)
        if (!std::isfinite(piano[i].x))
            return fallito("punto non proiettabile", i);

    punti_uniti uniti = unisci_punti(piano);
    const std::vector<punto_piano>& distinti = uniti.punti;
    std::vector<double> corda(distinti.size(), 0.0);
    for (std::size_t k = 1; k < distinti.size(); ++k) {
        corda[k] = corda[k - 1] +
                   std::hypot(distinti[k].x - distinti[k - 1].x, distinti[k].y - distinti[k - 1].y);
        // The points of a noisy track run longer than its route: the route itself is measured
        // on the fitted plan; here only a path far beyond it is stopped before the fit.
        if (corda[k] > margine_punti * lunghezza_massima) {
            std::size_t i = 0;
            while (i + 1 < uniti.unito_di.size() && uniti.unito_di[i] < k)
                ++i;
            return fallito("il percorso supera la lunghezza massima di 1000000 m (" +
                               numero(std::round(corda[k])) + " m fino a questo punto)",
                           i);
        }
    }
    if (distinti.size() < 2)
        return fallito("il percorso ha meno di due punti distinti", punti.size() - 1);
    // The first input point of a merged one, for messages.
    auto primo_di = [&](std::size_t k) {
        return static_cast<std::size_t>(
            std::lower_bound(uniti.unito_di.begin(), uniti.unito_di.end(), k) -
            uniti.unito_di.begin());
    };
    if (const std::optional<svolta> s = trova_inversione(distinti, corda)) {
        const std::string messaggio =
            "il percorso torna indietro al metro " + cifre(s->metro, 0) + " (svolta di " +
            cifre(s->angolo * 180 / std::numbers::pi, 0) + " gradi in " +
            cifre(2 * base_svolta, 0) + " m): una linea non inverte la marcia";
        if (!regole.consenti)
            return fallito(messaggio + "; per importarlo comunque: --consenti",
                           primo_di(s->indice));
        avvisi.push_back({primo_di(s->indice), messaggio});
    }

    planimetria_adattata planimetria = adatta_planimetria(distinti, {regole.tolleranza});
    if (planimetria.lunghezza > lunghezza_massima)
        return fallito("il percorso supera la lunghezza massima di 1000000 m (" +
                           std::to_string(planimetria.lunghezza) + " m)",
                       punti.size() - 1);

    geometria_importata g;
    g.lunghezza = planimetria.lunghezza;
    g.progressiva.resize(punti.size());
    for (std::size_t i = 0; i < punti.size(); ++i)
        g.progressiva[i] = planimetria.progressiva[uniti.unito_di[i]];
    g.curve = std::move(planimetria.curve);
    g.scarto_planimetria_massimo = planimetria.scarto_massimo;
    g.scarto_planimetria_medio = planimetria.scarto_medio;
    g.rumore_planimetria = planimetria.rumore;
    g.tolleranza = planimetria.tolleranza;

    const std::size_t lontano = primo_di(planimetria.punto_scarto_massimo);
    const double metro_lontano = g.progressiva[lontano];
    if (planimetria.scarto_massimo > std::max(scarto_grave, volte_tolleranza * g.tolleranza)) {
        // A curve tighter than the classes, spread so that its angle is kept, leaves its points
        // by some tens of metres: told with the curve. Anything farther, or elsewhere, is a path
        // the fit lost.
        bool curva_allargata = false;
        for (const planimetria_adattata::curva_stretta& c : planimetria.curve_strette)
            curva_allargata = curva_allargata ||
                              (metro_lontano >= c.metro - 200 && metro_lontano <= c.metro + 1500);
        const std::string messaggio = "la planimetria adattata passa a " +
                                      cifre(planimetria.scarto_massimo, 0) +
                                      " m da questo punto (metro " + cifre(metro_lontano, 0) + ")";
        if (curva_allargata && planimetria.scarto_massimo <= scarto_curva_allargata)
            avvisi.push_back({lontano, messaggio + ", dove la curva stretta e' allargata"});
        else if (!regole.consenti)
            return fallito(messaggio + ": il percorso non e' una linea che le curve possano "
                                       "seguire; per importarlo comunque: --consenti",
                           lontano);
        else
            avvisi.push_back(
                {lontano,
                 messaggio + ": il percorso non e' una linea che le curve possano seguire"});
    }
    for (const planimetria_adattata::curva_stretta& c : planimetria.curve_strette)
        avvisi.push_back(
            {punto_al_metro(g.progressiva, c.metro),
             "curva di raggio " + cifre(c.raggio, 0) + " m dal metro " + cifre(c.metro, 0) +
                 ", piu' stretta della classe 6 (333 m): tracciata con la classe 6 piu' a "
                 "lungo, perche' l'angolo resti quello della mappa"});
    for (avviso_geometria& a : uniti.avvisi)
        avvisi.push_back(std::move(a));

    profilo_adattato profilo = adatta_profilo(punti, g.progressiva, g.lunghezza);
    g.pendenze = std::move(profilo.pendenze);
    g.scarto_quota_massimo = profilo.scarto_massimo;
    g.scarto_quota_medio = profilo.scarto_medio;
    g.rumore_quote = profilo.rumore;
    for (avviso_geometria& a : profilo.avvisi)
        avvisi.push_back(std::move(a));
    std::stable_sort(avvisi.begin(), avvisi.end(),
                     [](const avviso_geometria& a, const avviso_geometria& b) {
                         return a.indice_punto < b.indice_punto;
                     });
    g.avvisi = std::move(avvisi);
    return {std::move(g), std::nullopt};
}

} // namespace corvenna
