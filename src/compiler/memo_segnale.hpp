#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;

// Records a signal at `posizione` with its packed aspect values and the four approach markers
// 100 to 400 m before it.
void memo_segnale(costruzione& c, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx,
                  std::int32_t d1, std::int32_t d2, std::int32_t d3, std::int32_t tempo);

} // namespace corvenna
