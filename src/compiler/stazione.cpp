#include "compiler/stazione.hpp"

#include "description/lettore.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <limits>

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

std::optional<esito_fase> compila_stazione(compilazione& k, lettore_descrizione& r,
                                           std::int32_t& numero, bool& fuori) {
    costruzione& c = k.c;
    voce& v = c.voci[numero];

    v.posizione = r.leggi_long();
    if (r.fallito())
        return esito_fase::fallita;
    if (fuori_tracciato(c, v.posizione, margine_stazione, fuori))
        return std::nullopt;
    if (!multiplo_di(v.posizione, 50))
        return termina(k, d_treno, codice::stazione_non_multipla, v.posizione);

    v.tipo = r.leggi_byte();
    c.indice = r.leggi_long();
    if (r.fallito())
        return esito_fase::fallita;
    const std::int32_t lunghezza = c.indice;
    if (!multiplo_di(lunghezza, 100))
        return termina(k, d_treno, codice::marciapiede_non_multiplo, v.posizione);

    v.b1 = r.leggi_byte();
    v.b2 = r.leggi_byte();
    v.b3 = r.leggi_byte();
    v.i1 = r.leggi_intero();
    v.i2 = r.leggi_intero();
    v.b4 = r.leggi_byte();
    v.i3 = r.leggi_intero();
    v.i4 = r.leggi_intero();
    v.i5 = r.leggi_intero();
    v.b5 = r.leggi_byte();
    const std::int64_t ore = r.leggi_long();
    const std::int64_t minuti = r.leggi_long();
    const std::int64_t secondi = r.leggi_long();
    // Integer arithmetic: the time keeps its low 32 bits.
    v.orario =
        static_cast<std::int32_t>(static_cast<std::uint32_t>((ore * 60 + minuti) * 60 + secondi));
    v.nome = r.leggi_testo();
    c.linea = v.nome;
    if (r.fallito() || !nome_rappresentabile(v.nome))
        return esito_fase::fallita;

    if (!calcola_marciapiede(v, lunghezza))
        return esito_fase::fallita;
    if (lunghezza < marciapiede_b2)
        v.b2 = 0;
    if (numero == 1) {
        v.b2 = 0;
        v.b3 = 0;
    }

    if (v.tipo < tipo_senza_fermata) {
        const double fermata = v.fine / lunghezza_cella - 1;
        if (!(fermata > 1))
            return termina(k, d_treno, codice::fermata_iniziale);
        const std::int64_t cella_fermata = arrotonda(fermata);
        // The markers lie below the stop cell, so its bound covers them too.
        if (!cella_esistente(c, cella_fermata))
            return termina(k, d_treno, codice::celle_fuori_limite, v.posizione);
        if (v.tipo != 5 && v.tipo != 6) {
            for (c.contatore = 1; c.contatore <= 4; ++c.contatore) {
                const double q = v.fine / lunghezza_cella - c.contatore - 1;
                if (q > 1)
                    c.celle[static_cast<std::size_t>(arrotonda(q))].avviso =
                        static_cast<std::uint8_t>(80 + c.contatore);
            }
        }
        cella& cl = c.celle[static_cast<std::size_t>(cella_fermata)];
        cl.tipo = tipo_cella::fermata;
        cl.dato1 = static_cast<std::int16_t>(numero);
    }

    if (numero > 1 &&
        static_cast<std::int64_t>(v.inizio) - distanza_minima < c.voci[numero - 1].fine)
        return termina(k, d_treno, codice::stazioni_vicine, v.posizione);

    ++numero;
    if (numero >= k.slot_cartello)
        return termina(k, d_treno, codice::voci_esaurite);
    return std::nullopt;
}

} // namespace corvenna
