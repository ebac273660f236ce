#include "tool/comando_esporta.hpp"

#include "base/stato_uscita.hpp"
#include "model/costruzione.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/insieme_file.hpp"
#include "scenario/dati_documenti.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace corvenna {

namespace {

// What each file of the template is, for the author who reads the list of what was written.
std::string_view cosa_contiene(file_uscita file) {
    switch (file) {
    case file_uscita::descrizione_linea:
        return "la descrizione della linea";
    case file_uscita::descrizione_treno:
        return "la descrizione del treno";
    case file_uscita::note:
        return "le note dello scenario, per il macchinista";
    case file_uscita::rallentamenti:
        return "il modulo dei rallentamenti";
    case file_uscita::scheda_treno:
        return "la scheda del treno, con l'orario";
    case file_uscita::planimetria:
    case file_uscita::voci:
    case file_uscita::celle:
        break;
    }
    return "";
}

} // namespace

int esegui_esporta(const std::filesystem::path& cartella, bool sovrascrivi,
                   std::ostream& uscita_testo, std::ostream& errori) {
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

    // One file a line, the names in a column as wide as the longest and a blank.
    std::size_t larghezza_nomi = 0;
    for (const std::string& nome : nomi)
        larghezza_nomi = std::max(larghezza_nomi, nome.size());
    uscita_testo << "scritti in " << cartella.string() << ":\n";
    for (std::size_t i = 0; i < nomi.size(); ++i)
        uscita_testo << "  " << nomi[i] << std::string(larghezza_nomi + 1 - nomi[i].size(), ' ')
                     << cosa_contiene(documenti_scenario[i].file) << '\n';
    uscita_testo << "per compilarli: scenario compila "
                 << (cartella / nome_file(c, file_uscita::descrizione_linea)).string() << ' '
                 << (cartella / nome_file(c, file_uscita::descrizione_treno)).string() << '\n';
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
            return esegui_esporta(*cartella, *sovrascrivi, std::cout, std::cerr);
        };
    });
}

} // namespace corvenna
