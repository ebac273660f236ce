#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Writes the slowdown order into `cartella`.
void dati_rallentamenti(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
