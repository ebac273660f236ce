#pragma once

// A synthetic line description of 1000000 m, the longest a route may be, for the benchmarks.

#include <string>

namespace corvenna::banco {

// The scenario's general section with the route length set to 1000000 m, then a curve in
// every kilometre, alternating hand and class, and a gradient change every 2 km.
std::string testo_linea_1000km();

} // namespace corvenna::banco
