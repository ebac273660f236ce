// The map readers of `scenario importa` on arbitrary bytes: the first byte chooses GPX (even) or
// GeoJSON (odd), the rest is the file. A map that reads is laid out as descriptions on a plain
// along-track measure of its path, so the placement of stations, crossings, tunnels and speeds
// runs on whatever the readers let through. Before that, the heights of an elevation raster
// are given to the path as `--quota` gives them, each point's sample (a height, outside, no
// data) chosen by a byte of the file, so that the runs of points told as notes come in every
// pattern.

#include "importer/descrizioni_importate.hpp"
#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/quote_percorso.hpp"
#include "unit/importer/geometria_semplice.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    using namespace corvenna;
    if (dimensione == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char*>(dati + 1), dimensione - 1);
    const esito_mappa e = (dati[0] & 1) != 0 ? leggi_geojson(file) : leggi_gpx(file);
    if (e.errore || !e.mappa)
        return 0;
    mappa_importata m = *e.mappa;
    std::vector<campione_quota> campioni(m.percorso.size());
    for (std::size_t i = 0; i < campioni.size(); ++i) {
        const auto scelta = static_cast<unsigned char>(file[i % file.size()]) % 3;
        campioni[i] = {scelta == 0   ? esito_campione::quota
                       : scelta == 1 ? esito_campione::fuori
                                     : esito_campione::senza_dati,
                       100.0 + static_cast<double>(i)};
    }
    applica_quote(m, campioni);
    const geometria_importata g = prova::geometria_semplice(m.percorso);
    // The importer refuses a path the route cannot hold before it lays out anything.
    if (g.lunghezza > 1000000)
        return 0;
    // A crossing at every tenth point and a tunnel over the first half give the placement work.
    for (std::size_t i = 0; i < m.percorso.size(); i += 10)
        m.passaggi_livello.push_back({i, "punto"});
    m.gallerie.push_back({0, m.percorso.size() / 2, "via"});
    componi_descrizioni(m, g, {});
    return 0;
}
