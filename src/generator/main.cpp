// genera_scenario: writes the scenario "Corvenna", train 7381, into its own directory.

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "generator/form_load.hpp"
#include "platform/piattaforma.hpp"

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
        const int esito = Form_Load(piattaforma::cartella_programma(), ui);
        piattaforma::chiudi_attesa();
        return esito;
    } catch (const errore_file& e) {
        piattaforma::segnala("Impossibile scrivere o leggere " + e.file().string() + ": " +
                             e.motivo());
    } catch (const std::exception& e) {
        piattaforma::segnala(std::string("Errore: ") + e.what());
    }
    piattaforma::chiudi_attesa();
    return stato_uscita::errore_file;
}
