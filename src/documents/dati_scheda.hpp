#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Writes the train card into `cartella`.
void dati_scheda(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
