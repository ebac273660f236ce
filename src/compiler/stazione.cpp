#include "compiler/stazione.hpp"

#include "compiler/avvisi_comuni.hpp"
#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <limits>
#include <string>

namespace corvenna {

namespace {

constexpr auto d_treno = descrizione::treno;
constexpr std::int32_t distanza_minima = 350;
constexpr std::int32_t marciapiede_b2 = 600;
constexpr std::uint8_t tipo_senza_fermata = 25;

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

} // namespace

esito_riga compila_stazione(compilazione& k, lettore_descrizione& r, std::int32_t& numero) {
    costruzione& c = k.c;
    voce& v = c.voci[numero];

    v.posizione = r.leggi_long();
    const luogo posto = r.luogo_campo();
    if (r.fallito())
        return esito_riga::fallita;
    if (const esito_riga esito =
            controlla_tracciato(k, d_treno, v.posizione, posto, margine_stazione);
        esito != esito_riga::prosegui)
        return esito;
    const std::string a = " a " + std::to_string(v.posizione) + " m";
    if (!multiplo_di(v.posizione, 50))
        return termina(k, d_treno,
                       {codice::stazione_non_multipla, posto,
                        "la posizione della stazione " + std::to_string(v.posizione) +
                            " non e' multipla di 50",
                        v.posizione},
                       v.posizione);

    v.tipo = r.leggi_byte();
    const std::int32_t lunghezza = r.leggi_long();
    const luogo posto_lunghezza = r.luogo_campo();
    if (r.fallito())
        return esito_riga::fallita;
    if (!multiplo_di(lunghezza, 100))
        return termina(k, d_treno,
                       {codice::marciapiede_non_multiplo, posto_lunghezza,
                        "il marciapiede della stazione" + a + " e' lungo " +
                            std::to_string(lunghezza) + " m: non e' multiplo di 100",
                        v.posizione},
                       v.posizione);

    v.b1 = r.leggi_byte();
    v.b2 = r.leggi_byte();
    const luogo posto_b2 = r.luogo_campo();
    v.b3 = r.leggi_byte();
    const luogo posto_b3 = r.luogo_campo();
    v.i1 = r.leggi_intero();
    v.i2 = r.leggi_intero();
    v.b4 = r.leggi_byte();
    v.i3 = r.leggi_intero();
    v.i4 = r.leggi_intero();
    v.i5 = r.leggi_intero();
    v.b5 = r.leggi_byte();
    const std::int64_t ore = r.leggi_long();
    const luogo posto_ore = r.luogo_campo();
    const std::int64_t minuti = r.leggi_long();
    const std::int64_t secondi = r.leggi_long();
    const std::int64_t orario = (ore * 60 + minuti) * 60 + secondi;
    // Integer arithmetic: the time keeps its low 32 bits.
    v.orario = static_cast<std::int32_t>(static_cast<std::uint32_t>(orario));
    v.nome = r.leggi_testo();
    if (r.fallito())
        return esito_riga::fallita;
    if (!nome_rappresentabile(v.nome))
        return fallisce(k, d_treno, r.luogo_campo(),
                        "il nome della stazione e' lungo " + std::to_string(v.nome.size()) +
                            " byte: non sta nel file delle voci");
    avvisa_testo_accorciato(k, d_treno, r, v.nome);
    avvisa_troncamento(k, d_treno, orario, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max(), posto_ore, "l'orario in secondi",
                       v.posizione);

    const std::uint8_t b2_letto = v.b2;
    const std::uint8_t b3_letto = v.b3;
    if (!calcola_marciapiede(v, lunghezza))
        return fallisce(k, d_treno, posto_lunghezza,
                        "il marciapiede della stazione" + a + " esce dai valori a 32 bit");
    if (lunghezza < marciapiede_b2)
        v.b2 = 0;
    if (numero == 1) {
        v.b2 = 0;
        v.b3 = 0;
    }
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

    k.reg.inizia_elemento(d_treno, posto, "una fermata di " + v.nome, v.posizione);
    if (v.tipo < tipo_senza_fermata) {
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
        if (!cella_esistente(c, cella_fermata))
            return termina(k, d_treno,
                           {codice::celle_fuori_limite, posto,
                            "la fermata della stazione " + v.nome + " cade fuori dal tracciato",
                            v.posizione},
                           v.posizione);
        if (v.tipo != 5 && v.tipo != 6) {
            for (int i = 1; i <= 4; ++i) {
                const double q = v.fine / lunghezza_cella - i - 1;
                if (q > 1) {
                    const std::int64_t m = arrotonda(q);
                    cella& marcata = c.celle[static_cast<std::size_t>(m)];
                    k.reg.scrive_avviso(marcata.avviso, m);
                    marcata.avviso = static_cast<std::uint8_t>(80 + i);
                }
            }
        }
        cella& cl = c.celle[static_cast<std::size_t>(cella_fermata)];
        k.reg.scrive_tipo(cl, cella_fermata);
        cl.tipo = tipo_cella::fermata;
        cl.dato1 = static_cast<std::int16_t>(numero);
    }

    if (numero > 1 &&
        static_cast<std::int64_t>(v.inizio) - distanza_minima < c.voci[numero - 1].fine)
        return termina(k, d_treno,
                       {codice::stazioni_vicine, posto,
                        "il marciapiede della stazione " + v.nome + " inizia a " +
                            std::to_string(v.inizio) +
                            " m, a meno di 350 m dalla fine di quello della stazione "
                            "precedente (" +
                            std::to_string(c.voci[numero - 1].fine) + " m)",
                        v.posizione},
                       v.posizione);

    ++numero;
    if (numero >= k.slot_cartello)
        return termina(k, d_treno,
                       {codice::voci_esaurite, posto,
                        "stazioni e cartelli indicatori superano le voci disponibili (78 in "
                        "tutto)",
                        v.posizione});
    return esito_riga::prosegui;
}

} // namespace corvenna
