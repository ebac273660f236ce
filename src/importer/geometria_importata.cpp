#include "importer/geometria_importata.hpp"

#include "importer/adatta_planimetria.hpp"
#include "importer/adatta_profilo.hpp"
#include "importer/proiezione.hpp"

#include <cmath>
#include <cstdio>

namespace corvenna {

namespace {

// The longest route a line description may give.
constexpr double lunghezza_massima = 1000000;
// Points closer than this in the plane are one point.
constexpr double distanza_minima = 1e-3;

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

} // namespace

esito_geometria adatta_geometria(std::span<const punto_geografico> punti) {
    for (std::size_t i = 0; i < punti.size(); ++i)
        if (auto errore = controlla_punto(punti[i], i))
            return {std::nullopt, std::move(errore)};
    if (punti.size() < 2)
        return fallito("il percorso ha meno di due punti distinti", 0);

    const std::optional<proiezione_locale> proiezione = proiezione_del_percorso(punti);
    if (!proiezione)
        return fallito("proiezione del percorso non disponibile", 0);
    const std::vector<punto_piano> piano = proiezione->proietta(punti);

    // Repeated points (a way's shared end, a node given twice) become one; each keeps the index
    // of the distinct point it joins, for its along-track position.
    std::vector<punto_piano> distinti;
    std::vector<std::size_t> distinto_di(punti.size());
    double lunghezza = 0;
    for (std::size_t i = 0; i < piano.size(); ++i) {
        if (!std::isfinite(piano[i].x))
            return fallito("punto non proiettabile", i);
        if (!distinti.empty()) {
            const double passo =
                std::hypot(piano[i].x - distinti.back().x, piano[i].y - distinti.back().y);
            if (passo < distanza_minima) {
                distinto_di[i] = distinti.size() - 1;
                continue;
            }
            lunghezza += passo;
            if (lunghezza > lunghezza_massima)
                return fallito("il percorso supera la lunghezza massima di 1000000 m (" +
                                   numero(std::round(lunghezza)) + " m fino a questo punto)",
                               i);
        }
        distinto_di[i] = distinti.size();
        distinti.push_back(piano[i]);
    }
    if (distinti.size() < 2)
        return fallito("il percorso ha meno di due punti distinti", punti.size() - 1);

    planimetria_adattata planimetria = adatta_planimetria(distinti);
    if (planimetria.lunghezza > lunghezza_massima)
        return fallito("il percorso supera la lunghezza massima di 1000000 m (" +
                           std::to_string(planimetria.lunghezza) + " m)",
                       punti.size() - 1);

    geometria_importata g;
    g.lunghezza = planimetria.lunghezza;
    g.progressiva.resize(punti.size());
    for (std::size_t i = 0; i < punti.size(); ++i)
        g.progressiva[i] = planimetria.progressiva[distinto_di[i]];
    g.curve = std::move(planimetria.curve);
    g.scarto_planimetria_massimo = planimetria.scarto_massimo;
    g.scarto_planimetria_medio = planimetria.scarto_medio;

    profilo_adattato profilo = adatta_profilo(punti, g.progressiva, g.lunghezza);
    g.pendenze = std::move(profilo.pendenze);
    g.scarto_quota_massimo = profilo.scarto_massimo;
    g.scarto_quota_medio = profilo.scarto_medio;
    return {std::move(g), std::nullopt};
}

} // namespace corvenna
