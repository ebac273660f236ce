#pragma once

// A line property that a description sets line by line from a position on (the gradient, the
// adhesion): each line fills the cells up to its position with the previous line's value, and
// the end of the description fills the rest of the route with the last one.

#include "compiler/avvisi_comuni.hpp"
#include "compiler/compilazione.hpp"

#include <cstdint>

namespace corvenna {

struct proprieta_riempita {
    proprieta_riempita(std::uint8_t cella::*campo, int scostamento, const char* parola,
                       const char* nome, const char* valore_memorizzato)
        : campo(campo), scostamento(scostamento), parola(parola), nome(nome),
          valore_memorizzato(valore_memorizzato) {}

    std::uint8_t cella::*campo;
    // Added to a line's value before it is stored (the gradient is stored plus 100).
    int scostamento;
    // For messages: the keyword ("pendenza"), the property with its article ("la pendenza"), and
    // what is stored ("la pendenza memorizzata (pendenza + 100)").
    const char* parola;
    const char* nome;
    const char* valore_memorizzato;

    std::int32_t indice = 0;
    std::int32_t precedente = 0;
    // The value field of the last line, where a failed tail fill points.
    luogo luogo_valore;
    ordine_posizioni ordine;

    std::uint8_t byte_precedente() const {
        return static_cast<std::uint8_t>(precedente + scostamento);
    }
};

// One line "KEYWORD, position, value" of the property.
esito_riga riga_proprieta(compilazione& k, descrizione d, lettore_descrizione& r,
                          proprieta_riempita& s);

// The fill of the last cells with the last value.
esito_fase coda_proprieta(compilazione& k, descrizione d, proprieta_riempita& s);

} // namespace corvenna
