#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;
class registro_compilazione;

// Records a relief stretch from `inizio` to `fine` (metres) of type `tipo`; a type above 10 is the
// tunnel variant of type `tipo` - 10, which also puts a tunnel marker on every fourth free cell of
// the stretch. With a registro, it names the cell it found taken when it refuses the feature,
// makes the feature line the author of the cells it writes, and warns where a write hides another
// feature.
void memo_montagna(costruzione& c, std::int32_t inizio, std::int32_t fine, std::int32_t tipo,
                   registro_compilazione* reg = nullptr);

} // namespace corvenna
