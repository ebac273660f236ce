#pragma once

// The GPX reader: the first track (its segments joined in order; a route when there is no
// track) as the path, with the elevation of each point where it has one, and the named
// waypoints as stations.

#include "importer/mappa_importata.hpp"

#include <string_view>

namespace corvenna {

// Reads the bytes of a GPX file, in the encoding its byte-order mark or XML declaration names
// (UTF-8 when neither does). Fails on text that is not XML (with its byte offset in the file), a
// document type declaration, a file without a track or route of two points, a point whose
// coordinates are missing, not numbers or out of range (with its index), and a waypoint's name
// longer than a station's may be.
esito_mappa leggi_gpx(std::string_view byte);

} // namespace corvenna
