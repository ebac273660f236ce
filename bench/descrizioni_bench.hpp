#pragma once

// The descriptions the benchmarks compile: the built-in scenario's, and a synthetic line of
// 1000 km, the longest a route may be.

#include <span>
#include <string>
#include <string_view>

namespace corvenna::banco {

// A line table as the description file holds it: Windows-1252, CR LF after every line, up to
// the end marker.
std::string testo_righe(std::span<const std::string_view> righe);

// The scenario's general section with the route length set to 1000000 m, then a curve in
// every kilometre, alternating hand and class, and a gradient change every 2 km.
std::string testo_linea_1000km();

} // namespace corvenna::banco
