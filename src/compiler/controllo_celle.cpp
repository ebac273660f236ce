#include "compiler/controllo_celle.hpp"

#include "compiler/registro_compilazione.hpp"
#include "model/codici_errore.hpp"

namespace corvenna {

bool verifica_celle_nel_tracciato(costruzione& c, std::initializer_list<std::int64_t> celle) {
    for (const std::int64_t k : celle) {
        if (!cella_esistente(c, k)) {
            c.codice_errore = codice::celle_fuori_limite;
            return false;
        }
    }
    return true;
}

bool verifica_cella_libera(costruzione& c, std::int64_t k, std::int32_t codice_occupata,
                           registro_compilazione* reg) {
    if (cella_libera(c.celle[static_cast<std::size_t>(k)]))
        return true;
    if (reg)
        reg->cella_contesa = k;
    c.codice_errore = codice_occupata;
    return false;
}

esito_riga controlla_cella_nel_tracciato(compilazione& k, descrizione d, std::int64_t n,
                                         luogo posto, std::int32_t posizione,
                                         const std::string& messaggio) {
    if (cella_esistente(k.c, n))
        return esito_riga::prosegui;
    return termina(k, d, {codice::celle_fuori_limite, posto, messaggio, posizione}, posizione);
}

esito_riga controlla_cella_puntuale(compilazione& k, descrizione d, const elemento_puntuale& e) {
    const std::string a = " a " + metri(e.posizione);
    if (const esito_riga esito = controlla_cella_nel_tracciato(
            k, d, e.n, e.posto, e.posizione, std::string(e.cosa) + a + " cade fuori dal tracciato");
        esito != esito_riga::prosegui)
        return esito;
    if (cella_libera(k.c.celle[static_cast<std::size_t>(e.n)]))
        return esito_riga::prosegui;
    return termina(k, d,
                   {e.codice_occupata, e.posto,
                    "la cella " + std::string(e.di_cosa) + a + " e' gia' occupata da " +
                        nomina(k.reg.autore(e.n), d),
                    e.posizione},
                   e.posizione);
}

} // namespace corvenna
