#include "compiler/proprieta_riempita.hpp"

#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"

namespace corvenna {

esito_riga riga_proprieta(compilazione& k, descrizione d, lettore_descrizione& r,
                          proprieta_riempita& s) {
    const auto riga = leggi_riga_di_valori<2>(k, d, r);
    if (riga.esito != esito_riga::prosegui)
        return riga.esito;
    const auto [p, valore] = riga.valori;
    controlla_ordine(k, d, s.ordine, p, riga.luoghi[0], s.parola);
    avvisa_arrotondamento(k, d, p, riga.luoghi[0], s.nome);
    avvisa_troncamento(k, d, static_cast<std::int64_t>(valore) + s.scostamento, 0, 255,
                       riga.luoghi[1], s.valore_memorizzato, p);
    const std::int64_t n = cella_di(p);
    if (n > 0 && !riempi_celle(k.c, s.indice, n, s.campo, s.byte_precedente()))
        return termina(
            k, d,
            {codice::celle_fuori_limite, riga.luoghi[0],
             std::string(s.nome) + " a " + metri(p) + " riempie celle oltre il tracciato", p},
            p);
    s.precedente = valore;
    s.luogo_valore = riga.luoghi[1];
    return esito_riga::prosegui;
}

esito_fase coda_proprieta(compilazione& k, descrizione d, proprieta_riempita& s) {
    return riempi_coda(k, d, s.indice, s.campo, s.byte_precedente(), s.luogo_valore);
}

} // namespace corvenna
