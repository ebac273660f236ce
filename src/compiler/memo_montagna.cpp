#include "compiler/memo_montagna.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void memo_montagna(costruzione&, std::int32_t, std::int32_t, std::int32_t) {}

} // namespace corvenna
