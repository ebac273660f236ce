#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;

// Records a maximum-speed indicator board at `posizione`.
void memo_indicatori_v_max(costruzione& c, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced);

} // namespace corvenna
