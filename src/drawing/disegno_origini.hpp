#pragma once

// Where each feature of a drawing comes from when the page is drawn straight from the two
// descriptions: the description line that placed it. The drawing itself reads no description;
// whoever compiled them fills this in, and the tooltips name the line ("riga 12 della
// descrizione della linea"). Empty when the page is drawn from compiled files.

#include "base/descrizione.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

struct riga_origine {
    descrizione file = descrizione::linea;
    int riga = 0;
};

struct origini_disegno {
    // Point features (signals, boards, slowdown starts) by the cell they stand on.
    std::map<std::int32_t, riga_origine> celle;
    // Stations in the order of the items (the order of their lines).
    std::vector<riga_origine> stazioni;
    // Stretches by their start metre: relief and tunnel stretches, curves.
    std::map<std::int64_t, riga_origine> rilievi;
    std::map<std::int64_t, riga_origine> curve;
};

// "riga 12 della descrizione della linea" / "... del treno".
std::string testo_origine(const riga_origine& r);

// The line of a feature, looked up in one table; std::nullopt when it is not there.
template <typename K>
std::optional<riga_origine> cerca_origine(const std::map<K, riga_origine>& tabella, K chiave) {
    const auto i = tabella.find(chiave);
    if (i == tabella.end())
        return std::nullopt;
    return i->second;
}

} // namespace corvenna
