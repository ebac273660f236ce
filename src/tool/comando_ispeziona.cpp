#include "tool/comando_ispeziona.hpp"

#include "tool/file_utente.hpp"

#include "base/stato_uscita.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_json.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/lettura_scenario.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <ostream>

namespace corvenna {

namespace {

// The report in the chosen form, each line ended by `a_capo`.
void scrivi_rapporto(std::ostream& uscita, const opzioni_ispeziona& o, const costruzione& c,
                     std::string_view a_capo) {
    if (o.formato == "csv")
        scrivi_csv(uscita, c, *tabella_di_nome(o.tabella), a_capo);
    else
        scrivi_json(uscita, c, a_capo);
}

int uso_errato(std::ostream& errori, const std::string& motivo) {
    errori << "scenario: " << motivo << "\nPer l'aiuto: scenario ispeziona --help\n";
    return stato_uscita::uso_errato;
}

} // namespace

int esegui_ispeziona(const opzioni_ispeziona& o, std::ostream& uscita, std::ostream& errori) {
    if (o.formato == "csv" && !tabella_di_nome(o.tabella))
        return uso_errato(errori, "--formato csv scrive una tabella alla volta: indicare "
                                  "--tabella voci, celle o planimetria");
    if (o.formato != "csv" && !o.tabella.empty())
        return uso_errato(errori, "--tabella vale solo con --formato csv");

    lettura_scenario lettura(o.percorsi);
    file_scenario file;
    try {
        file = file_da_opzioni(o.percorsi, o.nome, o.numero_treno);
    } catch (const errore_scelta_scenario& e) {
        return uso_errato(errori, e.what());
    }
    const bool su_file = o.uscita && *o.uscita != uscita_standard;
    if (su_file) {
        try {
            controlla_destinazione(*o.uscita, "-o", file_letti(file));
        } catch (const errore_destinazione& e) {
            return uso_errato(errori, e.what());
        }
    }
    const scenario_caricato s = lettura.carica(file);
    lettura.rilascia();
    if (!lettura.accetta(o.rigoroso, errori))
        return stato_uscita::file_danneggiato;
    if (o.formato == "csv" && o.tabella == "planimetria" && !file.planimetria)
        errori << "scenario: lo scenario non ha il file della planimetria: la tabella e' vuota\n";

    // A file gets the line ends of the files the programs write; standard output those of the
    // platform, which its text stream adds.
    if (su_file)
        scrivi_file_utente(*o.uscita, [&](std::ostream& destinazione) {
            scrivi_rapporto(destinazione, o, s.c, "\r\n");
        });
    else
        scrivi_rapporto(uscita, o, s.c, "\n");
    return stato_uscita::riuscito;
}

void aggiungi_ispeziona(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_ispeziona>();
    CLI::App* sub = app.add_subcommand(
        "ispeziona", "legge i file binari di uno scenario compilato e li mostra in JSON o CSV");
    sub->add_option("PERCORSI", o->percorsi,
                    "la cartella dello scenario, o i suoi file: NOME_NUMERO.sim, "
                    "NOME_NUMERO.dat e, se c'e', NOME_linea.dat")
        ->required();
    sub->add_option("--nome", o->nome,
                    "nome dello scenario nella cartella (di norma l'unico scenario che contiene)");
    sub->add_option("--treno", o->numero_treno, "numero del treno dello scenario nella cartella");
    sub->add_option("--formato", o->formato, "json (tutto lo scenario) o csv (una tabella)")
        ->check(CLI::IsMember({"json", "csv"}));
    sub->add_option("--tabella", o->tabella, "la tabella del CSV")
        ->check(CLI::IsMember({"voci", "celle", "planimetria"}));
    sub->add_option(
        "-o,--uscita", o->uscita,
        "file da scrivere (sostituito per intero; di norma, o con -, lo standard output)");
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->callback(
        [o, &azione] { azione = [o] { return esegui_ispeziona(*o, std::cout, std::cerr); }; });
}

} // namespace corvenna
