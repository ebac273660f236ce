#include "model/codici_errore.hpp"

namespace corvenna::codice {

std::string_view descrizione(std::int32_t codice_errore) {
    switch (codice_errore) {
    case lunghezza_eccessiva:
        return "la lunghezza del percorso e' negativa o supera 1000000 m";
    case progressiva_non_multipla:
        return "l'inizio o lo scostamento di una progressiva chilometrica non e' multiplo di 50";
    case ripetizione_inizio:
        return "l'inizio della ripetizione segnali non e' multiplo di 50";
    case ripetizione_fine:
        return "la fine della ripetizione segnali non e' multipla di 50";
    case ripetizione_codici:
        return "la riga di ripetizione segnali non indica 4 o 9 codici";
    case cartello_occupato:
        return "la cella di un cartello indicatore e' gia' occupata";
    case abbattimento_occupato:
        return "la cella di un abbattimento e' gia' occupata";
    case stazione_non_multipla:
        return "la posizione di una stazione non e' multipla di 50";
    case marciapiede_non_multiplo:
        return "la lunghezza del marciapiede di una stazione non e' multipla di 100";
    case voci_esaurite:
        return "stazioni e cartelli indicatori superano le voci disponibili";
    case abbattimento_segnale:
        return "nessuna cella libera per l'abbattimento davanti a un segnale prima di un avviso";
    case abbattimento_fasce:
        return "nessuna cella libera per un abbattimento prima dell'inizio di un rallentamento";
    case abbattimento_percorso:
        return "nessuna cella libera per un abbattimento lungo o dopo un rallentamento";
    case fuori_tracciato:
        return "una posizione cade oltre la fine del tracciato";
    case segnale_occupato:
        return "la cella di un segnale e' gia' occupata";
    case avviso_occupato:
        return "la cella dell'avviso di un rallentamento e' gia' occupata";
    case inizio_occupato:
        return "la cella d'inizio di un rallentamento e' gia' occupata";
    case fine_occupata:
        return "la cella di fine di un rallentamento e' gia' occupata";
    case preavvisi_occupati:
        return "una delle quattro celle prima dell'avviso di un rallentamento e' gia' occupata";
    case indicatore_occupato:
        return "la cella di un indicatore di velocita' e' gia' occupata";
    case stazioni_vicine:
        return "il marciapiede di una stazione inizia a meno di 350 m dalla fine del precedente";
    case fermata_iniziale:
        return "la fine del marciapiede di una stazione e' a 100 m o meno";
    case lettura_fallita:
        return "una descrizione non si legge, o un suo valore non si legge o non sta nel suo tipo";
    case celle_fuori_limite:
        return "un elemento occupa celle fuori dal tracciato";
    case troppe_montagne:
        return "i tratti montagna superano gli 80 consentiti";
    case linea_mancante:
        return "la descrizione della linea non esiste";
    case generale_mancante:
        return "la descrizione della linea non ha la sezione [generale]";
    case curva_non_valida:
        return "una curva non ha la classe o si estende oltre la planimetria";
    default:
        return "errore sconosciuto";
    }
}

bool ha_posizione(std::int32_t codice_errore) {
    switch (codice_errore) {
    case cartello_occupato:
    case abbattimento_occupato:
    case stazione_non_multipla:
    case marciapiede_non_multiplo:
    case abbattimento_segnale:
    case abbattimento_fasce:
    case abbattimento_percorso:
    case fuori_tracciato:
    case segnale_occupato:
    case avviso_occupato:
    case inizio_occupato:
    case fine_occupata:
    case preavvisi_occupati:
    case indicatore_occupato:
    case stazioni_vicine:
    case celle_fuori_limite:
    case troppe_montagne:
        return true;
    default:
        return false;
    }
}

} // namespace corvenna::codice
