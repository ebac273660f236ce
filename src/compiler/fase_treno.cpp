#include "compiler/fase_treno.hpp"

#include "compiler/memo_rallentamento.hpp"
#include "compiler/memo_segnale.hpp"
#include "compiler/stazione.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <optional>

namespace corvenna {

namespace {

constexpr double unita_velocita = 5.0;
constexpr auto d_treno = descrizione::treno;

struct stato_treno {
    std::int32_t indice_velocita = 0;
    std::int32_t velocita_precedente = 0;
    std::int32_t indice_aderenza = 0;
    std::int32_t aderenza_precedente = 0;
    std::int32_t numero_stazione = 1;
};

// A speed in km/h as stored in a cell: km/h / 5, rounded; std::nullopt when it does not fit
// the 8-bit field.
std::optional<std::uint8_t> velocita_cella(std::int32_t velocita) {
    const std::int64_t valore = arrotonda(velocita / unita_velocita);
    if (valore < 0 || valore > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(valore);
}

// The speed fill stops at the last cell instead of passing it.
bool riempi_velocita(costruzione& c, stato_treno& s, std::int64_t fino_a) {
    do {
        if (s.indice_velocita >= c.ultima_cella)
            return true;
        const auto valore = velocita_cella(s.velocita_precedente);
        if (!valore)
            return false;
        c.celle[static_cast<std::size_t>(s.indice_velocita)].velocita = *valore;
        ++s.indice_velocita;
    } while (s.indice_velocita < fino_a);
    return true;
}

std::optional<esito_fase> riga_abbattimento(compilazione& k, std::int32_t posizione,
                                            std::int32_t valore) {
    const std::int64_t n = cella_di(posizione);
    if (!cella_esistente(k.c, n))
        return termina(k, d_treno, codice::celle_fuori_limite, posizione);
    cella& cl = k.c.celle[static_cast<std::size_t>(n)];
    if (!cella_libera(cl))
        return termina(k, d_treno, codice::abbattimento_occupato, posizione);
    if (valore > 0) {
        cl.tipo = tipo_cella::abbattimento_valore;
        cl.dato1 = static_cast<std::int16_t>(valore);
    } else {
        cl.tipo = tipo_cella::abbattimento;
    }
    return std::nullopt;
}

// One line of the train description. std::nullopt when reading goes on; `fuori` is set when a
// line failed the range check, which ends only the reading of this file.
std::optional<esito_fase> riga_treno(compilazione& k, lettore_descrizione& r, stato_treno& s,
                                     const std::string& campo, bool& fuori) {
    costruzione& c = k.c;
    std::optional<esito_fase> esito;

    if (contiene(campo, "frenata") && contiene(campo, "massa"))
        c.voci[voce_percorso].inizio = r.leggi_long();
    if (contiene(campo, "vetture"))
        c.voci[voce_percorso].posizione = r.leggi_long();
    if (r.fallito())
        return esito_fase::fallita;
    if (contiene(campo, "velocit")) {
        const auto valori = leggi_riga<2>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [p, v] = *valori;
        const std::int64_t n = cella_di(p);
        if (n > 0 && !riempi_velocita(c, s, n))
            return esito_fase::fallita;
        s.velocita_precedente = v;
    }
    if (contiene(campo, "aderenza")) {
        const auto valori = leggi_riga<2>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [p, a] = *valori;
        const std::int64_t n = cella_di(p);
        if (n > 0 && !riempi_celle(c, s.indice_aderenza, n, &cella::aderenza,
                                   static_cast<std::uint8_t>(s.aderenza_precedente)))
            return termina(k, d_treno, codice::celle_fuori_limite, p);
        s.aderenza_precedente = a;
    }
    if (contiene(campo, "orologio")) {
        voce& v = c.voci[voce_treno];
        v.i3 = r.leggi_intero();
        v.i4 = r.leggi_intero();
        v.i5 = r.leggi_intero();
    }
    if (contiene(campo, "sabbia"))
        c.voci[voce_treno].i1 = r.leggi_intero();
    if (r.fallito())
        return esito_fase::fallita;
    if (contiene(campo, "segnale")) {
        const auto valori = leggi_riga<11>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto& v = *valori;
        memo_segnale(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
        if ((esito = dopo_registratore(k, d_treno, v[0])))
            return esito;
    }
    if (contiene(campo, "rallentamento")) {
        const auto valori = leggi_riga<6>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto& v = *valori;
        memo_rallentamento(c, v[0], v[1], v[2], v[3], v[4], v[5]);
        if ((esito = dopo_registratore(k, d_treno, v[0])))
            return esito;
    }
    if (contiene(campo, "abbattimento")) {
        const auto valori = leggi_riga<2>(c, r, fuori, esito);
        if (!valori)
            return esito;
        const auto [p, w] = *valori;
        if ((esito = riga_abbattimento(k, p, w)))
            return esito;
    }
    if (contiene(campo, "stazione")) {
        if ((esito = compila_stazione(k, r, s.numero_stazione, fuori)))
            return esito;
    }
    return std::nullopt;
}

// The last cells of the speed and adhesion fills, then the check that every kilometric system
// starts and is offset on a multiple of 50.
esito_fase chiudi_treno(costruzione& c, stato_treno& s) {
    const std::int64_t fino_a = static_cast<std::int64_t>(c.ultima_cella) - 2;
    if (!riempi_velocita(c, s, fino_a))
        return esito_fase::fallita;
    if (const esito_fase esito = riempi_coda(c, s.indice_aderenza, &cella::aderenza,
                                             static_cast<std::uint8_t>(s.aderenza_precedente));
        esito != esito_fase::completata)
        return esito;
    c.contatore = 0;
    for (c.indice = voce_progressiva_tre; c.indice <= voce_progressiva_uno; ++c.indice) {
        const voce& v = c.voci[c.indice];
        if (!multiplo_di(v.inizio, 50) || !multiplo_di(v.fine, 50))
            c.contatore = 1;
    }
    if (c.contatore > 0)
        c.codice_errore = codice::progressiva_non_multipla;
    return esito_fase::completata;
}

// The train description once read: lines, tails and the check of the kilometric systems.
esito_fase compila_testo_treno(compilazione& k, lettore_descrizione& r) {
    costruzione& c = k.c;
    stato_treno s;

    // Without "[generale]" nothing is read, and the compile ends as at the end of the file.
    bool generale = false;
    while (!generale && !r.fine_file()) {
        c.linea = r.leggi_testo();
        generale = contiene(c.linea, "[generale]");
    }
    if (r.fallito())
        return esito_fase::fallita;

    if (generale) {
        const auto esito = leggi_righe(c, r, [&](const std::string& campo, bool& fuori) {
            return riga_treno(k, r, s, campo, fuori);
        });
        if (esito)
            return *esito;
    }

    if (!k.sorgente.cancella(d_treno))
        return esito_fase::fallita;
    return chiudi_treno(c, s);
}

} // namespace

esito_fase compila_treno(compilazione& k) {
    std::optional<std::string> testo = k.sorgente.leggi(d_treno);
    if (!testo) {
        segna_luogo_fallimento(k, d_treno, nullptr);
        return esito_fase::fallita;
    }
    lettore_descrizione r(std::move(*testo));
    const esito_fase esito = compila_testo_treno(k, r);
    if (esito == esito_fase::fallita)
        segna_luogo_fallimento(k, d_treno, &r);
    return esito;
}

} // namespace corvenna
