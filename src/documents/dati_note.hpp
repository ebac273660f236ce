#pragma once

#include <filesystem>

namespace corvenna {

struct costruzione;

// Writes the scenario notes into `cartella`.
void dati_note(costruzione& c, const std::filesystem::path& cartella);

} // namespace corvenna
