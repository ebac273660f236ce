// The map readers of `scenario importa` on arbitrary bytes: the first byte chooses GPX (even) or
// GeoJSON (odd), the rest is the file. A map that reads is laid out as descriptions on a plain
// along-track measure of its path, so the placement of stations, crossings, tunnels and speeds
// runs on whatever the readers let through.

#include "importer/descrizioni_importate.hpp"
#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"
#include "unit/importer/geometria_semplice.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    using namespace corvenna;
    if (dimensione == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char*>(dati + 1), dimensione - 1);
    const esito_mappa e = (dati[0] & 1) != 0 ? leggi_geojson(file) : leggi_gpx(file);
    if (e.errore || !e.mappa)
        return 0;
    mappa_importata m = *e.mappa;
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
