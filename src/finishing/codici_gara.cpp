#include "finishing/codici_gara.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

std::int32_t codice_gara_st(costruzione&) { return 0; }
std::int16_t codice_gara_og(costruzione&) { return 0; }

} // namespace corvenna
