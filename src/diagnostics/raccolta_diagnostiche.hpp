#pragma once

// The diagnostics one pass records, held to a bound per kind so that their memory does not
// grow with the lines of the description. A description of junk gives one diagnostic per line,
// all of one kind: 16 MiB of three-byte lines would be four million diagnostics of a couple of
// hundred bytes each, 60 times the file. No report shows more than the first few of a kind
// (diagnostics/limite_diagnostiche.hpp) and an editor no more than a thousand a file, so a pass
// keeps the first diagnostiche_tenute_per_tipo of each kind (a warning's kind, an error's code)
// and counts the rest in the last one it kept (`altre_uguali`), which the reports add to the
// kind's "... e altre N" and to the totals.

#include "diagnostics/diagnostica.hpp"

#include <cstddef>
#include <cstdint>
#include <map>

namespace corvenna {

inline constexpr std::size_t diagnostiche_tenute_per_tipo = 1000;

// The kind of `d` as one number: warnings by kind, errors by code, the two never equal.
std::int64_t chiave_tipo(const diagnostica& d);

class raccolta_diagnostiche {
  public:
    explicit raccolta_diagnostiche(std::size_t per_tipo = diagnostiche_tenute_per_tipo)
        : per_tipo_(per_tipo) {}

    // Appends `d` to `elenco`, or counts it in the last one kept of its kind when `elenco`
    // holds `per_tipo` of that kind already from this collection. Returns the diagnostic kept,
    // or nullptr when `d` was only counted.
    diagnostica* aggiungi(elenco_diagnostiche& elenco, diagnostica d);

  private:
    struct tenute {
        std::size_t quante = 0;
        // The index in the list of the last one kept.
        std::size_t ultima = 0;
    };
    std::size_t per_tipo_;
    std::map<std::int64_t, tenute> per_chiave_;
};

} // namespace corvenna
