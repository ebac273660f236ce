#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;
class registro_compilazione;

// Records a signal at `posizione` with its packed aspect values and the four approach markers 100
// to 400 m before it. With a registro, it names the cell it found taken when it refuses the
// feature, makes the feature line the author of the cells it writes, and warns where a write hides
// another feature.
void memo_segnale(costruzione& c, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx,
                  std::int32_t d1, std::int32_t d2, std::int32_t d3, std::int32_t tempo,
                  registro_compilazione* reg = nullptr);

} // namespace corvenna
