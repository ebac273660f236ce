#pragma once

#include <cstdint>

namespace corvenna {

struct costruzione;

// The value of every abbattimento cell that the finishing pass places.
inline constexpr std::int16_t valore_abbattimento = 180;

// The smaller of two values; with equal values, `x`.
inline std::int16_t minimo(std::int16_t x, std::int16_t y) {
    return x > y ? y : x;
}

// What the finishing pass can tell besides what it writes: each code it records, and each cell
// where it hides something a description placed. Cells are indices; `elemento` is the cell of
// the feature the step works for (the signal, or the slowdown's start cell).
class osservatore_rifinitura {
  public:
    virtual ~osservatore_rifinitura() = default;
    // Code `codice` recorded at cell `cella`.
    virtual void errore(std::int32_t codice, std::int32_t cella, std::int32_t elemento) = 0;
    // An abbattimento placed on cell `cella`, which held a tunnel marker.
    virtual void marcatore_sostituito(std::int32_t cella, std::int32_t elemento) = 0;
    // The value of the abbattimento on cell `cella` lowered from `prima` to 180.
    virtual void valore_ridotto(std::int32_t cella, std::int16_t prima, std::int32_t elemento) = 0;
};

// The finishing pass over the cells: the abbattimento cells around signals before a slowdown
// warning board, before and along each slowdown, and before the first signal after it.
void rifinitura(costruzione& c, osservatore_rifinitura* oss = nullptr);

} // namespace corvenna
