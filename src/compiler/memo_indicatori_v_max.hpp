#pragma once

#include <cstdint>
#include <optional>

namespace corvenna {

struct costruzione;
class registro_compilazione;

// Records a maximum-speed indicator board at `posizione`. With a registro, it names the cell it
// found taken when it refuses the feature, makes the feature line the author of the cells it
// writes, and warns where a write hides another feature.
void memo_indicatori_v_max(costruzione& c, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced, registro_compilazione* reg = nullptr);

// One board value: the right-hand speed / 5 plus the left-hand value times 20, rounded from
// floating point; std::nullopt when it does not fit the 16-bit field.
std::optional<std::int16_t> valore_indicatore(std::int32_t sinistra, std::int32_t destra);

} // namespace corvenna
