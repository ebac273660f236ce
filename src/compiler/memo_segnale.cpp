#include "compiler/memo_segnale.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void memo_segnale(costruzione&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

} // namespace corvenna
