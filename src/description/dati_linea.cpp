#include "description/dati_linea.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void dati_linea(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
