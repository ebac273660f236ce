#include "compiler/avvisi_comuni.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/testo_mostrabile.hpp"

#include <string>

namespace corvenna {

namespace {

std::string bit_del_campo(std::int64_t minimo, std::int64_t massimo, std::int64_t valore,
                          std::int64_t& resta) {
    if (minimo == 0 && massimo == 255) {
        resta = static_cast<std::uint8_t>(valore);
        return "8";
    }
    if (massimo == 32767) {
        resta = static_cast<std::int16_t>(valore);
        return "16";
    }
    resta = static_cast<std::int32_t>(valore);
    return "32";
}

} // namespace

void avvisa_piu_parole(compilazione& k, descrizione d, const campo_chiave& campo,
                       int corrispondenze) {
    if (corrispondenze > 1)
        k.reg.avviso(d, campo.posto, tipo_avviso::parola_chiave_multipla,
                     "'" + campo.testo + "' contiene " + std::to_string(corrispondenze) +
                         " parole chiave: ciascuna legge i suoi valori, uno dopo l'altro");
}

void segna_impostazione(compilazione& k, descrizione d, const campo_chiave& campo, luogo& vista) {
    if (vista.noto()) {
        k.reg.avviso(d, campo.posto, tipo_avviso::riga_ripetuta,
                     "'" + campo.testo + "' e' gia' data alla riga " + std::to_string(vista.riga) +
                         ": vale l'ultima");
        k.reg.correla(d, vista,
                      "l'impostazione era stata data dalla riga " + std::to_string(vista.riga));
    }
    vista = campo.posto;
}

void avvisa_arrotondamento(compilazione& k, descrizione d, std::int64_t posizione, luogo posto,
                           const char* cosa) {
    if (posizione % 50 == 0)
        return;
    k.reg.avviso(d, posto, tipo_avviso::posizione_arrotondata,
                 std::string(cosa) + " a " + metri(posizione) +
                     ": la posizione non e' multipla di 50 ed e' arrotondata a una cella di 50 m",
                 static_cast<std::int32_t>(posizione));
}

void avvisa_troncamento(compilazione& k, descrizione d, std::int64_t valore, std::int64_t minimo,
                        std::int64_t massimo, luogo posto, const char* cosa,
                        std::optional<std::int32_t> metri_riga) {
    if (valore >= minimo && valore <= massimo)
        return;
    std::int64_t resta = 0;
    const std::string bit = bit_del_campo(minimo, massimo, valore, resta);
    k.reg.avviso(d, posto, tipo_avviso::valore_troncato,
                 std::string(cosa) + " " + std::to_string(valore) + " non sta in " + bit +
                     " bit (da " + std::to_string(minimo) + " a " + std::to_string(massimo) +
                     "): resta " + std::to_string(resta),
                 metri_riga);
}

void avvisa_testo_accorciato(compilazione& k, descrizione d, const lettore_descrizione& r,
                             const std::string& testo) {
    if (!r.testo_accorciato())
        return;
    k.reg.avviso(d, r.luogo_campo(), tipo_avviso::testo_accorciato,
                 "il testo resta '" + testo +
                     "': gli spazi finali e cio' che segue le virgolette chiuse sono scartati");
}

void avvisa_byte_non_stampabili(compilazione& k, descrizione d, const lettore_descrizione& r,
                                const std::string& testo) {
    for (const char c : testo) {
        const auto b = static_cast<unsigned char>(c);
        const bool di_controllo = b < 0x20 || b == 0x7F;
        if (!di_controllo && !senza_carattere_1252(b))
            continue;
        std::string escapato;
        aggiungi_byte_escapato(escapato, b);
        const std::string byte = "0x" + escapato.substr(2);
        // The text is quoted escaped, so the message itself holds no such byte.
        k.reg.avviso(d, r.luogo_campo(), tipo_avviso::byte_non_stampabile,
                     "il testo '" + testo_mostrabile(testo, false) + "' contiene il byte " + byte +
                         (di_controllo ? ", di controllo" : ", senza carattere in Windows-1252") +
                         ": va nel file delle voci cosi' com'e'");
        return;
    }
}

void controlla_ordine(compilazione& k, descrizione d, ordine_posizioni& o, std::int32_t posizione,
                      luogo posto, const char* cosa) {
    if (o.prima_riga) {
        if (posizione != 0)
            k.reg.avviso(d, posto, tipo_avviso::prima_posizione_non_zero,
                         "la prima riga di " + std::string(cosa) + " e' a " + metri(posizione) +
                             ", non a 0: le celle prima hanno il valore 0",
                         posizione);
    } else if (posizione <= o.posizione_precedente) {
        k.reg.avviso(d, posto, tipo_avviso::posizione_non_crescente,
                     "la posizione " + std::to_string(posizione) +
                         " non supera quella della riga " + std::to_string(o.riga_precedente) +
                         " (" + metri(o.posizione_precedente) + "): le righe di " + cosa +
                         " vanno in ordine crescente",
                     posizione);
    }
    o.prima_riga = false;
    o.posizione_precedente = posizione;
    o.riga_precedente = posto.riga;
}

} // namespace corvenna
