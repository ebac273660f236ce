#include "app/memorizza_percorso.hpp"

#include "app/cartella_bloccata.hpp"
#include "app/sorgente_cartella.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "output/nomi_file.hpp"
#include "pipeline/costruisci_scenario.hpp"

namespace corvenna {

int memorizza_percorso(costruzione& c, const std::int32_t& j, cartella_bloccata& cartella) {
    c.genera_planimetria = j;
    sorgente_cartella sorgente(cartella, nome_file(c, file_uscita::descrizione_linea),
                               nome_file(c, file_uscita::descrizione_treno));
    const int errore = costruisci(c, sorgente);
    // The model of a compile that could not read its descriptions is not the scenario's.
    if (sorgente.guasto())
        throw *sorgente.guasto();
    if (!c.celle_create() || errore != 0)
        return errore;

    if (c.genera_planimetria != 0)
        scrivi_planimetria(cartella, nome_file(c, file_uscita::planimetria), c);
    scrivi_voci(cartella, nome_file(c, file_uscita::voci), c);
    scrivi_celle(cartella, nome_file(c, file_uscita::celle), c);
    return 0;
}

} // namespace corvenna
