#pragma once

// The scenario's document writers pointed at a scratch directory given by its path.

#include "model/costruzione.hpp"
#include "scenario/dati_documenti.hpp"
#include "support/cartella_percorso.hpp"

#include <filesystem>

namespace corvenna::prova {

inline void scrivi_documento(corvenna::costruzione& c, const std::filesystem::path& cartella,
                             const corvenna::documento_scenario& d) {
    cartella_percorso uscita(cartella);
    corvenna::scrivi_documento(c, uscita, d, corvenna::persistenza::durevole);
}

// Each of the five documents into the directory at `cartella`.
#define PROVA_DOCUMENTO(nome)                                                                      \
    inline void nome(corvenna::costruzione& c, const std::filesystem::path& cartella) {            \
        cartella_percorso uscita(cartella);                                                        \
        corvenna::nome(c, uscita);                                                                 \
    }
PROVA_DOCUMENTO(dati_linea)
PROVA_DOCUMENTO(dati_treno)
PROVA_DOCUMENTO(dati_note)
PROVA_DOCUMENTO(dati_rallentamenti)
PROVA_DOCUMENTO(dati_scheda)
#undef PROVA_DOCUMENTO

} // namespace corvenna::prova
