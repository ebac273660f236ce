#include "compiler/memorizza_dati.hpp"

#include "compiler/compilazione.hpp"
#include "compiler/fase_linea.hpp"
#include "compiler/fase_treno.hpp"
#include "model/codici_errore.hpp"

namespace corvenna {

namespace {

// The general failure path: both descriptions go, wherever they still are.
void fallimento_generale(compilazione& k) {
    k.sorgente.cancella(descrizione::linea);
    k.sorgente.cancella(descrizione::treno);
    k.c.codice_errore = codice::lettura_fallita;
}

} // namespace

void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente, registro_compilazione& reg) {
    compilazione k{c, sorgente, reg};
    c.voci[voce_scenario].nome = c.nome_scenario;
    c.voci[voce_treno].nome = c.numero_treno;

    esito_fase esito = compila_linea(k);
    if (esito == esito_fase::completata)
        esito = compila_treno(k);
    if (esito == esito_fase::fallita)
        fallimento_generale(k);
}

void memorizza_dati(costruzione& c, sorgente_descrizioni& sorgente) {
    registro_compilazione reg;
    memorizza_dati(c, sorgente, reg);
}

} // namespace corvenna
