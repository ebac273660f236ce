#pragma once

// The GeoJSON reader: the first LineString (or the parts of the first MultiLineString, joined in
// order) as the path, with its third coordinate as the elevation where there is one, and the
// Points with a "name" property as stations (a "platform_length" or "lunghezza_marciapiede"
// property gives the platform length).

#include "importer/mappa_importata.hpp"

#include <string_view>

namespace corvenna {

// Reads the bytes of a GeoJSON file (a FeatureCollection, a Feature or a bare geometry). Fails
// on text that is not JSON (with its byte offset), no line of two points, and a position that
// is not two or three numbers or lies out of range (with its feature and point index).
esito_mappa leggi_geojson(std::string_view byte);

} // namespace corvenna
