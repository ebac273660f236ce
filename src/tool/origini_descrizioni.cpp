#include "tool/origini_descrizioni.hpp"

#include "model/arrotonda.hpp"

#include <cstddef>
#include <cstdint>

namespace corvenna {

namespace {

riga_origine origine_di(const riga_descrizione& r) {
    return {r.file, r.riga};
}

} // namespace

origini_disegno origini_descrizioni(const righe_sorgente& righe) {
    origini_disegno o;
    for (std::size_t k = 0; k < righe.celle.size(); ++k)
        if (righe.celle[k])
            o.celle.emplace(static_cast<std::int32_t>(k), origine_di(*righe.celle[k]));
    for (const riga_descrizione& r : righe.stazioni)
        o.stazioni.push_back(origine_di(r));
    // The page keys a relief stretch by its first cell's start, the cell the compile puts the
    // stretch's start on.
    for (const tratto_descritto& t : righe.montagne)
        o.rilievi.emplace(cella_di(t.inizio) * 50, origine_di(t.riga));
    for (const tratto_descritto& t : righe.curve)
        o.curve.emplace(t.inizio, origine_di(t.riga));
    return o;
}

} // namespace corvenna
