#pragma once

// A signal as its description line gave it, unpacked from the four values of its cell: the
// kind of the main signal and of the one beside it, the aspects each shows, and the names the
// drawing gives them. The cell packs `dato4` = rapp × 10 + sx × 3 + dx and `datoN` = sN × 10 +
// dN; a kind of 0 to 2 and an aspect of 0 to 9 come back exactly, anything else as the numbers
// the cell holds.

#include "drawing/disegno_elementi.hpp"

#include <string>

namespace corvenna {

enum class tipo_segnale { avviso, protezione, altro };

struct segnale_letto {
    int sx = 0; // kind of the main signal
    int dx = 0; // kind of the signal beside it (0: none)
    int rapp = 0;
    int aspetti_sx[3] = {0, 0, 0};
    int aspetti_dx[3] = {0, 0, 0};
};

segnale_letto leggi_segnale(const segnale_disegno& s);

// How the drawing shows the main signal: 1 is a distant signal, 2 a main (protecting) signal.
tipo_segnale tipo_di(const segnale_letto& s);

// "segnale di avviso", "segnale di protezione", "segnale di tipo 7".
std::string nome_tipo_segnale(int tipo);

// "verde", "giallo lampeggiante", ...; "aspetto 12" for a code the drawing has no name for.
std::string nome_aspetto(int codice);

// The short letter drawn beside the marker: "A" (avviso), "P" (protezione), "S" (other).
const char* sigla_segnale(tipo_segnale t);

// The CSS class of the kind: "avviso", "protezione", "altro".
const char* classe_segnale(tipo_segnale t);

} // namespace corvenna
