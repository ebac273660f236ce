#include "compiler/memorizza_dati.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void memorizza_dati(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
