#include "compiler/memo_rallentamento.hpp"

#include "compiler/registro_compilazione.hpp"
#include "model/arrotonda.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

namespace corvenna {

namespace {

// The warning board stands this far before the start; a slowdown that starts no farther from
// the origin than `inizio_senza_avviso` has no board.
constexpr std::int64_t distanza_avviso = 1200;
constexpr std::int64_t inizio_senza_avviso = 1500;
constexpr int numero_preavvisi = 4;

} // namespace

void memo_rallentamento(costruzione& c, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v,
                        registro_compilazione* reg) {
    const bool con_avviso = x > inizio_senza_avviso;
    const bool con_preavvisi = con_avviso && f_ta != 0;

    const std::int64_t ks = cella_puntuale(x);
    const std::int64_t ke = cella_puntuale(static_cast<std::int64_t>(x) + l);
    const std::int64_t ka = con_avviso ? cella_puntuale(x - distanza_avviso) : 0;
    // The numbered cells count back from (x - 1200) / 50, without the + 1 of a point feature.
    const std::int64_t base = con_preavvisi ? cella_di(x - distanza_avviso) : 0;

    const bool fuori = !cella_esistente(c, ks) || !cella_esistente(c, ke) ||
                       (con_avviso && !cella_esistente(c, ka)) ||
                       (con_preavvisi && (!cella_esistente(c, base) ||
                                          !cella_esistente(c, base - (numero_preavvisi - 1))));
    if (fuori) {
        c.codice_errore = codice::celle_fuori_limite;
        return;
    }

    const auto rifiuta = [&](std::int64_t k, std::int32_t codice_errore) {
        if (reg)
            reg->cella_contesa = k;
        c.codice_errore = codice_errore;
    };
    if (con_avviso && !cella_libera(c.celle[ka]))
        return rifiuta(ka, codice::avviso_occupato);
    if (!cella_libera(c.celle[ks]))
        return rifiuta(ks, codice::inizio_occupato);
    if (!cella_libera(c.celle[ke]))
        return rifiuta(ke, codice::fine_occupata);

    if (reg) {
        const elemento_descritto& e = reg->elemento_corrente();
        if (ke <= ks)
            reg->avviso(e, tipo_avviso::rallentamento_senza_fine,
                        "il rallentamento a " + std::to_string(x) + " m lungo " +
                            std::to_string(l) +
                            " m non finisce dopo la sua cella d'inizio: la cella di fine " +
                            (ke == ks ? "e' coperta dall'inizio" : "cade prima dell'inizio"));
        if (!con_avviso && f_ta != 0)
            reg->avviso(e, tipo_avviso::preavvisi_omessi,
                        "il rallentamento a " + std::to_string(x) +
                            " m inizia entro 1500 m: non ha cartello di avviso, e i quattro "
                            "preavvisi chiesti non sono posti");
    }

    const auto velocita = static_cast<std::int16_t>(v);
    const auto valore = static_cast<std::int16_t>(d_v);
    cella& fine = c.celle[ke];
    cella& inizio = c.celle[ks];

    if (reg)
        reg->scrive_tipo(fine, ke);
    fine.tipo = tipo_cella::fine_rallentamento;
    if (d_v != 0) {
        fine.dato2 = valore;
    }
    if (reg)
        reg->scrive_tipo(inizio, ks);
    inizio.tipo = tipo_cella::inizio_rallentamento;
    if (d_v != 0) {
        inizio.dato2 = valore;
    }
    if (con_avviso) {
        cella& avviso = c.celle[ka];
        if (reg)
            reg->scrive_tipo(avviso, ka);
        avviso.tipo = tipo_cella::avviso_rallentamento;
        if (d_v != 0) {
            avviso.dato2 = valore;
        }
        avviso.dato1 = velocita;
    }
    inizio.dato1 = velocita;
    fine.dato1 = velocita;
    inizio.dato3 = static_cast<std::int16_t>(f_tt);
    fine.dato3 = static_cast<std::int16_t>(f_tt);

    if (!con_preavvisi) {
        return;
    }
    // Checked after the slowdown's own cells are written, so a board that rounds onto one of
    // these cells is found here.
    for (int i = 0; i < numero_preavvisi; ++i) {
        if (!cella_libera(c.celle[base - i]))
            return rifiuta(base - i, codice::preavvisi_occupati);
    }
    for (int i = 0; i < numero_preavvisi; ++i) {
        cella& numerata = c.celle[base - i];
        if (reg)
            reg->scrive_tipo(numerata, base - i);
        numerata.tipo = tipo_cella::preavviso_numerato;
        numerata.dato1 = static_cast<std::int16_t>(i + 1);
        if (d_v != 0) {
            numerata.dato2 = static_cast<std::int16_t>(i + 1);
        }
    }
}

} // namespace corvenna
