#include "documents/dati_note.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

void dati_note(costruzione&, const std::filesystem::path&) {}

} // namespace corvenna
