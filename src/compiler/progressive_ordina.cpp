#include "compiler/progressive_ordina.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void progressive_ordina(costruzione&) {}

} // namespace corvenna
