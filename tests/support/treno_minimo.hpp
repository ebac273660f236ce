#pragma once

// The smallest train description the tool takes without an error: a line speed and one station
// at the route's start, where the train departs. The system tests compile it with their own
// short lines.

#include <string>

namespace corvenna::prova {

inline std::string treno_minimo(int velocita_kmh = 75) {
    return "[generale]\r\nvelocita,  0,  " + std::to_string(velocita_kmh) +
           "\r\n[stazioni]\r\nstazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  "
           "6,  41,  0,   ORIGINE\r\n[fine]\r\n";
}

} // namespace corvenna::prova
