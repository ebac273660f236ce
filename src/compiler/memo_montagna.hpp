#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;

// Records a relief stretch from `inizio` to `fine` (metres) of type `tipo`; a type above 10 is
// the tunnel variant of type `tipo` - 10, which also puts a tunnel marker on every fourth free
// cell of the stretch.
void memo_montagna(costruzione& c, std::int32_t inizio, std::int32_t fine, std::int32_t tipo);

} // namespace corvenna
