#include "pipeline/costruisci_scenario.hpp"

#include "compiler/memorizza_dati.hpp"
#include "finishing/codici_gara.hpp"
#include "finishing/rifinitura.hpp"
#include "finishing/timbro_intestazione.hpp"

namespace corvenna {

int costruisci(costruzione& c, sorgente_descrizioni& sorgente) {
    c.codice_errore = 0;
    for (c.indice = 0; c.indice < numero_voci; ++c.indice)
        c.voci[c.indice] = voce{};

    memorizza_dati(c, sorgente);
    if (!c.celle_create())
        return 0;

    rifinitura(c);
    if (const int errore = timbra_intestazione(c); errore != 0)
        return errore;
    c.voci[voce_scenario].orario = codice_gara_st(c);
    c.celle[1].dato2 = codice_gara_og(c);
    return 0;
}

scenario_costruito costruisci_scenario(sorgente_descrizioni& sorgente,
                                       const identita_scenario& identita,
                                       std::int32_t genera_planimetria) {
    scenario_costruito s;
    s.c.nome_scenario = identita.nome_scenario;
    s.c.numero_treno = identita.numero_treno;
    s.c.genera_planimetria = genera_planimetria;
    s.errore_intestazione = costruisci(s.c, sorgente);
    return s;
}

} // namespace corvenna
