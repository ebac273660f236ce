#pragma once

// The three binary scenario files, packed little-endian field by field.

#include <filesystem>
#include <ostream>

namespace corvenna {

struct costruzione;

void scrivi_planimetria(std::ostream& uscita, const costruzione& c);
void scrivi_voci(std::ostream& uscita, const costruzione& c);
void scrivi_celle(std::ostream& uscita, const costruzione& c);

// The same, each replacing the file at `destinazione`.
void scrivi_planimetria(const std::filesystem::path& destinazione, const costruzione& c);
void scrivi_voci(const std::filesystem::path& destinazione, const costruzione& c);
void scrivi_celle(const std::filesystem::path& destinazione, const costruzione& c);

} // namespace corvenna
