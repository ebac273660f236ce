#include "app/memorizza_percorso.hpp"

#include "app/sorgente_cartella.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "output/nomi_file.hpp"
#include "pipeline/costruisci_scenario.hpp"

namespace corvenna {

int memorizza_percorso(costruzione& c, const std::int32_t& j,
                       const std::filesystem::path& cartella) {
    c.genera_planimetria = j;
    sorgente_cartella sorgente(percorso_file(cartella, c, file_uscita::descrizione_linea),
                               percorso_file(cartella, c, file_uscita::descrizione_treno));
    const int errore = costruisci(c, sorgente);
    if (!c.celle_create() || errore != 0)
        return errore;

    if (c.genera_planimetria != 0)
        scrivi_planimetria(percorso_file(cartella, c, file_uscita::planimetria), c);
    scrivi_voci(percorso_file(cartella, c, file_uscita::voci), c);
    scrivi_celle(percorso_file(cartella, c, file_uscita::celle), c);
    return 0;
}

} // namespace corvenna
