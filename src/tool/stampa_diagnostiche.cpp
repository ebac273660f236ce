#include "tool/stampa_diagnostiche.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/diagnostiche_json.hpp"
#include "diagnostics/testo_diagnostica.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "model/codici_errore.hpp"

#include <algorithm>
#include <ostream>

namespace corvenna {

elenco_diagnostiche completa_diagnostiche(const scenario_costruito& s) {
    elenco_diagnostiche diagnostiche = s.diagnostiche;
    const bool ha_errore =
        std::any_of(diagnostiche.begin(), diagnostiche.end(),
                    [](const diagnostica& d) { return d.livello == gravita::errore; });
    if (s.riuscito() || ha_errore)
        return diagnostiche;
    diagnostica d;
    d.codice = s.errore_intestazione != 0 ? s.errore_intestazione
               : s.c.codice_errore != 0   ? s.c.codice_errore
                                          : codice::lettura_fallita;
    d.messaggio = s.errore_intestazione != 0 ? "i campi dell'intestazione sono gia' occupati"
                                             : std::string(testo_codice(d.codice));
    if (s.errore_intestazione == 0 && codice_con_posizione(d.codice))
        d.metri = s.c.posizione_errore;
    diagnostiche.push_back(d);
    return diagnostiche;
}

conteggio_diagnostiche stampa_diagnostiche(const elenco_diagnostiche& diagnostiche,
                                           const file_mostrati& file, forma_diagnostiche forma,
                                           std::ostream& uscita, std::ostream& errori) {
    conteggio_diagnostiche n;
    for (const diagnostica& d : diagnostiche)
        (d.livello == gravita::errore ? n.errori : n.avvisi) += 1;

    const auto nome = [&](descrizione x) {
        const auto f = file.find(x);
        return f == file.end() ? std::string() : f->second.nome;
    };
    if (forma == forma_diagnostiche::json) {
        uscita << diagnostiche_json(diagnostiche, nome(descrizione::linea),
                                    nome(descrizione::treno), 2)
               << '\n';
    } else {
        for (diagnostica d : diagnostiche) {
            d.messaggio = da_1252(d.messaggio);
            const auto f = d.file ? file.find(*d.file) : file.end();
            errori << (f == file.end()
                           ? testo_diagnostica(d, {}, {}, true)
                           : testo_diagnostica(d, f->second.nome, f->second.testo_utf8, true));
        }
    }
    errori << n.errori << " errori, " << n.avvisi << " avvisi\n";
    return n;
}

} // namespace corvenna
