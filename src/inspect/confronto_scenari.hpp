#pragma once

// What changed between two scenarios, as an author edits them: one change per feature or
// stretch, located by route metre and by the kilometre the boards read.
//
//   scenario    identity, route length, train settings, kilometric systems;
//   stazione    by item: moved, renamed, its kind, time or platform changed, added, removed;
//   segnale, cartello_velocita, cartello, rallentamento, abbattimento (those an author
//               writes), ...: a feature with the same values at another metre is moved; at the
//               same metre with other values it is changed; else added or removed;
//   velocita, pendenza, aderenza, rilievo: each stretch of cells where the two differ and each
//               keeps one value ("velocita da 12300 m: 100 -> 90 km/h");
//   planimetria: each stretch where the line bends otherwise, with how far the line then
//               stands from where it stood, at most, until the next such stretch.
//
// What follows from another change is not told again: approach markers, a station's stop
// point, the finishing pass's cells, the scenario codes.

#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct modifica {
    std::string gruppo;
    std::optional<std::int64_t> metro; // where it begins; none for the whole scenario
    std::string descrizione;           // in words, UTF-8
};

std::vector<modifica> confronta_scenari(const costruzione& a, const costruzione& b);

} // namespace corvenna
