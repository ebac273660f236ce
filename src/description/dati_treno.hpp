#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Writes the scenario's train description into `cartella`.
void dati_treno(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
