#include "generator/memorizza_percorso.hpp"

#include "format/nomi_file.hpp"
#include "generator/sorgente_cartella.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/insieme_file.hpp"

namespace corvenna {

int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella) {
    insieme_file binari(cartella);
    const int errore = memorizza_percorso(c, j, cartella, binari);
    if (errore == 0 && c.celle_create())
        binari.conferma();
    return errore;
}

int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella,
                       cartella_uscita& binari) {
    c.genera_planimetria = j;
    sorgente_cartella sorgente(cartella, nome_file(c, file_uscita::descrizione_linea),
                               nome_file(c, file_uscita::descrizione_treno));
    const int errore = costruisci(c, sorgente);
    // The model of a compile that could not read its descriptions is not the scenario's.
    if (sorgente.guasto())
        throw *sorgente.guasto();
    if (!c.celle_create() || errore != 0)
        return errore;

    scrivi_scenario(binari, c);
    return 0;
}

} // namespace corvenna
