#include "finishing/rifinitura.hpp"

#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "model/tipi_cella.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace corvenna {

namespace {

// How far back from a warning board the signals are looked for, in cells.
constexpr std::int32_t celle_prima_dell_avviso = 20;
// The first cell a look-back may reach: signals on cells 0 to 2 are never looked at.
constexpr std::int32_t primo_segnale_esaminato = 3;
// Below this slowdown speed a marker is placed every `ritmo_percorso` cells along the slowdown.
constexpr std::int16_t velocita_senza_percorso = 110;
constexpr std::int32_t ritmo_percorso = 8;
// How many cells after the slowdown end the following signal is looked for.
constexpr std::int32_t celle_dopo_la_fine = 12;

// The three bands of cells before a slowdown start: each is used only when the start lies
// beyond `oltre`, and its cells are tried nearest first.
struct fascia {
    std::int32_t oltre;
    std::int32_t distanze[3];
};
constexpr fascia fasce[] = {{7, {5, 6, 7}}, {13, {11, 12, 13}}, {20, {18, 19, 20}}};

// The highest cell index the pass may touch: the array's own bound, even should
// `ultima_cella` disagree with it.
std::int32_t ultimo_indice(const costruzione& c) {
    const auto dalla_dimensione = static_cast<std::int64_t>(c.celle.size()) - 1;
    return static_cast<std::int32_t>(std::min<std::int64_t>(
        c.ultima_cella,
        std::min<std::int64_t>(dalla_dimensione, std::numeric_limits<std::int32_t>::max())));
}

// Places an abbattimento on cell k for the feature at cell `elemento`.
void posa_abbattimento(costruzione& c, osservatore_rifinitura* oss, std::int32_t k,
                       std::int32_t elemento) {
    cella& x = c.celle[k];
    if (oss && x.tipo == tipo_cella::marcatore_galleria)
        oss->marcatore_sostituito(k, elemento);
    x.tipo = tipo_cella::abbattimento_valore;
    x.dato1 = valore_abbattimento;
}

// Records an error of the pass with the position of the cell, in metres.
void registra_errore(costruzione& c, osservatore_rifinitura* oss, std::int32_t codice_errore,
                     std::int32_t indice_cella, std::int32_t elemento) {
    if (oss)
        oss->errore(codice_errore, indice_cella, elemento);
    c.codice_errore = codice_errore;
    const std::int64_t metri = static_cast<std::int64_t>(indice_cella) * 50;
    c.posizione_errore = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        metri, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Lowers an existing abbattimento value on cell k to at most 180; a lower value stays.
void abbassa_valore(costruzione& c, osservatore_rifinitura* oss, std::int32_t k,
                    std::int32_t elemento) {
    cella& x = c.celle[k];
    if (oss && x.dato1 > valore_abbattimento)
        oss->valore_ridotto(k, x.dato1, elemento);
    x.dato1 = minimo(valore_abbattimento, x.dato1);
}

// A signal at cell s lies before a warning board: it needs an abbattimento on one of the two
// cells before it, a new one on a free cell or an existing one lowered.
void abbatti_segnale_prima_dell_avviso(costruzione& c, osservatore_rifinitura* oss,
                                       std::int32_t s) {
    const cella& p = c.celle[s - 1];
    const cella& q = c.celle[s - 2];
    if (cella_libera(p))
        posa_abbattimento(c, oss, s - 1, s);
    else if (cella_libera(q))
        posa_abbattimento(c, oss, s - 2, s);
    else if (p.tipo == tipo_cella::abbattimento_valore)
        abbassa_valore(c, oss, s - 1, s);
    else if (q.tipo == tipo_cella::abbattimento_valore)
        abbassa_valore(c, oss, s - 2, s);
    else
        registra_errore(c, oss, codice::abbattimento_segnale, s, s);
}

// Case of a warning board at cell `avviso`: every signal in the 20 cells before it. Returns how
// many cells back the look-back stopped.
std::int32_t tratta_avviso(costruzione& c, osservatore_rifinitura* oss, std::int32_t avviso) {
    std::int32_t indietro = 1;
    for (; indietro <= celle_prima_dell_avviso; ++indietro) {
        const std::int32_t s = avviso - indietro;
        if (s < primo_segnale_esaminato)
            break;
        if (c.celle[s].tipo == tipo_cella::segnale)
            abbatti_segnale_prima_dell_avviso(c, oss, s);
    }
    return indietro;
}

// One marker on the first free cell of each band before the slowdown start s.
void abbatti_fasce(costruzione& c, osservatore_rifinitura* oss, std::int32_t s) {
    for (const fascia& f : fasce) {
        if (s <= f.oltre)
            continue;
        bool posato = false;
        for (const std::int32_t distanza : f.distanze) {
            if (cella_libera(c.celle[s - distanza])) {
                posa_abbattimento(c, oss, s - distanza, s);
                posato = true;
                break;
            }
        }
        if (!posato)
            registra_errore(c, oss, codice::abbattimento_fasce, s, s);
    }
}

// Walks from the slowdown start s to its end (the first kind-2 cell after s, or the last cell
// when there is none), placing a marker every 8 cells counted from the marker actually placed.
// Returns the end cell.
std::int32_t percorri_rallentamento(costruzione& c, osservatore_rifinitura* oss, std::int32_t s,
                                    std::int32_t ultima) {
    // Cells walked since the last marker: the one placed may sit a cell before or after the due
    // one, which shifts the count.
    std::int32_t passo = 0;
    std::int32_t k = s;
    while (k < ultima) {
        ++k;
        ++passo;
        if (passo == ritmo_percorso) {
            if (cella_libera(c.celle[k])) {
                posa_abbattimento(c, oss, k, s);
                passo = 0;
            } else if (cella_libera(c.celle[k - 1])) {
                posa_abbattimento(c, oss, k - 1, s);
                passo = 1;
            } else if (k < ultima && cella_libera(c.celle[k + 1])) {
                posa_abbattimento(c, oss, k + 1, s);
                passo = -1;
            } else {
                // The count goes past 8: no further marker in this walk.
                registra_errore(c, oss, codice::abbattimento_percorso, k, s);
            }
        }
        if (c.celle[k].tipo == tipo_cella::fine_rallentamento)
            break;
    }
    return k;
}

// The end of the slowdown starting at s without a walk: the first kind-2 cell after s, or the
// last cell when there is none.
std::int32_t trova_fine(const costruzione& c, std::int32_t s, std::int32_t ultima) {
    std::int32_t k = s;
    while (k < ultima) {
        ++k;
        if (c.celle[k].tipo == tipo_cella::fine_rallentamento)
            break;
    }
    return k;
}

// The first signal in the cells e to e + 12 gets a marker on one of the two cells before it,
// for the slowdown that starts at s.
void abbatti_segnale_dopo_la_fine(costruzione& c, osservatore_rifinitura* oss, std::int32_t s,
                                  std::int32_t e, std::int32_t ultima) {
    const std::int32_t limite = std::min(e + celle_dopo_la_fine, ultima);
    for (std::int32_t m = e; m <= limite; ++m) {
        if (c.celle[m].tipo != tipo_cella::segnale)
            continue;
        if (m - 1 > 0) {
            if (cella_libera(c.celle[m - 1]))
                posa_abbattimento(c, oss, m - 1, s);
            else if (cella_libera(c.celle[m - 2]))
                posa_abbattimento(c, oss, m - 2, s);
            else
                registra_errore(c, oss, codice::abbattimento_percorso, e, s);
        }
        return;
    }
}

// Case of a slowdown start at cell s. Returns the slowdown's end cell.
std::int32_t tratta_inizio(costruzione& c, osservatore_rifinitura* oss, std::int32_t s,
                           std::int32_t ultima) {
    abbatti_fasce(c, oss, s);
    const std::int32_t fine = c.celle[s].dato1 < velocita_senza_percorso
                                  ? percorri_rallentamento(c, oss, s, ultima)
                                  : trova_fine(c, s, ultima);
    abbatti_segnale_dopo_la_fine(c, oss, s, fine, ultima);
    return fine;
}

} // namespace

void rifinitura(costruzione& c, osservatore_rifinitura* oss) {
    const std::int32_t ultima = ultimo_indice(c);
    // Too few cells for a look-back or a walk: nothing to finish.
    if (ultima < primo_segnale_esaminato)
        return;
    // The main walk examines cells 1 to `fine_ciclo`. Each board or slowdown start it meets runs
    // an inner walk: back from the board, or along the slowdown to its end.
    const std::int32_t fine_ciclo = ultima - 2;
    std::int32_t esaminata = 1;
    std::optional<std::int32_t> fine_cammino_interno;
    for (; esaminata <= fine_ciclo; ++esaminata) {
        const std::uint8_t tipo = c.celle[esaminata].tipo;
        if (tipo == tipo_cella::avviso_rallentamento)
            fine_cammino_interno = tratta_avviso(c, oss, esaminata);
        else if (tipo == tipo_cella::inizio_rallentamento)
            fine_cammino_interno = tratta_inizio(c, oss, esaminata, ultima);
    }
    // The model's counters keep where the walks stopped: `indice` one past the main walk's last
    // cell, `contatore` the latest inner walk's last value (left as it was when none ran).
    c.indice = esaminata;
    if (fine_cammino_interno)
        c.contatore = *fine_cammino_interno;
}

} // namespace corvenna
