#include "tool/sorveglia.hpp"

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "platform/sorveglianza.hpp"
#include "tool/ingresso_standard.hpp"

#include <ostream>

namespace corvenna {

int controlla_sorvegliando(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori) {
    if (e_ingresso_standard(o.linea) || e_ingresso_standard(o.treno)) {
        errori << "scenario: --watch sorveglia due file: lo standard input (-) non si puo' "
                  "sorvegliare\nPer l'aiuto: scenario controlla --help\n";
        return stato_uscita::uso_errato;
    }
    // Watching starts before the first run, so a save made while it runs is not missed.
    piattaforma::sorveglianza_file sorveglianza({o.linea, o.treno});
    for (;;) {
        piattaforma::pulisci_schermo();
        try {
            const int stato = esegui_compila(o, uscita, errori);
            // The status is the usage error only for what no save can mend (the identity).
            if (stato == stato_uscita::uso_errato)
                return stato;
        } catch (const errore_file& e) {
            errori << "scenario: impossibile leggere " << e.file().string() << ": " << e.motivo()
                   << '\n';
        }
        errori << "scenario: in attesa di un salvataggio di " << o.linea.string() << " o di "
               << o.treno.string() << " (Ctrl-C per finire)" << std::endl;
        uscita.flush();
        if (sorveglianza.attendi() == piattaforma::sorveglianza_file::evento::interrotto)
            return stato_uscita::riuscito;
    }
}

} // namespace corvenna
