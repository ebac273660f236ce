#include "checking/controllo_descrizioni.hpp"

#include "checking/controllo_testo.hpp"
#include "checking/correzioni_certe.hpp"
#include "checking/ripresa_compilazione.hpp"
#include "model/codici_errore.hpp"

#include <algorithm>
#include <climits>

namespace corvenna {

namespace {

bool stesso_posto(const diagnostica& a, const diagnostica& b) {
    return a.file == b.file && a.riga == b.riga && a.colonna == b.colonna;
}

// A warning of the compile that one of the pass's says better at the same place.
bool superato(const diagnostica& d, const elenco_diagnostiche& controllo) {
    if (!d.tipo)
        return false;
    return std::any_of(controllo.begin(), controllo.end(), [&](const diagnostica& c) {
        switch (*d.tipo) {
        case tipo_avviso::valori_su_piu_righe:
            return (c.tipo == tipo_avviso::valori_su_piu_righe ||
                    c.tipo == tipo_avviso::riga_inghiottita) &&
                   c.file == d.file && c.riga == d.riga;
        case tipo_avviso::parola_chiave_sconosciuta:
            return stesso_posto(c, d) && (c.tipo == tipo_avviso::parola_chiave_simile ||
                                          c.tipo == tipo_avviso::elemento_perso ||
                                          c.tipo == tipo_avviso::commento_non_valido ||
                                          c.tipo == tipo_avviso::commento_con_virgola ||
                                          c.tipo == tipo_avviso::riga_fuori_sezione);
        case tipo_avviso::valore_troncato:
            return stesso_posto(c, d) && c.tipo == tipo_avviso::valore_avvolto;
        case tipo_avviso::generale_mancante:
            return c.tipo == tipo_avviso::treno_vuoto && c.file == d.file;
        default:
            return false;
        }
    });
}

// The range check refuses a position past the track, which runs 7000 m past the route's end:
// the message names that limit, not the route length.
void limite_reale(diagnostica& d, const esito_controllo_testo& t) {
    if (d.codice != codice::fuori_tracciato || !d.file || !d.metri || !t.lunghezza_percorso)
        return;
    const auto margine = t.margini.find({*d.file, d.riga});
    const int m = margine == t.margini.end() ? 100 : margine->second;
    d.messaggio = "posizione " + std::to_string(*d.metri) +
                  " oltre la fine del tracciato: " + (m == 800 ? "una stazione" : "una riga") +
                  " puo' stare fino a " +
                  std::to_string(ultima_posizione(*t.lunghezza_percorso, m)) +
                  " m (il percorso e' di " + std::to_string(*t.lunghezza_percorso) + " m)";
}

// A value that does not read: the compile names the field, the pass adds what the row most
// likely lacks.
void lettura_spiegata(diagnostica& d, const esito_controllo_testo& t) {
    if (d.codice != codice::lettura_fallita || !d.file)
        return;
    const auto spiegazione = t.letture_fallite.find({*d.file, d.riga});
    if (spiegazione != t.letture_fallite.end())
        d.messaggio += ": " + spiegazione->second;
}

int ordine_file(const diagnostica& d) {
    return d.file ? static_cast<int>(*d.file) : 2;
}

} // namespace

elenco_diagnostiche controlla_descrizioni(const std::string& linea, const std::string& treno,
                                          std::int32_t genera_planimetria,
                                          elenco_diagnostiche della_compilazione) {
    esito_controllo_testo t = controlla_testi(linea, treno);
    elenco_diagnostiche ripresa = riprendi_compilazione(
        linea, treno, genera_planimetria, della_compilazione, t.righe_guaste, t.lunghezza_percorso);

    elenco_diagnostiche tutte;
    for (auto* elenco : {&della_compilazione, &ripresa}) {
        for (diagnostica& d : *elenco) {
            if (superato(d, t.diagnostiche))
                continue;
            limite_reale(d, t);
            lettura_spiegata(d, t);
            tutte.push_back(std::move(d));
        }
    }
    for (diagnostica& d : t.diagnostiche) {
        const bool doppia = std::any_of(tutte.begin(), tutte.end(), [&](const diagnostica& x) {
            return stessa_diagnostica(x, d);
        });
        if (!doppia)
            tutte.push_back(std::move(d));
    }
    aggiungi_correzioni_certe(tutte, linea, treno);
    std::stable_sort(tutte.begin(), tutte.end(), [](const diagnostica& a, const diagnostica& b) {
        const auto chiave = [](const diagnostica& d) {
            return std::tuple(ordine_file(d), d.riga == 0 ? INT_MAX : d.riga, d.colonna);
        };
        return chiave(a) < chiave(b);
    });
    return tutte;
}

} // namespace corvenna
