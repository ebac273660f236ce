#include "app/comando_esporta.hpp"

#include "app/blocco_cartella.hpp"
#include "app/stato_uscita.hpp"
#include "documents/dati_documenti.hpp"
#include "model/costruzione.hpp"

#include <CLI/CLI.hpp>

#include <memory>

namespace corvenna {

int esegui_esporta(const std::filesystem::path& cartella) {
    std::filesystem::create_directories(cartella);
    const blocco_cartella blocco(cartella);
    costruzione c;
    c.nome_scenario = nome_scenario_predefinito;
    c.numero_treno = numero_treno_predefinito;
    for (const documento_scenario& d : documenti_scenario)
        scrivi_documento(c, cartella, d);
    return stato_uscita::riuscito;
}

void aggiungi_esporta(CLI::App& app, azione_comando& azione) {
    auto cartella = std::make_shared<std::filesystem::path>();
    CLI::App* sub = app.add_subcommand(
        "esporta", "scrive le descrizioni e i documenti dello scenario incorporato, come modello");
    sub->add_option("CARTELLA", *cartella, "cartella in cui scriverli")->required();
    sub->callback(
        [cartella, &azione] { azione = [cartella] { return esegui_esporta(*cartella); }; });
}

} // namespace corvenna
