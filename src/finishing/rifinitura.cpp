#include "finishing/rifinitura.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void rifinitura(costruzione&) {}

} // namespace corvenna
