#include "tool/sorveglia.hpp"

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "input/errore_lettura.hpp"
#include "platform/sorveglianza.hpp"
#include "tool/ingresso_standard.hpp"

#include <ostream>

namespace corvenna {

int esegui_sorvegliando(const std::vector<std::filesystem::path>& file,
                        const std::function<int()>& esegui, std::ostream& errori) {
    // Watching starts before the first run, so a save made while it runs is not missed.
    piattaforma::sorveglianza_file sorveglianza(file);
    std::string elenco;
    for (std::size_t i = 0; i < file.size(); ++i)
        elenco += (i == 0                 ? ""
                   : i + 1 == file.size() ? " o di "
                                          : ", ") +
                  percorso_mostrabile(file[i]);
    for (;;) {
        piattaforma::pulisci_schermo();
        try {
            if (esegui() == stato_uscita::uso_errato)
                return stato_uscita::uso_errato;
        } catch (const errore_file& e) {
            errori << "scenario: impossibile leggere " << percorso_mostrabile(e.file()) << ": "
                   << testo_mostrabile(e.motivo(), true) << '\n';
        } catch (const errore_lettura& e) {
            // A compiled scenario caught while it is being written again reads as damaged:
            // the write's end is a save too, and the next run reads it whole.
            errori << "scenario: " << testo_mostrabile(e.what(), true) << '\n';
        }
        errori << "scenario: in attesa di un salvataggio di " << elenco << " (Ctrl-C per finire)"
               << std::endl;
        using evento = piattaforma::sorveglianza_file::evento;
        evento e = sorveglianza.attendi();
        for (; e == evento::scomparsa; e = sorveglianza.attendi())
            for (const std::filesystem::path& cartella : sorveglianza.scomparse())
                errori << "scenario: la cartella " << percorso_mostrabile(cartella)
                       << " non c'e' piu' (rinominata o rimossa): la sorveglianza riprende "
                          "quando torna (Ctrl-C per finire)"
                       << std::endl;
        if (e == evento::interrotto)
            return stato_uscita::riuscito;
    }
}

int controlla_sorvegliando(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori) {
    if (e_ingresso_standard(o.linea) || e_ingresso_standard(o.treno)) {
        errori << "scenario: --watch sorveglia due file: lo standard input (-) non si puo' "
                  "sorvegliare\nPer l'aiuto: scenario controlla --help\n";
        return stato_uscita::uso_errato;
    }
    return esegui_sorvegliando(
        {o.linea, o.treno},
        [&] {
            const int stato = esegui_compila(o, uscita, errori);
            uscita.flush();
            return stato;
        },
        errori);
}

} // namespace corvenna
