#pragma once

// A small railway network in the map's XML form, shared by the importer's unit tests and the
// whole-program tests. Along the meridian 9.000 E, nodes every 0.009 degrees of latitude
// (1000.76 m): Altavilla (node 1, a station on the track) - a level crossing (node 2) - node 3,
// where way 101 ends and way 102 begins (a way split in the middle) - node 4 - node 5 (way 103
// between them is a tunnel) - node 6, a junction where line B (way 201) leaves east for Dorna -
// Borgofranco (node 7, shared by nothing else). Castelverde (node 30) is a halt beside the
// track, 79 m east of it, 4503 m from Altavilla. Way 301 is a longer detour from node 3 to
// node 6 the shortest path must not take. maxspeed: 100 on way 101, 120 on 102, 80 in the
// tunnel, 120 on 104, 90 on line B.

#include <string>

namespace corvenna::prova {

// The along-track metres of the nodes of line A from Altavilla.
inline constexpr double passo_rete = 1000.76;

inline const std::string rete_osm = R"(<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6" generator="prova">
 <node id="1" lat="45.000" lon="9.000"><tag k="railway" v="station"/><tag k="name" v="Altavilla"/></node>
 <node id="2" lat="45.009" lon="9.000"><tag k="railway" v="level_crossing"/></node>
 <node id="3" lat="45.018" lon="9.000"/>
 <node id="4" lat="45.027" lon="9.000"/>
 <node id="5" lat="45.036" lon="9.000"/>
 <node id="6" lat="45.045" lon="9.000"/>
 <node id="7" lat="45.054" lon="9.000"><tag k="railway" v="station"/><tag k="name" v="Borgofranco"/></node>
 <node id="20" lat="45.045" lon="9.010"/>
 <node id="21" lat="45.045" lon="9.020"><tag k="railway" v="station"/><tag k="name" v="Dorna"/></node>
 <node id="30" lat="45.0405" lon="9.001"><tag k="railway" v="halt"/><tag k="name" v="Castelverde"/></node>
 <node id="40" lat="45.018" lon="8.990"/>
 <node id="41" lat="45.045" lon="8.990"/>
 <way id="101"><nd ref="1"/><nd ref="2"/><nd ref="3"/><tag k="railway" v="rail"/><tag k="maxspeed" v="100"/></way>
 <way id="102"><nd ref="3"/><nd ref="4"/><tag k="railway" v="rail"/><tag k="maxspeed" v="120"/></way>
 <way id="103"><nd ref="4"/><nd ref="5"/><tag k="railway" v="rail"/><tag k="tunnel" v="yes"/><tag k="maxspeed" v="80"/></way>
 <way id="104"><nd ref="5"/><nd ref="6"/><nd ref="7"/><tag k="railway" v="rail"/><tag k="maxspeed" v="120"/></way>
 <way id="201"><nd ref="6"/><nd ref="20"/><nd ref="21"/><tag k="railway" v="rail"/><tag k="maxspeed" v="90"/></way>
 <way id="301"><nd ref="3"/><nd ref="40"/><nd ref="41"/><nd ref="6"/><tag k="railway" v="rail"/></way>
 <relation id="900"><member type="way" ref="101" role=""/><member type="way" ref="102" role=""/><member type="way" ref="103" role=""/><member type="way" ref="104" role=""/><tag k="type" v="route"/><tag k="route" v="train"/></relation>
</osm>
)";

} // namespace corvenna::prova
