// genera_scenario: writes the scenario "Corvenna", train 7381, into its own directory.

#include "app/blocco_cartella.hpp"
#include "app/form_load.hpp"
#include "app/piattaforma.hpp"
#include "output/errore_file.hpp"

#include <exception>
#include <string>

int main() {
    using namespace corvenna;
    try {
        const interfaccia_utente ui{
            .mostra_attesa = piattaforma::mostra_attesa,
            .errore = [](std::string_view a) { piattaforma::errore(a); },
            .segnala = piattaforma::segnala,
        };
        const std::filesystem::path cartella = piattaforma::cartella_programma();
        // Held for the whole run: a second run in the same directory waits for this one, so
        // neither reads or deletes the other's description files.
        const blocco_cartella blocco(cartella);
        const int esito = Form_Load(cartella, ui);
        piattaforma::chiudi_attesa();
        return esito;
    } catch (const errore_file& e) {
        piattaforma::segnala("Impossibile scrivere o leggere " + e.file().string() + ": " +
                             e.motivo());
    } catch (const std::exception& e) {
        piattaforma::segnala(std::string("Errore: ") + e.what());
    }
    piattaforma::chiudi_attesa();
    return 2;
}
