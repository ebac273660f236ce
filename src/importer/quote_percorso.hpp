#pragma once

// The heights an elevation raster gives a path. When a raster is given it is the only source of
// the heights: the profile comes from one source and one vertical datum (a GPS receiver's
// heights and a terrain model's can differ by tens of metres, and a profile that passed from one
// to the other would climb that step in a few cells). Each point the raster covers takes its
// height, in place of any the map had. The points it does not cover (outside it, on a pixel
// without data) lose the map's heights: before the first covered point and after the last the
// profile is held level at that point's height; between two covered points they are left
// without heights and the fit bridges the gap from the heights on either side. Each run of such
// points is told as a note.

#include "importer/mappa_importata.hpp"
#include "importer/quota_raster.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvenna {

struct quote_applicate {
    // How many points took the raster's height.
    std::size_t campionati = 0;
    // The runs of points the raster did not cover ("punti 3-9"), each with what the profile
    // does there.
    std::vector<nota_importazione> note;
    // Set when the raster covers no point of the path: nothing of it was used.
    std::optional<errore_mappa> errore;
};

// Gives `mappa`'s path points the heights of `campioni` (one per point, in order).
quote_applicate applica_quote(mappa_importata& mappa, std::span<const campione_quota> campioni);

} // namespace corvenna
