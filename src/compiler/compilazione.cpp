#include "compiler/compilazione.hpp"

#include "description/lettore.hpp"
#include "model/codici_errore.hpp"
#include "output/scrittore_binario.hpp"

namespace corvenna {

bool nel_tracciato(const costruzione& c, std::int64_t posizione, int margine) {
    return static_cast<double>(c.ultima_cella) >= static_cast<double>(posizione + margine) / 50.0;
}

bool nome_rappresentabile(const std::string& nome) {
    return nome.size() <= lunghezza_testo_massima;
}

void segna_luogo_fallimento(compilazione& k, descrizione d, const lettore_descrizione* r) {
    std::string luogo = k.sorgente.nome(d);
    if (r == nullptr)
        luogo += ": non si legge";
    else if (r->fallito())
        luogo += ", riga " + std::to_string(r->riga_corrente());
    k.c.luogo_errore = std::move(luogo);
}

bool fuori_tracciato(costruzione& c, std::int64_t posizione, int margine, bool& fuori) {
    if (nel_tracciato(c, posizione, margine))
        return false;
    c.codice_errore = codice::fuori_tracciato;
    c.posizione_errore = static_cast<std::int32_t>(posizione);
    fuori = true;
    return true;
}

esito_fase termina(compilazione& k, descrizione d, std::int32_t codice) {
    k.sorgente.cancella(d);
    k.c.codice_errore = codice;
    return esito_fase::terminata;
}

esito_fase termina(compilazione& k, descrizione d, std::int32_t codice, std::int32_t posizione) {
    k.c.posizione_errore = posizione;
    return termina(k, d, codice);
}

std::optional<esito_fase> dopo_registratore(compilazione& k, descrizione d,
                                            std::int32_t posizione) {
    const std::int32_t codice_errore = k.c.codice_errore;
    if (codice_errore <= 0)
        return std::nullopt;
    if (codice_errore == codice::lettura_fallita)
        return esito_fase::fallita;
    return termina(k, d, codice_errore, posizione);
}

std::optional<std::string> leggi_parola_chiave(lettore_descrizione& r, int max_trattini) {
    if (r.fine_file())
        return std::nullopt;
    std::string campo = r.leggi_testo();
    if (r.fine_file())
        return std::nullopt;
    for (int n = 0; n < max_trattini && e_campo_trattino(campo); ++n) {
        campo = r.leggi_testo();
        if (r.fine_file())
            return std::nullopt;
    }
    return campo;
}

std::optional<esito_fase> leggi_righe(costruzione& c, lettore_descrizione& r,
                                      const lettore_riga& riga) {
    constexpr int trattini_righe = 2;
    bool fuori = false;
    while (!fuori) {
        std::optional<std::string> campo = leggi_parola_chiave(r, trattini_righe);
        if (r.fallito())
            return esito_fase::fallita;
        if (!campo)
            break;
        c.linea = *campo;
        if (auto esito = riga(*campo, fuori))
            return esito;
    }
    return std::nullopt;
}

esito_fase riempi_coda(costruzione& c, std::int32_t& indice, std::uint8_t cella::*campo,
                       std::uint8_t valore) {
    if (riempi_celle(c, indice, static_cast<std::int64_t>(c.ultima_cella) - 2, campo, valore))
        return esito_fase::completata;
    c.codice_errore = codice::celle_fuori_limite;
    c.posizione_errore = indice * 50;
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

} // namespace corvenna
