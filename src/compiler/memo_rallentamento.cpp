#include "compiler/memo_rallentamento.hpp"

#include "compiler/controllo_celle.hpp"
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

// The cells of a slowdown: start and end, the warning board when it has one, and the numbered
// cells when it has them, which count back from `primo_preavviso` (the one numbered 1).
struct celle_rallentamento {
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
    bool con_avviso = false;
    std::int64_t avviso = 0;
    bool con_preavvisi = false;
    std::int64_t primo_preavviso = 0;
};

// The cells of the slowdown at x over l metres, numbered cells only when `f_ta` asks for them.
celle_rallentamento trova_celle(std::int32_t x, std::int32_t l, std::int32_t f_ta) {
    celle_rallentamento celle;
    celle.con_avviso = x > inizio_senza_avviso;
    celle.con_preavvisi = celle.con_avviso && f_ta != 0;
    celle.inizio = cella_puntuale(x);
    celle.fine = cella_puntuale(static_cast<std::int64_t>(x) + l);
    if (celle.con_avviso)
        celle.avviso = cella_puntuale(x - distanza_avviso);
    // The numbered cells count back from (x - 1200) / 50, without the + 1 of a point feature.
    if (celle.con_preavvisi)
        celle.primo_preavviso = cella_di(x - distanza_avviso);
    return celle;
}

// Every cell the slowdown may write lies on the track, the numbered ones included.
bool nel_tracciato(costruzione& c, const celle_rallentamento& celle) {
    const std::int64_t ultimo_preavviso = celle.primo_preavviso - (numero_preavvisi - 1);
    return verifica_celle_nel_tracciato(c, {celle.inizio, celle.fine}) &&
           (!celle.con_avviso || verifica_celle_nel_tracciato(c, {celle.avviso})) &&
           (!celle.con_preavvisi ||
            verifica_celle_nel_tracciato(c, {celle.primo_preavviso, ultimo_preavviso}));
}

// The board, start and end cells are free, checked in that order.
bool celle_libere(costruzione& c, const celle_rallentamento& celle, registro_compilazione* reg) {
    return (!celle.con_avviso ||
            verifica_cella_libera(c, celle.avviso, codice::avviso_occupato, reg)) &&
           verifica_cella_libera(c, celle.inizio, codice::inizio_occupato, reg) &&
           verifica_cella_libera(c, celle.fine, codice::fine_occupata, reg);
}

// Warns about a slowdown whose cells differ from what its line seems to ask: an end cell `ke`
// that does not come after the start cell `ks`, or numbered cells asked for where no board
// stands.
void avvisa_forma(registro_compilazione* reg, std::int32_t x, std::int32_t l, std::int64_t ks,
                  std::int64_t ke, bool preavvisi_omessi) {
    if (reg) {
        const elemento_descritto& e = reg->elemento_corrente();
        if (ke <= ks)
            reg->avviso(e, tipo_avviso::rallentamento_senza_fine,
                        "il rallentamento a " + std::to_string(x) + " m lungo " +
                            std::to_string(l) +
                            " m non finisce dopo la sua cella d'inizio: la cella di fine " +
                            (ke == ks ? "e' coperta dall'inizio" : "cade prima dell'inizio"));
        if (preavvisi_omessi)
            reg->avviso(e, tipo_avviso::preavvisi_omessi,
                        "il rallentamento a " + std::to_string(x) +
                            " m inizia entro 1500 m: non ha cartello di avviso, e i quattro "
                            "preavvisi chiesti non sono posti");
    }
}

// Puts kind `tipo` on cell k, and `dato2` when the slowdown has a nonzero d_v.
cella& marca(costruzione& c, std::int64_t k, std::uint8_t tipo, std::int32_t d_v,
             std::int16_t dato2, registro_compilazione* reg) {
    cella& marcata = c.celle[static_cast<std::size_t>(k)];
    if (reg)
        reg->scrive_tipo(marcata, k);
    marcata.tipo = tipo;
    if (d_v != 0) {
        marcata.dato2 = dato2;
    }
    return marcata;
}

// The end, start and board cells, in that order: where rounding puts two of them on one cell,
// the later write stays. The speed and f_tt come last.
void scrivi_celle(costruzione& c, const celle_rallentamento& celle, std::int32_t v,
                  std::int32_t f_tt, std::int32_t d_v, registro_compilazione* reg) {
    const auto velocita = static_cast<std::int16_t>(v);
    const auto valore = static_cast<std::int16_t>(d_v);
    cella& fine = marca(c, celle.fine, tipo_cella::fine_rallentamento, d_v, valore, reg);
    cella& inizio = marca(c, celle.inizio, tipo_cella::inizio_rallentamento, d_v, valore, reg);
    if (celle.con_avviso) {
        cella& avviso = marca(c, celle.avviso, tipo_cella::avviso_rallentamento, d_v, valore, reg);
        avviso.dato1 = velocita;
    }
    inizio.dato1 = velocita;
    fine.dato1 = velocita;
    inizio.dato3 = static_cast<std::int16_t>(f_tt);
    fine.dato3 = static_cast<std::int16_t>(f_tt);
}

// The four numbered cells are free: checked after the slowdown's own cells are written, so a
// board that rounds onto one of them is found here.
bool preavvisi_liberi(costruzione& c, std::int64_t primo, registro_compilazione* reg) {
    for (int i = 0; i < numero_preavvisi; ++i) {
        if (!verifica_cella_libera(c, primo - i, codice::preavvisi_occupati, reg))
            return false;
    }
    return true;
}

// The numbered cells 1 to 4, counting back from `primo`.
void scrivi_preavvisi(costruzione& c, std::int64_t primo, std::int32_t d_v,
                      registro_compilazione* reg) {
    for (int i = 0; i < numero_preavvisi; ++i) {
        const auto numero = static_cast<std::int16_t>(i + 1);
        cella& numerata = marca(c, primo - i, tipo_cella::preavviso_numerato, d_v, numero, reg);
        numerata.dato1 = numero;
    }
}

} // namespace

void memo_rallentamento(costruzione& c, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v,
                        registro_compilazione* reg) {
    const celle_rallentamento celle = trova_celle(x, l, f_ta);
    if (!nel_tracciato(c, celle) || !celle_libere(c, celle, reg))
        return;
    avvisa_forma(reg, x, l, celle.inizio, celle.fine, !celle.con_avviso && f_ta != 0);
    scrivi_celle(c, celle, v, f_tt, d_v, reg);
    if (celle.con_preavvisi && preavvisi_liberi(c, celle.primo_preavviso, reg))
        scrivi_preavvisi(c, celle.primo_preavviso, d_v, reg);
}

} // namespace corvenna
