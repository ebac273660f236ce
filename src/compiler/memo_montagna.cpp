#include "compiler/memo_montagna.hpp"

#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

namespace corvenna {

namespace {

// A stretch that starts this close after the end of the previous one (or overlaps it) is shown
// with the relief type 3.
constexpr std::int64_t distanza_minima = 150;
constexpr std::int32_t tipo_montagna_vicina = 3;
// Every fourth cell of a tunnel stretch carries a tunnel marker.
constexpr std::int32_t passo_marcatori = 4;

} // namespace

void memo_montagna(costruzione& c, std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
    if (c.num_montagne >= numero_montagne_max) {
        c.codice_errore = codice::troppe_montagne;
        return;
    }

    // The stretch covers the cells from inizio / 50 to fine / 50 - 1, each quotient rounded as a
    // whole. A stretch that rounds to nothing touches no cell but is still recorded.
    const std::int64_t prima = cella_di(inizio);
    const std::int64_t ultima = arrotonda(static_cast<double>(fine) / lunghezza_cella - 1.0);
    if (prima <= ultima && (!cella_esistente(c, prima) || !cella_esistente(c, ultima))) {
        c.codice_errore = codice::celle_fuori_limite;
        return;
    }

    c.contatore = 0;
    if (tipo > 10) {
        tipo -= 10;
        c.contatore = 1;
    }

    const std::int32_t n = ++c.num_montagne;
    c.inizio_montagne[n] = inizio;
    c.fine_montagne[n] = fine;

    if (n > 1 && static_cast<std::int64_t>(inizio) - c.fine_montagne[n - 1] <= distanza_minima) {
        tipo = tipo_montagna_vicina;
    }

    const auto tipo_montagna = static_cast<std::uint8_t>(tipo);
    const bool galleria = c.contatore != 0;
    for (c.indice = static_cast<std::int32_t>(prima); c.indice <= ultima; ++c.indice) {
        cella& cl = c.celle[c.indice];
        cl.montagna = tipo_montagna;
        const std::int64_t conteggio = c.indice - prima + 1;
        if (galleria && conteggio % passo_marcatori == 0 && cl.tipo == tipo_cella::binario) {
            cl.tipo = tipo_cella::marcatore_galleria;
        }
    }
}

} // namespace corvenna
