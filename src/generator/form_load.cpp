#include "generator/form_load.hpp"

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "format/nomi_file.hpp"
#include "generator/memorizza_percorso.hpp"
#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/insieme_file.hpp"
#include "scenario/dati_documenti.hpp"

#include <array>
#include <string>

namespace corvenna {

namespace {

std::string rapporto_errore(const costruzione& c) {
    std::string testo = "Errore " + std::to_string(c.codice_errore) + ": " +
                        std::string(testo_codice(c.codice_errore));
    if (codice_con_posizione(c.codice_errore))
        testo += " (a " + std::to_string(c.posizione_errore) + " m)";
    if (c.codice_errore == codice::lettura_fallita && !c.luogo_errore.empty())
        testo += " (" + c.luogo_errore + ")";
    return testo;
}

} // namespace

int riporta_esito(const costruzione& c, int errore_intestazione, const interfaccia_utente& ui) {
    if (errore_intestazione != 0) {
        ui.errore(std::to_string(errore_intestazione));
        return stato_uscita::errori_descrizioni;
    }
    if (!c.celle_create()) {
        ui.segnala(rapporto_errore(c) + "; nessun file binario scritto");
        return stato_uscita::errori_descrizioni;
    }
    if (c.codice_errore != 0) {
        ui.segnala(rapporto_errore(c));
        return stato_uscita::errori_descrizioni;
    }
    return stato_uscita::riuscito;
}

int Form_Load(const std::filesystem::path& cartella, const interfaccia_utente& ui) {
    costruzione c;
    c.nome_scenario = nome_scenario_predefinito;
    c.numero_treno = numero_treno_predefinito;
    // Shown before the wait for the directory, so that a run queued behind another is seen
    // to be alive.
    ui.mostra_attesa();

    // Held for the whole run: a second run in the same directory waits for this one, so
    // neither reads or deletes the other's files.
    cartella_bloccata uscita(cartella);
    const std::array<std::string, 8> nomi = {
        nome_file(c, file_uscita::descrizione_linea),
        nome_file(c, file_uscita::descrizione_treno),
        nome_file(c, file_uscita::note),
        nome_file(c, file_uscita::rallentamenti),
        nome_file(c, file_uscita::scheda_treno),
        nome_file(c, file_uscita::planimetria),
        nome_file(c, file_uscita::voci),
        nome_file(c, file_uscita::celle),
    };
    uscita.rimuovi_temporanei(nomi);

    // The documents and the binary files are one scenario: they replace the earlier ones
    // together, and only when the build wrote the binary files.
    insieme_file scenario(uscita);
    int errore_intestazione = 0;
    try {
        // Line and train descriptions, notes, slowdown order, train card. The descriptions are
        // intermediate files, which the build reads and deletes again: they need no flush and
        // belong to no set.
        for (const documento_scenario& d : documenti_scenario) {
            const bool descrizione = d.file == file_uscita::descrizione_linea ||
                                     d.file == file_uscita::descrizione_treno;
            if (descrizione)
                scrivi_documento(c, uscita, d, persistenza::provvisoria);
            else
                scrivi_documento(c, scenario, d, persistenza::durevole);
        }
        errore_intestazione = memorizza_percorso(c, 1, uscita, scenario);
        if (errore_intestazione == 0 && c.celle_create())
            scenario.conferma();
        // Before the report: the error box ends the program.
        uscita.sincronizza();
    } catch (...) {
        // A run stopped by a file failure leaves no intermediate description behind.
        for (const file_uscita f : {file_uscita::descrizione_linea, file_uscita::descrizione_treno})
            try {
                uscita.cancella(nome_file(c, f));
            } catch (const errore_file&) {
                // The failure being reported comes first.
            }
        throw;
    }
    return riporta_esito(c, errore_intestazione, ui);
}

} // namespace corvenna
