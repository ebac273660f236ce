#include "output/file_binari.hpp"

#include "format/nomi_file.hpp"
#include "format/tracciato_record.hpp"
#include "model/costruzione.hpp"
#include "output/scrittore_binario.hpp"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvenna {

namespace {

// Writes a record field by its type: Byte, Integer, Long or text.
struct scrivi_campo {
    scrittore_binario& s;

    void operator()(std::string_view, std::uint8_t valore) const { s.scrivi_byte(valore); }
    void operator()(std::string_view, std::int16_t valore) const { s.scrivi_intero(valore); }
    void operator()(std::string_view, std::int32_t valore) const { s.scrivi_lungo(valore); }
    void operator()(std::string_view, const std::string& testo) const { s.scrivi_testo(testo); }
};

void scrivi_valore(scrittore_binario& s, const asse_planimetria& asse, std::size_t metro) {
    const tipo_valore tipo = asse.tipo(metro);
    s.scrivi_intero(etichetta_di(tipo));
    if (tipo == tipo_valore::intero)
        s.scrivi_intero(static_cast<std::int16_t>(asse.numero(metro)));
    else if (tipo == tipo_valore::doppio)
        s.scrivi_doppio(asse.numero(metro));
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
        per_campi(v, scrivi_campo{s});
    s.svuota();
}

void scrivi_celle(std::ostream& uscita, const costruzione& c) {
    scrittore_binario s(uscita);
    for (const cella& x : c.celle)
        per_campi(x, scrivi_campo{s});
    s.svuota();
}

void scrivi_scenario(cartella_uscita& cartella, const costruzione& c) {
    if (c.genera_planimetria != 0)
        scrivi_planimetria(cartella, nome_file(c, file_uscita::planimetria), c);
    scrivi_voci(cartella, nome_file(c, file_uscita::voci), c);
    scrivi_celle(cartella, nome_file(c, file_uscita::celle), c);
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
