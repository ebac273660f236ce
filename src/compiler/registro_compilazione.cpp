#include "compiler/registro_compilazione.hpp"

#include "model/tipi_cella.hpp"

#include <utility>

namespace corvenna {

namespace {

std::optional<descrizione> file_di(descrizione d) {
    return d;
}

} // namespace

std::string_view nome_descrizione(descrizione d) {
    return d == descrizione::linea ? "descrizione della linea" : "descrizione del treno";
}

std::string nomina(const elemento_descritto* e, descrizione qui) {
    if (e == nullptr)
        return "un altro elemento";
    std::string testo = e->cosa + " (riga " + std::to_string(e->posto.riga);
    if (e->file != qui)
        testo += " della " + std::string(nome_descrizione(e->file));
    return testo + ")";
}

void registro_compilazione::errore(descrizione d, luogo posto, std::int32_t codice,
                                   std::string messaggio, std::optional<std::int32_t> metri) {
    diagnostica x;
    x.livello = gravita::errore;
    x.file = file_di(d);
    x.riga = posto.riga;
    x.colonna = posto.colonna;
    x.codice = codice;
    x.messaggio = std::move(messaggio);
    x.metri = metri;
    registra(std::move(x));
}

void registro_compilazione::errore_generale(std::int32_t codice, std::string messaggio) {
    diagnostica x;
    x.codice = codice;
    x.messaggio = std::move(messaggio);
    registra(std::move(x));
}

void registro_compilazione::avviso(descrizione d, luogo posto, tipo_avviso tipo,
                                   std::string messaggio, std::optional<std::int32_t> metri) {
    diagnostica x;
    x.livello = gravita::avviso;
    x.file = file_di(d);
    x.riga = posto.riga;
    x.colonna = posto.colonna;
    x.tipo = tipo;
    x.messaggio = std::move(messaggio);
    x.metri = metri;
    registra(std::move(x));
}

void registro_compilazione::avviso(const elemento_descritto& e, tipo_avviso tipo,
                                   std::string messaggio) {
    avviso(e.file, e.posto, tipo, std::move(messaggio), e.metri);
}

void registro_compilazione::registra(diagnostica x) {
    ultima_ = raccolta_.aggiungi(diagnostiche, std::move(x));
}

void registro_compilazione::correla(descrizione d, luogo posto, std::string messaggio) {
    if (!ultima_ || !posto.noto())
        return;
    ultima_->correlati.push_back({file_di(d), posto.riga, posto.colonna, std::move(messaggio)});
}

void registro_compilazione::correla(const elemento_descritto* e, const std::string& cosa) {
    if (e == nullptr)
        return;
    std::string messaggio = cosa + " era stato posto dalla riga " + std::to_string(e->posto.riga);
    correla(e->file, e->posto, std::move(messaggio));
}

void registro_compilazione::segna_montagna(std::int32_t n) {
    segna_in(autore_montagne_, n);
}

const elemento_descritto* registro_compilazione::autore_montagna(std::int32_t n) const {
    return cerca(autore_montagne_, n);
}

void registro_compilazione::segna_voce(std::int32_t n) {
    segna_in(autore_voci_, n);
}

void registro_compilazione::segna_in(std::vector<std::uint32_t>& tabella, std::int32_t n) {
    if (n < 0)
        return;
    if (tabella.size() <= static_cast<std::size_t>(n))
        tabella.resize(static_cast<std::size_t>(n) + 1, 0);
    tabella[static_cast<std::size_t>(n)] = corrente_;
}

const elemento_descritto* registro_compilazione::autore_voce(std::int32_t n) const {
    return cerca(autore_voci_, n);
}

void registro_compilazione::segna_curva(luogo posto, std::int32_t inizio) {
    curve_.push_back({posto, inizio});
}

void registro_compilazione::prepara_celle(std::size_t numero_celle) {
    autore_tipo_.assign(numero_celle, 0);
    autore_avviso_.assign(numero_celle, 0);
}

void registro_compilazione::inizia_elemento(descrizione d, luogo posto, std::string cosa,
                                            std::int32_t metri) {
    elementi_.push_back({d, posto, std::move(cosa), metri});
    corrente_ = static_cast<std::uint32_t>(elementi_.size() - 1);
    cella_contesa = -1;
}

void registro_compilazione::segna_autore(std::int64_t k) {
    if (k >= 0 && static_cast<std::size_t>(k) < autore_tipo_.size())
        autore_tipo_[static_cast<std::size_t>(k)] = corrente_;
}

void registro_compilazione::scrive_tipo(const cella& prima, std::int64_t k) {
    const elemento_descritto& qui = elementi_[corrente_];
    const elemento_descritto* altro = autore(k);
    if (prima.tipo != tipo_cella::binario && altro != &qui) {
        if (prima.tipo == tipo_cella::marcatore_galleria) {
            avviso(qui, tipo_avviso::marcatore_galleria_sostituito,
                   qui.cosa + " a " + std::to_string(qui.metri) +
                       " m prende il posto di un marcatore di galleria di " +
                       nomina(altro, qui.file));
            correla(altro, "il marcatore di galleria");
        } else {
            avviso(qui, tipo_avviso::elemento_coperto,
                   qui.cosa + " a " + std::to_string(qui.metri) + " m prende la cella di " +
                       nomina(altro, qui.file) + ", che non compare piu'");
            correla(altro, "l'elemento coperto");
        }
    }
    segna_autore(k);
}

void registro_compilazione::scrive_avviso(std::uint8_t prima, std::int64_t k) {
    if (k < 0 || static_cast<std::size_t>(k) >= autore_avviso_.size())
        return;
    const elemento_descritto& qui = elementi_[corrente_];
    std::uint32_t& autore_cella = autore_avviso_[static_cast<std::size_t>(k)];
    // One warning per feature line is enough, however many of its markers replace others.
    if (prima != 0 && autore_cella != corrente_ && avvisato_avviso_ != corrente_) {
        avvisato_avviso_ = corrente_;
        const elemento_descritto* altro = autore_cella != 0 ? &elementi_[autore_cella] : nullptr;
        avviso(qui, tipo_avviso::marcatori_sovrascritti,
               "un marcatore di avvicinamento di " + qui.cosa + " a " + std::to_string(qui.metri) +
                   " m sostituisce, a " + std::to_string(k * 50) + " m, quello di " +
                   nomina(altro, qui.file));
        correla(altro, "il marcatore");
    }
    autore_cella = corrente_;
}

const elemento_descritto* registro_compilazione::cerca(const std::vector<std::uint32_t>& tabella,
                                                       std::int64_t k) const {
    if (k < 0 || static_cast<std::size_t>(k) >= tabella.size())
        return nullptr;
    const std::uint32_t n = tabella[static_cast<std::size_t>(k)];
    return n == 0 ? nullptr : &elementi_[n];
}

const elemento_descritto* registro_compilazione::autore(std::int64_t k) const {
    return cerca(autore_tipo_, k);
}

const elemento_descritto* registro_compilazione::autore_avviso(std::int64_t k) const {
    return cerca(autore_avviso_, k);
}

} // namespace corvenna
