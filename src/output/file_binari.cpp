#include "output/file_binari.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void scrivi_planimetria(std::ostream&, const costruzione&) {}
void scrivi_voci(std::ostream&, const costruzione&) {}
void scrivi_celle(std::ostream&, const costruzione&) {}
void scrivi_planimetria(const std::filesystem::path&, const costruzione&) {}
void scrivi_voci(const std::filesystem::path&, const costruzione&) {}
void scrivi_celle(const std::filesystem::path&, const costruzione&) {}

} // namespace corvenna
