#include "compiler/progressive_ordina.hpp"

#include "model/costruzione.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corvenna {

namespace {

// The three values of one kilometric system; they always move together.
struct progressiva {
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t posizione = 0;
};

progressiva leggi(const voce& v) {
    return {v.inizio, v.fine, v.posizione};
}

void scrivi(voce& v, const progressiva& p) {
    v.inizio = p.inizio;
    v.fine = p.fine;
    v.posizione = p.posizione;
}

// The systems in the order items 81, 82, 83 should hold them. All zeros when the order is not
// settled: two systems share the greatest start, or all start at the origin and none has a
// positive offset.
std::array<progressiva, 3> ordina(const progressiva& s81, const progressiva& s82,
                                  const progressiva& s83) {
    const std::int64_t somma = static_cast<std::int64_t>(s81.inizio) + s82.inizio + s83.inizio;
    if (somma != 0) {
        // Decreasing start; on equal starts the system from the higher-numbered item first.
        std::array<progressiva, 3> ordinate{s83, s82, s81};
        std::stable_sort(
            ordinate.begin(), ordinate.end(),
            [](const progressiva& a, const progressiva& b) { return a.inizio > b.inizio; });
        if (ordinate[0].inizio == ordinate[1].inizio) {
            return {};
        }
        return ordinate;
    }
    if (s83.fine > 0) {
        return {s83, s82, s81};
    }
    if (s82.fine > 0) {
        return {s82, s81, s83};
    }
    if (s81.fine > 0) {
        return {s81, s82, s83};
    }
    return {};
}

// A descending system's offset is moved on by 100 m.
constexpr std::int32_t direzione_decrescente = 1;
constexpr std::int64_t correzione_decrescente = 100;

} // namespace

void progressive_ordina(costruzione& c) {
    const auto ordinate =
        ordina(leggi(c.voci[voce_progressiva_tre]), leggi(c.voci[voce_progressiva_due]),
               leggi(c.voci[voce_progressiva_uno]));
    const std::array<int, 3> destinazioni{voce_progressiva_tre, voce_progressiva_due,
                                          voce_progressiva_uno};
    for (std::size_t i = 0; i < destinazioni.size(); ++i) {
        voce& v = c.voci[destinazioni[i]];
        scrivi(v, ordinate[i]);
        if (v.posizione == direzione_decrescente) {
            v.fine = static_cast<std::int32_t>(v.fine + correzione_decrescente);
        }
    }
}

} // namespace corvenna
