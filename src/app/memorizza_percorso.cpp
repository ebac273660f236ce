#include "app/memorizza_percorso.hpp"

#include "compiler/memorizza_dati.hpp"
#include "finishing/codici_gara.hpp"
#include "finishing/rifinitura.hpp"
#include "finishing/timbro_intestazione.hpp"
#include "model/costruzione.hpp"
#include "output/file_binari.hpp"
#include "output/nomi_file.hpp"

namespace corvenna {

int memorizza_percorso(costruzione& c, const std::int32_t& j,
                       const std::filesystem::path& cartella) {
    c.genera_planimetria = j;
    c.codice_errore = 0;
    for (c.indice = 0; c.indice < numero_voci; ++c.indice)
        c.voci[c.indice] = voce{};

    memorizza_dati(c, cartella);
    if (!c.celle_create())
        return 0;

    rifinitura(c);
    if (const int errore = timbra_intestazione(c); errore != 0)
        return errore;
    c.voci[voce_scenario].orario = codice_gara_st(c);
    c.celle[1].dato2 = codice_gara_og(c);

    if (c.genera_planimetria != 0)
        scrivi_planimetria(percorso_file(cartella, c, file_uscita::planimetria), c);
    scrivi_voci(percorso_file(cartella, c, file_uscita::voci), c);
    scrivi_celle(percorso_file(cartella, c, file_uscita::celle), c);
    return 0;
}

} // namespace corvenna
