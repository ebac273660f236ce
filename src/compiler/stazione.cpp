#include "compiler/stazione.hpp"

#include "compiler/avvisi_comuni.hpp"
#include "compiler/controllo_celle.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <limits>
#include <string>

namespace corvenna {

namespace {

constexpr std::int32_t distanza_minima_marciapiedi = 350;
constexpr std::int32_t marciapiede_b2 = 600;
constexpr std::uint8_t tipo_senza_fermata = 25;
constexpr int marcatori_fermata = 4;

// What a station line gives beside its item: the platform length, b2 and b3 as written (the
// item may lose them), the time in whole seconds before it keeps its low 32 bits, and the
// fields the checks and warnings point to.
struct riga_stazione {
    luogo posto;
    std::int32_t lunghezza = 0;
    luogo posto_lunghezza;
    std::uint8_t b2 = 0;
    luogo posto_b2;
    std::uint8_t b3 = 0;
    luogo posto_b3;
    std::int64_t orario = 0;
    luogo posto_ore;
};

bool in_long(double valore) {
    return valore >= std::numeric_limits<std::int32_t>::min() &&
           valore <= std::numeric_limits<std::int32_t>::max();
}

// Platform start and end by station kind. False when a bound does not fit 32 bits.
bool calcola_marciapiede(voce& v, std::int32_t lunghezza) {
    const double p = v.posizione;
    const double l = lunghezza;
    double inizio = 0;
    double fine = 0;
    if (v.tipo == 5 || v.tipo == 6) {
        inizio = p - l;
        fine = p + 150;
        v.b3 = 0;
    } else if (v.tipo == 7 || v.tipo == 8) {
        inizio = p - l;
        fine = p + l;
        v.b3 = 0;
    } else {
        inizio = static_cast<double>(arrotonda(p - l / 2));
        fine = static_cast<double>(arrotonda(v.b3 != 0 ? p + l / 2 + 50 : p + l / 2));
    }
    if (!in_long(inizio) || !in_long(fine))
        return false;
    v.inizio = static_cast<std::int32_t>(inizio);
    v.fine = static_cast<std::int32_t>(fine);
    return true;
}

// The position: within the track by the station's margin, and a multiple of 50.
esito_riga leggi_posizione(compilazione& k, lettore_descrizione& r, voce& v, riga_stazione& riga) {
    v.posizione = r.leggi_long();
    riga.posto = r.luogo_campo();
    if (r.fallito())
        return esito_riga::fallita;
    if (const esito_riga esito =
            controlla_tracciato(k, d_treno, v.posizione, riga.posto, margine_stazione);
        esito != esito_riga::prosegui)
        return esito;
    if (!multiplo_di(v.posizione, 50))
        return termina(k, d_treno,
                       {codice::stazione_non_multipla, riga.posto,
                        "la posizione della stazione " + std::to_string(v.posizione) +
                            " non e' multipla di 50",
                        v.posizione},
                       v.posizione);
    return esito_riga::prosegui;
}

// The kind and the platform length, a multiple of 100.
esito_riga leggi_marciapiede(compilazione& k, lettore_descrizione& r, voce& v,
                             riga_stazione& riga) {
    v.tipo = r.leggi_byte();
    riga.lunghezza = r.leggi_long();
    riga.posto_lunghezza = r.luogo_campo();
    if (r.fallito())
        return esito_riga::fallita;
    if (!multiplo_di(riga.lunghezza, 100))
        return termina(k, d_treno,
                       {codice::marciapiede_non_multiplo, riga.posto_lunghezza,
                        "il marciapiede della stazione a " + metri(v.posizione) + " e' lungo " +
                            std::to_string(riga.lunghezza) + " m: non e' multiplo di 100",
                        v.posizione},
                       v.posizione);
    return esito_riga::prosegui;
}

// The rest of the line into the item: its values, the time and the name, which must fit the
// item file. Warns about a trimmed name and a time beyond 32 bits.
esito_riga leggi_valori(compilazione& k, lettore_descrizione& r, voce& v, riga_stazione& riga) {
    v.b1 = r.leggi_byte();
    v.b2 = r.leggi_byte();
    riga.b2 = v.b2;
    riga.posto_b2 = r.luogo_campo();
    v.b3 = r.leggi_byte();
    riga.b3 = v.b3;
    riga.posto_b3 = r.luogo_campo();
    v.i1 = r.leggi_intero();
    v.i2 = r.leggi_intero();
    v.b4 = r.leggi_byte();
    v.i3 = r.leggi_intero();
    v.i4 = r.leggi_intero();
    v.i5 = r.leggi_intero();
    v.b5 = r.leggi_byte();
    const std::int64_t ore = r.leggi_long();
    riga.posto_ore = r.luogo_campo();
    const std::int64_t minuti = r.leggi_long();
    const std::int64_t secondi = r.leggi_long();
    riga.orario = (ore * 60 + minuti) * 60 + secondi;
    // Integer arithmetic: the time keeps its low 32 bits.
    v.orario = static_cast<std::int32_t>(static_cast<std::uint32_t>(riga.orario));
    v.nome = r.leggi_testo();
    if (r.fallito())
        return esito_riga::fallita;
    if (!nome_rappresentabile(v.nome))
        return fallisce(k, d_treno, r.luogo_campo(),
                        "il nome della stazione e' lungo " + std::to_string(v.nome.size()) +
                            " byte: non sta nel file delle voci");
    avvisa_testo_accorciato(k, d_treno, r, v.nome);
    avvisa_byte_non_stampabili(k, d_treno, r, v.nome);
    avvisa_troncamento(k, d_treno, riga.orario, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max(), riga.posto_ore,
                       "l'orario in secondi", v.posizione);
    return esito_riga::prosegui;
}

// The platform's start and end for the station's kind (a bound beyond 32 bits is a conversion
// failure), then b2 dropped below a 600 m platform and both b2 and b3 on the first station.
esito_riga poni_marciapiede(compilazione& k, voce& v, std::int32_t numero,
                            const riga_stazione& riga) {
    if (!calcola_marciapiede(v, riga.lunghezza))
        return fallisce(k, d_treno, riga.posto_lunghezza,
                        "il marciapiede della stazione a " + metri(v.posizione) +
                            " esce dai valori a 32 bit");
    if (riga.lunghezza < marciapiede_b2)
        v.b2 = 0;
    if (numero == 1) {
        v.b2 = 0;
        v.b3 = 0;
    }
    return esito_riga::prosegui;
}

// Warns about a b2 or b3 the author gave that the item does not keep or that has no effect.
void avvisa_valori_ignorati(compilazione& k, const voce& v, std::uint8_t b2_letto, luogo posto_b2,
                            std::uint8_t b3_letto, luogo posto_b3) {
    if (b2_letto != 0 && v.b2 == 0)
        k.reg.avviso(d_treno, posto_b2, tipo_avviso::valore_stazione_ignorato,
                     "il valore b2 = " + std::to_string(b2_letto) + " della stazione " + v.nome +
                         " e' azzerato: vale solo dalla seconda stazione e per marciapiedi di "
                         "almeno 600 m",
                     v.posizione);
    if (b3_letto != 0 && v.tipo >= 5 && v.tipo <= 8)
        k.reg.avviso(d_treno, posto_b3, tipo_avviso::valore_stazione_ignorato,
                     "il valore b3 = " + std::to_string(b3_letto) + " della stazione " + v.nome +
                         " e' ignorato: non allunga il marciapiede delle stazioni di tipo 5 a 8",
                     v.posizione);
}

// The approach markers 81 to 84 on the four cells below the stop cell, nearest first; a marker
// that would fall on cell 1 or before is left out. They replace whatever marker a cell held.
void metti_marcatori(compilazione& k, const voce& v) {
    for (int i = 1; i <= marcatori_fermata; ++i) {
        const double q = v.fine / lunghezza_cella - i - 1;
        if (q > 1) {
            const std::int64_t m = arrotonda(q);
            cella& marcata = k.c.celle[static_cast<std::size_t>(m)];
            k.reg.scrive_avviso(marcata.avviso, m);
            marcata.avviso = static_cast<std::uint8_t>(80 + i);
        }
    }
}

// The stop cell, one cell before the platform's end, which must come after cell 1 and lie on
// the track; its approach markers, except for kinds 5 and 6; then the stop itself, pointing to
// the station's item.
esito_riga metti_fermata(compilazione& k, const voce& v, std::int32_t numero, luogo posto) {
    const double fermata = v.fine / lunghezza_cella - 1;
    if (!(fermata > 1))
        return termina(k, d_treno,
                       {codice::fermata_iniziale, posto,
                        "il marciapiede della stazione " + v.nome + " finisce a " +
                            std::to_string(v.fine) +
                            " m: la cella di fermata cadrebbe prima della cella 2",
                        v.posizione});
    const std::int64_t cella_fermata = arrotonda(fermata);
    // The markers lie below the stop cell, so its bound covers them too.
    if (const esito_riga esito = controlla_cella_nel_tracciato(
            k, d_treno, cella_fermata, posto, v.posizione,
            "la fermata della stazione " + v.nome + " cade fuori dal tracciato");
        esito != esito_riga::prosegui)
        return esito;
    if (v.tipo != 5 && v.tipo != 6)
        metti_marcatori(k, v);
    cella& cl = k.c.celle[static_cast<std::size_t>(cella_fermata)];
    k.reg.scrive_tipo(cl, cella_fermata);
    cl.tipo = tipo_cella::fermata;
    cl.dato1 = static_cast<std::int16_t>(numero);
    return esito_riga::prosegui;
}

// A platform starts at least 350 m after the end of the previous station's platform.
esito_riga controlla_distanza(compilazione& k, const voce& v, std::int32_t numero, luogo posto) {
    if (numero <= 1)
        return esito_riga::prosegui;
    const voce& precedente = k.c.voci[numero - 1];
    if (static_cast<std::int64_t>(v.inizio) - distanza_minima_marciapiedi >= precedente.fine)
        return esito_riga::prosegui;
    if (v.posizione < precedente.posizione) {
        // Written out of order: say so, rather than measure a distance that runs backwards.
        const elemento_descritto* riga_precedente = k.reg.autore_voce(numero - 1);
        return termina(
            k, d_treno,
            {codice::stazioni_vicine, posto,
             "la stazione " + v.nome + " (a " + std::to_string(v.posizione) +
                 " m) viene prima della stazione " + precedente.nome + " (a " +
                 std::to_string(precedente.posizione) + " m" +
                 (riga_precedente ? ", riga " + std::to_string(riga_precedente->posto.riga)
                                  : std::string()) +
                 "), ma e' scritta dopo: le stazioni vanno scritte in ordine di "
                 "posizione",
             v.posizione},
            v.posizione);
    }
    return termina(k, d_treno,
                   {codice::stazioni_vicine, posto,
                    "il marciapiede della stazione " + v.nome + " inizia a " +
                        std::to_string(v.inizio) +
                        " m, a meno di 350 m dalla fine di quello della stazione "
                        "precedente (" +
                        std::to_string(precedente.fine) + " m)",
                    v.posizione},
                   v.posizione);
}

// Moves `numero` to the next station's item, which must stay below the route-sign items.
esito_riga passa_alla_voce_seguente(compilazione& k, const voce& v, std::int32_t& numero,
                                    luogo posto) {
    ++numero;
    if (numero < k.slot_cartello)
        return esito_riga::prosegui;
    return termina(k, d_treno,
                   {codice::voci_esaurite, posto,
                    "stazioni e cartelli indicatori superano le voci disponibili (78 in "
                    "tutto)",
                    v.posizione});
}

} // namespace

esito_riga compila_stazione(compilazione& k, lettore_descrizione& r, std::int32_t& numero) {
    voce& v = k.c.voci[numero];
    riga_stazione riga;
    if (const esito_riga esito = leggi_posizione(k, r, v, riga); esito != esito_riga::prosegui)
        return esito;
    if (const esito_riga esito = leggi_marciapiede(k, r, v, riga); esito != esito_riga::prosegui)
        return esito;
    if (const esito_riga esito = leggi_valori(k, r, v, riga); esito != esito_riga::prosegui)
        return esito;
    if (const esito_riga esito = poni_marciapiede(k, v, numero, riga);
        esito != esito_riga::prosegui)
        return esito;
    avvisa_valori_ignorati(k, v, riga.b2, riga.posto_b2, riga.b3, riga.posto_b3);

    k.reg.inizia_elemento(d_treno, riga.posto, "una fermata di " + v.nome, v.posizione);
    k.reg.segna_voce(numero);
    if (v.tipo < tipo_senza_fermata)
        if (const esito_riga esito = metti_fermata(k, v, numero, riga.posto);
            esito != esito_riga::prosegui)
            return esito;
    if (const esito_riga esito = controlla_distanza(k, v, numero, riga.posto);
        esito != esito_riga::prosegui)
        return esito;
    return passa_alla_voce_seguente(k, v, numero, riga.posto);
}

} // namespace corvenna
