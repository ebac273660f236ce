#pragma once

#include <cstdint>

namespace corvenna {

class cartella_bloccata;
struct costruzione;

// The build: resets the item table, compiles both descriptions in `cartella`, finishes and
// stamps the cells, stores the scenario codes and writes the binary files (the plan view only
// when `j` is nonzero). Returns 0, or 1250 / 1251 when a header check failed; then no binary
// file is written. When the compile ended before the cells existed, nothing after the compile
// runs and no binary file is written either. When the system failed on a description file
// (it could not be tested, read or deleted), throws that errore_file and writes no binary file.
int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella);

} // namespace corvenna
