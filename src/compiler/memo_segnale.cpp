#include "compiler/memo_segnale.hpp"

#include "compiler/controllo_celle.hpp"
#include "compiler/registro_compilazione.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

namespace corvenna {

namespace {

// Approach markers go on every second cell before the signal, 100 to 400 m back.
constexpr int marcatori_segnale = 4;
constexpr std::int64_t passo_marcatori_segnale = 2;
// A signal time from 1 to 100 is raised to 101; only signals with sx = 2 keep a time.
constexpr std::int32_t tempo_minimo = 101;
constexpr std::int32_t sx_con_tempo = 2;

} // namespace

void memo_segnale(costruzione& c, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx,
                  std::int32_t d1, std::int32_t d2, std::int32_t d3, std::int32_t tempo,
                  registro_compilazione* reg) {
    const std::int64_t k = cella_puntuale(posizione);
    const std::int64_t ultimo_marcatore = k - passo_marcatori_segnale * marcatori_segnale;
    if (!verifica_celle_nel_tracciato(c, {k, ultimo_marcatore}) ||
        !verifica_cella_libera(c, k, codice::segnale_occupato, reg))
        return;

    // Packed values are computed wide and keep their low bits in the narrow fields.
    const std::int64_t aspetto = static_cast<std::int64_t>(sx) * 3 + dx;
    cella& segnale = c.celle[k];
    if (reg)
        reg->scrive_tipo(segnale, k);
    segnale.tipo = tipo_cella::segnale;
    segnale.dato4 = static_cast<std::int16_t>(static_cast<std::int64_t>(rapp) * 10 + aspetto);
    segnale.dato1 = static_cast<std::int16_t>(static_cast<std::int64_t>(s1) * 10 + d1);
    segnale.dato2 = static_cast<std::int16_t>(static_cast<std::int64_t>(s2) * 10 + d2);
    segnale.dato3 = static_cast<std::int16_t>(static_cast<std::int64_t>(s3) * 10 + d3);

    if (tempo >= 1 && tempo < tempo_minimo) {
        tempo = tempo_minimo;
    }
    segnale.tempo = sx == sx_con_tempo ? static_cast<std::uint8_t>(tempo) : 0;

    // The markers overwrite whatever the cells held; the last one written stays.
    for (int i = 1; i <= marcatori_segnale; ++i) {
        const std::int64_t m = k - passo_marcatori_segnale * i;
        if (reg)
            reg->scrive_avviso(c.celle[m].avviso, m);
        c.celle[m].avviso = static_cast<std::uint8_t>(aspetto * 10 + i);
    }
}

} // namespace corvenna
