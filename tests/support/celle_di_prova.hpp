#pragma once

// A small build object for the recorder and finishing tests: cells 0 to `ultima_cella`, all plain
// track.

#include "model/costruzione.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <vector>

namespace corvenna::prova {

inline costruzione modello_vuoto(std::int32_t ultima_cella = 1900) {
    costruzione c;
    c.ultima_cella = ultima_cella;
    c.celle.assign(static_cast<std::size_t>(ultima_cella) + 1, cella{});
    return c;
}

inline auto campi(const cella& c) {
    return std::tuple(c.tipo, c.dato1, c.dato2, c.dato3, c.dato4, c.tempo, c.avviso, c.montagna,
                      c.velocita, c.pendenza, c.aderenza);
}

// The first index at which the two arrays differ, -1 when they are the same.
inline long prima_cella_diversa(const std::vector<cella>& a, const std::vector<cella>& b) {
    if (a.size() != b.size()) {
        return static_cast<long>(std::min(a.size(), b.size()));
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (campi(a[i]) != campi(b[i])) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

// How many cells carry a non-zero kind.
inline int celle_con_tipo(const costruzione& c) {
    int n = 0;
    for (const cella& cl : c.celle) {
        n += cl.tipo != 0 ? 1 : 0;
    }
    return n;
}

} // namespace corvenna::prova
