#include "documents/dati_scheda.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void dati_scheda(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
