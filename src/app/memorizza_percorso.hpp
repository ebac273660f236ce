#pragma once

#include <cstdint>
#include <filesystem>

namespace corvenna {

struct costruzione;

// The build: resets the item table, compiles both descriptions in `cartella`, finishes and
// stamps the cells, stores the scenario codes and writes the binary files (the plan view only
// when `j` is nonzero). Returns 0, or 1250 / 1251 when a header check failed; then no binary
// file is written. When the compile ended before the cells existed, nothing after the compile
// runs and no binary file is written either.
int memorizza_percorso(costruzione& c, const std::int32_t& j,
                       const std::filesystem::path& cartella);

} // namespace corvenna
