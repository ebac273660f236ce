#include "documents/dati_rallentamenti.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void dati_rallentamenti(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
