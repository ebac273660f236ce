#pragma once

namespace corvenna {

struct costruzione;

// Puts the three kilometric progressive systems of items 81 to 83 in their fixed order along
// the line (the one that starts last first) and adds 100 to the offset of the descending ones.
void progressive_ordina(costruzione& c);

} // namespace corvenna
