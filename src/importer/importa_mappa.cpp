#include "importer/importa_mappa.hpp"

#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/lettore_osm.hpp"
#include "importer/quota_raster.hpp"
#include "importer/quote_percorso.hpp"

namespace corvenna {

namespace {

esito_importazione fallita(file_importazione file, std::string dove, std::string messaggio) {
    return {std::nullopt, errore_importazione{file, std::move(dove), std::move(messaggio)}};
}

esito_mappa leggi_mappa(const richiesta_importazione& r) {
    switch (r.formato) {
    case formato_mappa::gpx:
        return leggi_gpx(r.mappa);
    case formato_mappa::geojson:
        return leggi_geojson(r.mappa);
    case formato_mappa::osm_xml:
        return leggi_osm(r.mappa, formato_osm::xml, {r.da, r.a});
    case formato_mappa::osm_pbf:
        return leggi_osm(r.mappa, formato_osm::pbf, {r.da, r.a});
    }
    return mappa_fallita("mappa", "formato sconosciuto");
}

} // namespace

esito_importazione importa_mappa(const richiesta_importazione& r) {
    esito_mappa letta = leggi_mappa(r);
    if (letta.errore)
        return fallita(file_importazione::mappa, letta.errore->dove, letta.errore->messaggio);
    importazione i;
    i.mappa = std::move(*letta.mappa);
    auto elemento = [&](std::size_t punto) {
        return punto < i.mappa.elementi_punti.size() ? i.mappa.elementi_punti[punto]
                                                     : "punto " + std::to_string(punto);
    };

    // The raster's heights, before the fit: a raster that cannot be used stops the import.
    std::vector<nota_importazione> note_raster;
    if (r.raster) {
        const quote_raster campioni = campiona_quote(*r.raster, i.mappa.percorso);
        if (campioni.errore)
            return fallita(file_importazione::raster, "file", campioni.errore->messaggio);
        quote_applicate quote = applica_quote(i.mappa, campioni.campioni);
        if (quote.errore)
            return fallita(file_importazione::raster, quote.errore->dove, quote.errore->messaggio);
        i.punti_dal_raster = quote.campionati;
        note_raster = std::move(quote.note);
    }

    esito_geometria adattata = adatta_geometria(i.mappa.percorso, r.regole);
    if (adattata.errore)
        return fallita(file_importazione::mappa, elemento(adattata.errore->indice_punto),
                       adattata.errore->messaggio);
    i.geometria = std::move(*adattata.geometria);
    i.descrizioni = componi_descrizioni(i.mappa, i.geometria, r.opzioni);

    for (const nota_importazione& n : i.mappa.note)
        i.note.push_back({file_importazione::mappa, n});
    for (const avviso_geometria& a : i.geometria.avvisi)
        i.note.push_back({file_importazione::mappa, {elemento(a.indice_punto), a.messaggio}});
    for (const nota_importazione& n : i.descrizioni.note)
        i.note.push_back({file_importazione::mappa, n});
    for (nota_importazione& n : note_raster)
        i.note.push_back({file_importazione::raster, std::move(n)});
    return {std::move(i), std::nullopt};
}

} // namespace corvenna
