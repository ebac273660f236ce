#include "tool/comando_esporta.hpp"

#include "base/stato_uscita.hpp"
#include "model/costruzione.hpp"
#include "platform/cartella_bloccata.hpp"
#include "scenario/dati_documenti.hpp"

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

namespace corvenna {

int esegui_esporta(const std::filesystem::path& cartella) {
    std::filesystem::create_directories(cartella);
    cartella_bloccata uscita(cartella);
    costruzione c;
    c.nome_scenario = nome_scenario_predefinito;
    c.numero_treno = numero_treno_predefinito;
    std::vector<std::string> nomi;
    for (const documento_scenario& d : documenti_scenario)
        nomi.push_back(nome_file(c, d.file));
    uscita.rimuovi_temporanei(nomi);
    // The template is the author's from now on: every file is durable, the descriptions too.
    for (const documento_scenario& d : documenti_scenario)
        scrivi_documento(c, uscita, d, persistenza::durevole);
    uscita.sincronizza();
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
