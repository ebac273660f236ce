#include "description/dati_treno.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void dati_treno(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
