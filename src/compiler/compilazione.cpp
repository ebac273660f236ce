#include "compiler/compilazione.hpp"

#include "description/lettore.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "format/larghezze_campi.hpp"
#include "model/codici_errore.hpp"

#include <algorithm>
#include <utility>

namespace corvenna {

std::string metri(std::int64_t m) {
    return std::to_string(m) + " m";
}

namespace {

// What a failed read says about the field it failed on.
std::string messaggio_lettura(const lettore_descrizione& r) {
    const std::string campo(r.testo_campo());
    switch (r.causa()) {
    case causa_fallimento::fine_testo:
        return "manca un valore: la descrizione finisce prima";
    case causa_fallimento::non_numero:
        return "'" + campo + "' non e' un numero";
    case causa_fallimento::fuori_tipo:
        return campo + " non sta nel suo campo (da " + std::to_string(r.minimo_tipo()) + " a " +
               std::to_string(r.massimo_tipo()) + ")";
    case causa_fallimento::virgolette_aperte:
        return "le virgolette non si chiudono";
    case causa_fallimento::nessuna:
        break;
    }
    return std::string(testo_codice(codice::lettura_fallita));
}

// The message of a code that a recorder recorded for the feature `cosa` at `posizione`.
std::string messaggio_registratore(const compilazione& k, descrizione d, std::int32_t codice_errore,
                                   std::int32_t posizione, const std::string& cosa) {
    const std::string occupante = nomina(k.reg.autore(k.reg.cella_contesa), d);
    const std::string a = " a " + metri(posizione);
    switch (codice_errore) {
    case codice::segnale_occupato:
        return "la cella del segnale" + a + " e' gia' occupata da " + occupante;
    case codice::avviso_occupato:
        return "la cella dell'avviso, 1200 m prima del rallentamento" + a +
               ", e' gia' occupata da " + occupante;
    case codice::inizio_occupato:
        return "la cella d'inizio del rallentamento" + a + " e' gia' occupata da " + occupante;
    case codice::fine_occupata:
        return "la cella di fine del rallentamento" + a + " e' gia' occupata da " + occupante;
    case codice::preavvisi_occupati:
        return "una delle quattro celle prima dell'avviso del rallentamento" + a + " (a " +
               metri(k.reg.cella_contesa * 50) + ") e' gia' occupata da " + occupante;
    case codice::indicatore_occupato:
        return "la cella dell'indicatore di velocita'" + a + " e' gia' occupata da " + occupante;
    case codice::celle_fuori_limite:
        return cosa + " occupa celle fuori dal tracciato";
    case codice::troppe_montagne:
        return "i tratti montagna superano gli 80 consentiti";
    default:
        return std::string(testo_codice(codice_errore));
    }
}

} // namespace

bool nel_tracciato(const costruzione& c, std::int64_t posizione, int margine) {
    return static_cast<double>(c.ultima_cella) >= static_cast<double>(posizione + margine) / 50.0;
}

bool nome_rappresentabile(const std::string& nome) {
    return nome.size() <= lunghezza_testo_massima;
}

esito_riga controlla_tracciato(compilazione& k, descrizione d, std::int64_t posizione, luogo posto,
                               int margine) {
    costruzione& c = k.c;
    if (nel_tracciato(c, posizione, margine))
        return esito_riga::prosegui;
    c.codice_errore = codice::fuori_tracciato;
    c.posizione_errore = static_cast<std::int32_t>(posizione);
    k.reg.errore(d, posto, codice::fuori_tracciato,
                 "posizione " + std::to_string(posizione) + " oltre il percorso (" +
                     metri(c.voci[voce_percorso].fine) + ")",
                 static_cast<std::int32_t>(posizione));
    return esito_riga::fuori_tracciato;
}

esito_riga termina(compilazione& k, descrizione d, const guasto& g) {
    k.sorgente.cancella(d);
    k.c.codice_errore = g.codice;
    k.reg.errore(d, g.posto, g.codice, g.messaggio, g.metri);
    return esito_riga::terminata;
}

esito_riga termina(compilazione& k, descrizione d, const guasto& g, std::int32_t posizione) {
    k.c.posizione_errore = posizione;
    return termina(k, d, g);
}

esito_riga fallisce(compilazione& k, descrizione d, luogo posto, std::string messaggio) {
    if (!k.fallimento_segnalato)
        k.reg.errore(d, posto, codice::lettura_fallita, std::move(messaggio));
    k.fallimento_segnalato = true;
    return esito_riga::fallita;
}

esito_riga dopo_registratore(compilazione& k, descrizione d, std::int32_t posizione, luogo posto,
                             const char* nome) {
    const std::int32_t codice_errore = k.c.codice_errore;
    if (codice_errore <= 0)
        return esito_riga::prosegui;
    const std::string cosa = std::string(nome) + " a " + metri(posizione);
    if (codice_errore == codice::lettura_fallita)
        return esito_riga::fallita;
    if (codice_errore == codice::fuori_tracciato) {
        // A code 15 left by the line description: no recorder sets it. It ends the compile here,
        // with this line's position; the error itself was reported where it arose.
        k.sorgente.cancella(d);
        k.c.posizione_errore = posizione;
        // Name the row that left it: the fault is there, often in the other description.
        std::string dove = "di una riga precedente";
        const auto origine = std::find_if(
            k.reg.diagnostiche.rbegin(), k.reg.diagnostiche.rend(), [](const diagnostica& x) {
                return x.codice == codice::fuori_tracciato && x.file && x.riga > 0;
            });
        if (origine != k.reg.diagnostiche.rend())
            dove = "della riga " + std::to_string(origine->riga) +
                   (*origine->file == d ? std::string()
                                        : " della " + std::string(*origine->file == d_linea
                                                                      ? "descrizione della linea"
                                                                      : "descrizione del treno"));
        k.reg.avviso(d, posto, tipo_avviso::compilazione_interrotta,
                     "la compilazione si ferma a questa riga (" + cosa + "): resta il codice 15 " +
                         dove + ", e le righe seguenti non sono lette",
                     posizione);
        return esito_riga::terminata;
    }
    return termina(k, d,
                   {codice_errore, posto,
                    messaggio_registratore(k, d, codice_errore, posizione, cosa), posizione},
                   posizione);
}

campo_chiave leggi_parola_chiave(lettore_descrizione& r, int max_trattini) {
    campo_chiave campo;
    const auto prendi = [&] {
        campo.testo = r.leggi_testo();
        campo.posto = r.luogo_campo();
        campo.a_inizio_riga = r.campo_a_inizio_riga();
        campo.ultimo = r.fine_file();
    };
    if (r.fine_file()) {
        campo.ultimo = true;
        return campo;
    }
    prendi();
    for (int n = 0; n < max_trattini && !campo.ultimo && e_campo_trattino(campo.testo); ++n)
        prendi();
    return campo;
}

void avvisa_campo_ignorato(compilazione& k, descrizione d, const campo_chiave& campo,
                           stato_lettura& s) {
    // Empty fields, headers and comment fields are meant to be skipped.
    if (campo.testo.empty() || e_intestazione(campo.testo) || e_campo_trattino(campo.testo))
        return;
    if (campo.posto.riga == s.riga_avvisata)
        return;
    s.riga_avvisata = campo.posto.riga;
    if (campo.ultimo)
        k.reg.avviso(d, campo.posto, tipo_avviso::ultimo_campo_ignorato,
                     "l'ultimo campo della descrizione non e' mai letto: '" + campo.testo +
                         "' e' ignorato (la descrizione finisce di solito con [fine])");
    else if (campo.a_inizio_riga || campo.posto.riga != s.riga_chiave)
        k.reg.avviso(d, campo.posto, tipo_avviso::parola_chiave_sconosciuta,
                     "'" + campo.testo + "' non e' una parola chiave: la riga e' ignorata");
    else
        k.reg.avviso(d, campo.posto, tipo_avviso::valori_in_eccesso,
                     "'" + campo.testo + "' e' oltre i valori che la riga prende: e' ignorato");
}

void dopo_riga(compilazione& k, descrizione d, const lettore_descrizione& r,
               const campo_chiave& campo, esito_riga esito, stato_lettura& s) {
    switch (esito) {
    case esito_riga::prosegui:
        s.riga_chiave = campo.posto.riga;
        if (const int ultima = r.luogo_campo().riga; ultima > campo.posto.riga)
            k.reg.avviso(d, campo.posto, tipo_avviso::valori_su_piu_righe,
                         "la riga ha meno valori di quanti ne prende '" + campo.testo +
                             "': i mancanti sono presi fino alla riga " + std::to_string(ultima));
        break;
    case esito_riga::tralasciata:
        // Its values follow as fields that match nothing: skipped without a word.
        s.riga_chiave = campo.posto.riga;
        s.riga_avvisata = campo.posto.riga;
        break;
    case esito_riga::ignorata:
        avvisa_campo_ignorato(k, d, campo, s);
        break;
    default:
        break;
    }
}

std::optional<esito_fase> leggi_righe(compilazione& k, descrizione d, lettore_descrizione& r,
                                      const lettore_riga& riga) {
    constexpr int trattini_righe = 2;
    stato_lettura s;
    for (;;) {
        const campo_chiave campo = leggi_parola_chiave(r, trattini_righe);
        if (r.fallito())
            return esito_fase::fallita;
        if (campo.ultimo) {
            avvisa_campo_ignorato(k, d, campo, s);
            return std::nullopt;
        }
        const esito_riga esito = riga(campo);
        if (esito == esito_riga::fuori_tracciato)
            return std::nullopt;
        if (esito == esito_riga::terminata || esito == esito_riga::fallita)
            return esito_di(esito);
        dopo_riga(k, d, r, campo, esito, s);
    }
}

esito_fase esito_di(esito_riga esito) {
    switch (esito) {
    case esito_riga::terminata:
        return esito_fase::terminata;
    case esito_riga::fallita:
        return esito_fase::fallita;
    default:
        return esito_fase::completata;
    }
}

void segna_luogo_fallimento(compilazione& k, descrizione d, const lettore_descrizione* r) {
    std::string luogo_messaggio = k.sorgente.nome(d);
    if (r == nullptr)
        luogo_messaggio += ": non si legge";
    else if (r->fallito())
        luogo_messaggio += ", riga " + std::to_string(r->riga_corrente());
    k.c.luogo_errore = std::move(luogo_messaggio);

    if (k.fallimento_segnalato)
        return;
    if (r == nullptr)
        fallisce(k, d, {},
                 "la " + std::string(nome_descrizione(d)) +
                     (k.sorgente.esiste(d) ? " non si legge" : " non esiste"));
    else if (r->fallito())
        fallisce(k, d, r->luogo_campo(), messaggio_lettura(*r));
    else
        fallisce(k, d, {}, std::string(testo_codice(codice::lettura_fallita)));
}

esito_fase riempi_coda(compilazione& k, descrizione d, std::int32_t& indice,
                       std::uint8_t cella::*campo, std::uint8_t valore, luogo posto) {
    costruzione& c = k.c;
    if (riempi_celle(c, indice, static_cast<std::int64_t>(c.ultima_cella) - 2, campo, valore))
        return esito_fase::completata;
    const std::int32_t posizione = indice * 50;
    termina(k, d,
            {codice::celle_fuori_limite, posto,
             "il riempimento delle ultime celle passa la fine del tracciato", posizione},
            posizione);
    return esito_fase::terminata;
}

bool riempi_celle(costruzione& c, std::int32_t& indice, std::int64_t fino_a,
                  std::uint8_t cella::*campo, std::uint8_t valore) {
    do {
        if (!cella_esistente(c, indice))
            return false;
        c.celle[static_cast<std::size_t>(indice)].*campo = valore;
        ++indice;
    } while (indice < fino_a);
    return true;
}

esito_fase compila_descrizione(compilazione& k, descrizione d,
                               esito_fase (*compila_testo)(compilazione&, lettore_descrizione&)) {
    std::optional<std::string> testo = k.sorgente.leggi(d);
    if (!testo) {
        segna_luogo_fallimento(k, d, nullptr);
        return esito_fase::fallita;
    }
    lettore_descrizione r(std::move(*testo));
    const esito_fase esito = compila_testo(k, r);
    if (esito == esito_fase::fallita)
        segna_luogo_fallimento(k, d, &r);
    return esito;
}

} // namespace corvenna
