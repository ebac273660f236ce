#pragma once

// The map reader for the collaborative world map's data (XML ".osm" and binary ".osm.pbf"): the
// railway ways (railway=rail, light_rail, narrow_gauge) between two named stations, as the
// shortest path over the railway graph, or the ways of a route=train relation chained in order;
// across way boundaries and junctions the path is one chain of nodes. Along it: railway=station
// and railway=halt nodes as stations (a node beside the track is projected when the descriptions
// are built), railway=level_crossing nodes, tunnel=yes ways as tunnels, maxspeed as speed limits
// and `ele` as the nodes' elevation.

#include "importer/mappa_importata.hpp"

#include <string>
#include <string_view>

namespace corvenna {

enum class formato_osm { xml, pbf };

// Which path to take: between the stations named `da` and `a` (both given), or, when they are
// empty, the first route=train relation.
struct scelta_percorso_osm {
    std::string da;
    std::string a;
};

// Reads the bytes of a map file, in two passes: the railway ways first, then only their nodes
// and the named stations, so that what is kept grows with the railways and not with the map.
// Fails, saying what and where (the element id, the XML line and column), on damaged data, a
// map without railway ways, more railway nodes or stations than the reader keeps, a station
// name longer than a station's may be, a station that is not on the map, two stations no
// railway joins, a relation whose ways do not join, and coordinates out of range.
esito_mappa leggi_osm(std::string_view byte, formato_osm formato,
                      const scelta_percorso_osm& scelta);

} // namespace corvenna
