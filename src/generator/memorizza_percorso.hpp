#pragma once

#include <cstdint>

namespace corvenna {

class cartella_bloccata;
class cartella_uscita;
struct costruzione;

// The build: resets the item table, compiles both descriptions in `cartella`, finishes and
// stamps the cells, stores the scenario codes and writes the binary files (the plan view only
// when `j` is nonzero). Returns 0, or 1250 / 1251 when a header check failed; then no binary
// file is written. When the compile ended before the cells existed, nothing after the compile
// runs and no binary file is written either. When the system failed on a description file
// (it could not be tested, read or deleted), throws that errore_file and writes no binary file.
// The binary files go to `binari` (the set of files a run replaces together); without it they
// replace their earlier versions in `cartella` together, as a set of their own.
int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella);
int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella,
                       cartella_uscita& binari);

} // namespace corvenna
