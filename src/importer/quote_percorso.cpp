#include "importer/quote_percorso.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace corvenna {

namespace {

std::string coordinate(const punto_geografico& p) {
    char testo[80];
    std::snprintf(testo, sizeof testo, "lon %.6f, lat %.6f", p.longitudine, p.latitudine);
    return testo;
}

// "punto 7", or "punti 7-12"; with the map's own elements when they are not the points
// themselves ("punto 7 (nodo 123)", "punti 7-12 (da nodo 123 a nodo 456)").
std::string punti_da_a(const mappa_importata& mappa, std::size_t da, std::size_t a) {
    auto elemento = [&](std::size_t i) {
        return i < mappa.elementi_punti.size() ? mappa.elementi_punti[i] : std::string();
    };
    const std::string indice_da = std::to_string(da), indice_a = std::to_string(a);
    std::string testo = da == a ? "punto " + indice_da : "punti " + indice_da + "-" + indice_a;
    const std::string primo = elemento(da), ultimo = elemento(a);
    if (!primo.empty() && primo != "punto " + indice_da)
        testo += da == a ? " (" + primo + ")" : " (da " + primo + " a " + ultimo + ")";
    return testo;
}

} // namespace

quote_applicate applica_quote(mappa_importata& mappa, std::span<const campione_quota> campioni) {
    quote_applicate esito;
    std::vector<punto_geografico>& punti = mappa.percorso;
    const std::size_t n = std::min(punti.size(), campioni.size());
    for (std::size_t i = 0; i < n; ++i)
        if (campioni[i].esito == esito_campione::quota)
            ++esito.campionati;
    if (esito.campionati == 0) {
        esito.errore = errore_mappa{
            "percorso", "nessun punto del percorso (dal punto 0, " +
                            (punti.empty() ? std::string("vuoto") : coordinate(punti.front())) +
                            ") cade su un valore del raster"};
        return esito;
    }

    // The first and the last point the raster covers: a run before the first or after the last
    // is held level at that point's height, a run between two covered points is left without
    // heights and the fit joins the two.
    std::size_t primo = n, ultimo = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (campioni[i].esito == esito_campione::quota) {
            primo = std::min(primo, i);
            ultimo = i;
        }
    auto cifre = [](double metri) {
        char testo[32];
        std::snprintf(testo, sizeof testo, "%.2f", metri);
        return std::string(testo);
    };
    for (std::size_t i = 0; i < n;) {
        if (campioni[i].esito == esito_campione::quota) {
            punti[i].quota = campioni[i].quota;
            ++i;
            continue;
        }
        std::size_t fine = i;
        while (fine + 1 < n && campioni[fine + 1].esito == campioni[i].esito)
            ++fine;
        std::string messaggio =
            campioni[i].esito == esito_campione::fuori
                ? "fuori dal raster (" + coordinate(punti[i]) + ")"
                : "su pixel senza dati del raster (" + coordinate(punti[i]) + ")";
        bool mappa_con_quote = false;
        for (std::size_t k = i; k <= fine; ++k)
            mappa_con_quote = mappa_con_quote || punti[k].quota.has_value();
        if (i < primo || fine > ultimo) {
            const std::size_t vicino = i < primo ? primo : ultimo;
            for (std::size_t k = i; k <= fine; ++k)
                punti[k].quota = campioni[vicino].quota;
            messaggio += ": profilo in piano alla quota del punto " + std::to_string(vicino) +
                         " (" + cifre(campioni[vicino].quota) + " m)";
        } else {
            for (std::size_t k = i; k <= fine; ++k)
                punti[k].quota.reset();
            std::size_t prima = i - 1, dopo = fine + 1;
            while (campioni[prima].esito != esito_campione::quota)
                --prima;
            while (campioni[dopo].esito != esito_campione::quota)
                ++dopo;
            messaggio += ": profilo in linea tra le quote dei punti " + std::to_string(prima) +
                         " e " + std::to_string(dopo);
        }
        if (mappa_con_quote)
            messaggio += "; le quote della mappa non sono usate";
        esito.note.push_back({punti_da_a(mappa, i, fine), std::move(messaggio)});
        i = fine + 1;
    }
    return esito;
}

} // namespace corvenna
