#include "tool/comando_esporta.hpp"

#include "base/stato_uscita.hpp"
#include "model/costruzione.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/insieme_file.hpp"
#include "scenario/dati_documenti.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace corvenna {

int esegui_esporta(const std::filesystem::path& cartella, bool sovrascrivi, std::ostream& errori) {
    std::filesystem::create_directories(cartella);
    cartella_bloccata uscita(cartella);
    costruzione c;
    c.nome_scenario = nome_scenario_predefinito;
    c.numero_treno = numero_treno_predefinito;
    std::vector<std::string> nomi;
    for (const documento_scenario& d : documenti_scenario)
        nomi.push_back(nome_file(c, d.file));
    uscita.rimuovi_temporanei(nomi);

    // Checked under the lock, so that no other run creates one in between.
    if (!sovrascrivi) {
        std::string esistenti;
        for (const std::string& nome : nomi)
            if (uscita.esiste(nome))
                esistenti += (esistenti.empty() ? "" : ", ") + nome;
        if (!esistenti.empty()) {
            errori << "scenario: " << cartella.string() << " contiene gia' file del modello ("
                   << esistenti
                   << "): nulla e' stato scritto; per sostituirli: scenario esporta "
                      "--sovrascrivi "
                   << cartella.string() << '\n';
            return stato_uscita::uso_errato;
        }
    }
    // The template is the author's from now on: every file is durable, the descriptions too,
    // and the five take their names together.
    insieme_file modello(uscita);
    for (const documento_scenario& d : documenti_scenario)
        scrivi_documento(c, modello, d, persistenza::durevole);
    modello.conferma();
    uscita.sincronizza();
    return stato_uscita::riuscito;
}

void aggiungi_esporta(CLI::App& app, azione_comando& azione) {
    auto cartella = std::make_shared<std::filesystem::path>();
    auto sovrascrivi = std::make_shared<bool>(false);
    CLI::App* sub = app.add_subcommand(
        "esporta", "scrive le descrizioni e i documenti dello scenario incorporato, come modello");
    sub->add_option("CARTELLA", *cartella, "cartella in cui scriverli")->required();
    sub->add_flag("--sovrascrivi", *sovrascrivi,
                  "sostituisce i file del modello gia' presenti nella cartella");
    sub->callback([cartella, sovrascrivi, &azione] {
        azione = [cartella, sovrascrivi] {
            return esegui_esporta(*cartella, *sovrascrivi, std::cerr);
        };
    });
}

} // namespace corvenna
