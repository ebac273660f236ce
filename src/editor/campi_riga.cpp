#include "editor/campi_riga.hpp"

#include "description/taglio_campi.hpp"

#include <vector>

namespace corvenna {

riga_letta leggi_riga(std::string_view riga, descrizione d) {
    riga_letta r;
    if (dopo_spazi(riga, 0) >= riga.size())
        return r;
    const taglio_campo chiave = taglia_testo(riga, 0);
    r.voce = voce_per_parola(d, riga.substr(chiave.inizio, chiave.fine - chiave.inizio));
    // A row of an unknown keyword is cut as texts; the values of a known one by their type.
    std::vector<tipo_campo> tipi;
    if (r.voce)
        for (const campo_riga& c : r.voce->campi)
            tipi.push_back(c.testo ? tipo_campo::testo : tipo_campo::intero_32);
    for (const campo_tagliato& c :
         taglia_riga(riga, tipi, r.voce ? tipo_campo::intero_32 : tipo_campo::testo))
        r.campi.push_back({c.inizio, c.fine, c.testo});
    return r;
}

int campo_a(const riga_letta& r, std::size_t byte) {
    for (std::size_t k = 0; k < r.campi.size(); ++k)
        if (byte <= r.campi[k].fine)
            return static_cast<int>(k);
    return -1;
}

} // namespace corvenna
