#include "compiler/memo_montagna.hpp"

#include "compiler/controllo_celle.hpp"
#include "compiler/registro_compilazione.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

#include <string>

namespace corvenna {

namespace {

// A stretch that starts this close after the end of the previous one (or overlaps it) is shown
// with the relief type 3.
constexpr std::int64_t distanza_minima_tratti = 150;
constexpr std::int32_t tipo_montagna_vicina = 3;
// Every fourth cell of a tunnel stretch carries a tunnel marker.
constexpr std::int32_t passo_marcatori_galleria = 4;

// The cells of a stretch: from inizio / 50 to fine / 50 - 1, each quotient rounded as a whole.
std::int64_t prima_cella(std::int32_t inizio) {
    return cella_di(inizio);
}
std::int64_t ultima_cella(std::int32_t fine) {
    return arrotonda(static_cast<double>(fine) / lunghezza_cella - 1.0);
}

// Warns when the stretch [prima, ultima] covers cells of an earlier stretch, whose relief type
// it then replaces.
void avvisa_sovrapposizione(const costruzione& c, registro_compilazione& reg, std::int32_t n,
                            std::int64_t prima, std::int64_t ultima) {
    for (std::int32_t m = 1; m < n; ++m) {
        const std::int64_t a = prima_cella(c.inizio_montagne[m]);
        const std::int64_t b = ultima_cella(c.fine_montagne[m]);
        if (a <= b && a <= ultima && prima <= b) {
            reg.avviso(reg.elemento_corrente(), tipo_avviso::montagne_sovrapposte,
                       "il tratto montagna da " + std::to_string(c.inizio_montagne[n]) + " a " +
                           std::to_string(c.fine_montagne[n]) +
                           " m copre il rilievo del tratto da " +
                           std::to_string(c.inizio_montagne[m]) + " a " +
                           std::to_string(c.fine_montagne[m]) + " m");
            reg.correla(reg.autore_montagna(m), "il tratto coperto");
            return;
        }
    }
}

} // namespace

void memo_montagna(costruzione& c, std::int32_t inizio, std::int32_t fine, std::int32_t tipo,
                   registro_compilazione* reg) {
    if (c.num_montagne >= numero_montagne_max) {
        c.codice_errore = codice::troppe_montagne;
        return;
    }

    // A stretch that rounds to nothing touches no cell but is still recorded.
    const std::int64_t prima = prima_cella(inizio);
    const std::int64_t ultima = ultima_cella(fine);
    if (prima <= ultima && !verifica_celle_nel_tracciato(c, {prima, ultima}))
        return;

    const bool galleria = tipo > 10;
    if (galleria)
        tipo -= 10;

    const std::int32_t n = ++c.num_montagne;
    c.inizio_montagne[n] = inizio;
    c.fine_montagne[n] = fine;

    const std::int32_t tipo_scritto = tipo;
    if (n > 1 &&
        static_cast<std::int64_t>(inizio) - c.fine_montagne[n - 1] <= distanza_minima_tratti) {
        tipo = tipo_montagna_vicina;
    }

    if (reg) {
        reg->segna_montagna(n);
        const elemento_descritto& e = reg->elemento_corrente();
        if (tipo != tipo_scritto)
            reg->avviso(e, tipo_avviso::tipo_montagna_cambiato,
                        "il tratto montagna a " + std::to_string(inizio) +
                            " m inizia 150 m o meno dopo la fine del precedente (" +
                            std::to_string(c.fine_montagne[n - 1]) + " m): il suo tipo " +
                            std::to_string(tipo_scritto) + " diventa 3");
        if (tipo < 0 || tipo > 255)
            reg->avviso(e, tipo_avviso::valore_troncato,
                        "il tipo di montagna " + std::to_string(tipo) +
                            " non sta in un byte: vale " +
                            std::to_string(static_cast<std::uint8_t>(tipo)));
        if (prima > ultima)
            reg->avviso(e, tipo_avviso::montagna_vuota,
                        "il tratto montagna da " + std::to_string(inizio) + " a " +
                            std::to_string(fine) + " m non copre alcuna cella");
        else
            avvisa_sovrapposizione(c, *reg, n, prima, ultima);
    }

    const auto tipo_montagna = static_cast<std::uint8_t>(tipo);
    bool marcatore_omesso = false;
    for (std::int64_t k = prima; k <= ultima; ++k) {
        cella& cl = c.celle[static_cast<std::size_t>(k)];
        cl.montagna = tipo_montagna;
        const std::int64_t conteggio = k - prima + 1;
        if (!galleria || conteggio % passo_marcatori_galleria != 0)
            continue;
        if (cl.tipo == tipo_cella::binario) {
            cl.tipo = tipo_cella::marcatore_galleria;
            if (reg)
                reg->segna_autore(k);
        } else if (reg && !marcatore_omesso) {
            marcatore_omesso = true;
            reg->avviso(reg->elemento_corrente(), tipo_avviso::marcatore_galleria_omesso,
                        "il marcatore di galleria a " + std::to_string(k * 50) +
                            " m non e' posto: la cella ha gia' " +
                            nomina(reg->autore(k), reg->elemento_corrente().file));
        }
    }
}

} // namespace corvenna
