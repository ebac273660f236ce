#pragma once

// Heights from an elevation raster (a GeoTIFF, its first band): each path point's longitude and
// latitude taken into the raster's own reference system and its height interpolated bilinearly
// between the four nearest pixel centres, pixels marked as holding no data left out. The raster
// comes as the bytes of its file, so that the file is read by whoever calls.

#include "importer/geometria_importata.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// What the raster says at one point: a height in metres, or why it has none.
enum class esito_campione { quota, fuori, senza_dati };

struct campione_quota {
    esito_campione esito = esito_campione::fuori;
    double quota = 0; // metres, when `esito` is esito_campione::quota
};

// Why the raster cannot be used at all.
struct errore_raster {
    std::string messaggio;
};

struct quote_raster {
    // One per point, in the points' order; empty on error.
    std::vector<campione_quota> campioni;
    std::optional<errore_raster> errore;
};

// Samples the raster held in `byte` at every point (WGS 84 longitude and latitude; their own
// heights are not read). Fails on bytes that are not a GeoTIFF, a raster without a
// georeference or a reference system, heights in a unit other than metres or feet, a block
// (tile or strip) that would take more than 64 MiB once read, and a read the raster's data
// breaks. GDAL's cache of the blocks read is held to 64 MiB.
quote_raster campiona_quote(std::string_view byte, std::span<const punto_geografico> punti);

} // namespace corvenna
