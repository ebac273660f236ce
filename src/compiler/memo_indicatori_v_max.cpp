#include "compiler/memo_indicatori_v_max.hpp"

#include "compiler/controllo_celle.hpp"
#include "compiler/registro_compilazione.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

#include <cmath>
#include <limits>
#include <optional>

namespace corvenna {

std::optional<std::int16_t> valore_indicatore(std::int32_t sinistra, std::int32_t destra) {
    const double valore =
        std::nearbyint(static_cast<double>(destra) / 5.0 + static_cast<double>(sinistra) * 20.0);
    if (valore < std::numeric_limits<std::int16_t>::min() ||
        valore > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(arrotonda(valore));
}

void memo_indicatori_v_max(costruzione& c, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced, registro_compilazione* reg) {
    const std::int64_t k = cella_puntuale(posizione);
    if (!verifica_celle_nel_tracciato(c, {k}) ||
        !verifica_cella_libera(c, k, codice::indicatore_occupato, reg))
        return;

    // All three values are converted before the cell is touched, so a failure leaves it as it was.
    const auto dato1 = valore_indicatore(vas, vad);
    const auto dato2 = valore_indicatore(vbs, vbd);
    const auto dato3 = valore_indicatore(vcs, vcd);
    if (!dato1 || !dato2 || !dato3) {
        c.codice_errore = codice::lettura_fallita;
        return;
    }

    cella& indicatore = c.celle[k];
    if (reg)
        reg->scrive_tipo(indicatore, k);
    indicatore.tipo = tipo_cella::indicatore_v_max;
    indicatore.dato1 = *dato1;
    indicatore.dato2 = *dato2;
    indicatore.dato3 = *dato3;
    indicatore.dato4 =
        static_cast<std::int16_t>(static_cast<std::int64_t>(strisces) * 10 + strisced);
}

} // namespace corvenna
