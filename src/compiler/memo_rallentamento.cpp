#include "compiler/memo_rallentamento.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void memo_rallentamento(costruzione&, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

} // namespace corvenna
