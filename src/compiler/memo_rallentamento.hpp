#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;
class registro_compilazione;

// Records a temporary slowdown starting at `x` over `l` metres at speed `v`: its start and end
// cells, its warning board 1200 m before the start and, when `f_ta` is nonzero, the four numbered
// cells before the board. With a registro, it names the cell it found taken when it refuses the
// feature, makes the feature line the author of the cells it writes, and warns where a write hides
// another feature.
void memo_rallentamento(costruzione& c, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v,
                        registro_compilazione* reg = nullptr);

} // namespace corvenna
