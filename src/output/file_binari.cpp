#include "output/file_binari.hpp"

#include "model/costruzione.hpp"
#include "output/scrittore_binario.hpp"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace corvenna {

namespace {

// Type codes of the plan view's tagged values.
constexpr std::int16_t etichetta_vuoto = 0;
constexpr std::int16_t etichetta_intero = 2;
constexpr std::int16_t etichetta_doppio = 5;

void scrivi_valore(scrittore_binario& s, const asse_planimetria& asse, std::size_t metro) {
    switch (asse.tipo(metro)) {
    case tipo_valore::intero:
        s.scrivi_intero(etichetta_intero);
        s.scrivi_intero(static_cast<std::int16_t>(asse.numero(metro)));
        return;
    case tipo_valore::doppio:
        s.scrivi_intero(etichetta_doppio);
        s.scrivi_doppio(asse.numero(metro));
        return;
    case tipo_valore::vuoto:
        s.scrivi_intero(etichetta_vuoto);
        return;
    }
}

void scrivi_voce(scrittore_binario& s, const voce& v) {
    s.scrivi_byte(v.tipo);
    s.scrivi_lungo(v.inizio);
    s.scrivi_lungo(v.fine);
    s.scrivi_lungo(v.posizione);
    s.scrivi_byte(v.b1);
    s.scrivi_testo(v.nome);
    s.scrivi_intero(v.i1);
    s.scrivi_intero(v.i2);
    s.scrivi_intero(v.i3);
    s.scrivi_intero(v.i4);
    s.scrivi_intero(v.i5);
    s.scrivi_byte(v.b4);
    s.scrivi_byte(v.b5);
    s.scrivi_byte(v.b3);
    s.scrivi_byte(v.b2);
    s.scrivi_lungo(v.orario);
}

void scrivi_cella(scrittore_binario& s, const cella& x) {
    s.scrivi_byte(x.tipo);
    s.scrivi_intero(x.dato1);
    s.scrivi_intero(x.dato2);
    s.scrivi_intero(x.dato3);
    s.scrivi_intero(x.dato4);
    s.scrivi_byte(x.tempo);
    s.scrivi_byte(x.avviso);
    s.scrivi_byte(x.montagna);
    s.scrivi_byte(x.velocita);
    s.scrivi_byte(x.pendenza);
    s.scrivi_byte(x.aderenza);
}

} // namespace

// All x values, then all y values; an empty plan view gives an empty file.
void scrivi_planimetria(std::ostream& uscita, const costruzione& c) {
    scrittore_binario s(uscita);
    for (const asse_planimetria& asse : c.planimetria)
        for (std::size_t metro = 0; metro < asse.size(); ++metro)
            scrivi_valore(s, asse, metro);
    s.svuota();
}

void scrivi_voci(std::ostream& uscita, const costruzione& c) {
    // A name too long for its length field is refused before any byte reaches the stream.
    for (std::size_t i = 0; i < c.voci.size(); ++i)
        if (c.voci[i].nome.size() > lunghezza_testo_massima)
            throw std::length_error(
                "item " + std::to_string(i) + ": a name of " +
                std::to_string(c.voci[i].nome.size()) + " bytes is longer than the " +
                std::to_string(lunghezza_testo_massima) + " bytes the item file can hold");
    scrittore_binario s(uscita);
    for (const voce& v : c.voci)
        scrivi_voce(s, v);
    s.svuota();
}

void scrivi_celle(std::ostream& uscita, const costruzione& c) {
    scrittore_binario s(uscita);
    for (const cella& x : c.celle)
        scrivi_cella(s, x);
    s.svuota();
}

void scrivi_planimetria(cartella_uscita& cartella, const std::string& nome, const costruzione& c) {
    cartella.sostituisci(
        nome, [&c](std::ostream& uscita) { scrivi_planimetria(uscita, c); }, persistenza::durevole);
}

void scrivi_voci(cartella_uscita& cartella, const std::string& nome, const costruzione& c) {
    cartella.sostituisci(
        nome, [&c](std::ostream& uscita) { scrivi_voci(uscita, c); }, persistenza::durevole);
}

void scrivi_celle(cartella_uscita& cartella, const std::string& nome, const costruzione& c) {
    cartella.sostituisci(
        nome, [&c](std::ostream& uscita) { scrivi_celle(uscita, c); }, persistenza::durevole);
}

} // namespace corvenna
