#include "compiler/memo_indicatori_v_max.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void memo_indicatori_v_max(costruzione&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

} // namespace corvenna
