#pragma once

// The two checks a feature makes before it writes its cells: each cell lies on the track (code
// 26 otherwise), and the cell of a point feature is free, plain track or a tunnel marker (the
// feature's own code otherwise). The recorders leave a refusal in the model, for the line that
// called them to report; a line that places its point feature itself ends the compile at once,
// with its message.

#include "compiler/compilazione.hpp"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace corvenna {

// For a recorder: true when every cell of `celle` lies on the track; otherwise records code 26.
bool verifica_celle_nel_tracciato(costruzione& c, std::initializer_list<std::int64_t> celle);

// For a recorder, with cell k on the track: true when the cell is free; otherwise records
// `codice_occupata` and, with a registro, k as the contested cell its message names.
bool verifica_cella_libera(costruzione& c, std::int64_t k, std::int32_t codice_occupata,
                           registro_compilazione* reg);

// For a line of `d` whose feature at `posizione` (read at `posto`) needs cell n: `prosegui`
// when the cell lies on the track; otherwise ends the compile with code 26, `messaggio` and the
// position.
esito_riga controlla_cella_nel_tracciato(compilazione& k, descrizione d, std::int64_t n,
                                         luogo posto, std::int32_t posizione,
                                         const std::string& messaggio);

// A point feature that a line places itself on cell n, and what its messages call it: `cosa`
// with its article ("l'abbattimento"), `di_cosa` after "la cella" ("dell'abbattimento").
struct elemento_puntuale {
    std::int64_t n = 0;
    std::int32_t posizione = 0;
    luogo posto;
    std::int32_t codice_occupata = 0;
    std::string_view cosa;
    std::string_view di_cosa;
};

// For a line of `d` placing the point feature `e`: `prosegui` when its cell lies on the track
// and is free. Otherwise ends the compile with the position and code 26 ("<cosa> a <posizione>
// cade fuori dal tracciato") or the feature's own code ("la cella <di_cosa> a <posizione> e'
// gia' occupata da" the feature that placed the cell).
esito_riga controlla_cella_puntuale(compilazione& k, descrizione d, const elemento_puntuale& e);

} // namespace corvenna
