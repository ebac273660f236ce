#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Writes the scenario's line description into `cartella`.
void dati_linea(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
