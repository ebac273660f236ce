#include "tool/comando_marcia.hpp"

#include "base/stato_uscita.hpp"
#include "running/diagnostiche_marcia.hpp"
#include "running/rapporto_marcia.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/file_utente.hpp"
#include "tool/ingresso_descrizione.hpp"
#include "tool/lettura_scenario.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <ostream>

namespace corvenna {

namespace {

int uso_errato_marcia(std::ostream& errori, const std::string& motivo) {
    errori << "scenario: " << motivo << "\nPer l'aiuto: scenario marcia --help\n";
    return stato_uscita::uso_errato;
}

tabella_marcia tabella_di(const std::string& nome) {
    if (nome == "segnali")
        return tabella_marcia::segnali;
    if (nome == "profilo")
        return tabella_marcia::profilo;
    return tabella_marcia::tratte;
}

} // namespace

std::optional<modello_treno> modello_da_opzione(const std::string& valore, const costruzione& c,
                                                std::string& motivo) {
    if (auto m = modello_di_nome(valore, c))
        return m;
    const std::filesystem::path percorso = std::filesystem::u8path(valore);
    modello_letto letto = leggi_modello_treno(leggi_file_intero(percorso));
    if (!letto.modello) {
        motivo = "--modello " + valore + ": " + letto.errore;
        return std::nullopt;
    }
    if (letto.modello->nome.empty()) {
        const std::u8string stem = percorso.stem().u8string();
        letto.modello->nome.assign(stem.begin(), stem.end());
    }
    return letto.modello;
}

elenco_diagnostiche diagnostiche_di_marcia(const std::string& valore_modello,
                                           const scenario_costruito& s, std::string_view linea,
                                           std::string_view treno, std::string& motivo) {
    std::optional<modello_treno> modello;
    if (!valore_modello.empty()) {
        modello = modello_da_opzione(valore_modello, s.c, motivo);
        if (!modello)
            return {};
    }
    return diagnostiche_marcia(s, linea, treno, modello ? &*modello : nullptr);
}

int esegui_marcia(const opzioni_marcia& o, std::ostream& uscita, std::ostream& errori) {
    if (o.formato != "csv" && o.tabella != "tratte")
        return uso_errato_marcia(errori, "--tabella vale solo con --formato csv");
    if (o.profilo && o.formato != "testo")
        return uso_errato_marcia(errori,
                                 "--profilo vale solo con --formato testo: il JSON ha sempre "
                                 "il profilo, il CSV con --tabella profilo");

    std::optional<scenario_caricato> caricato;
    std::vector<std::filesystem::path> letti;
    if (sono_descrizioni(o.percorsi)) {
        try {
            caricato =
                carica_descrizioni(o.percorsi[0], o.percorsi[1], o.nome, o.numero_treno, errori);
        } catch (const errore_scelta_scenario& e) {
            return uso_errato_marcia(errori, e.what());
        }
        if (!caricato)
            return stato_uscita::errori_descrizioni;
        letti = o.percorsi;
    }
    std::optional<lettura_scenario> lettura;
    file_scenario file;
    if (!caricato) {
        lettura.emplace(o.percorsi);
        try {
            file = file_da_opzioni(o.percorsi, o.nome, o.numero_treno);
        } catch (const errore_scelta_scenario& e) {
            return uso_errato_marcia(errori, e.what());
        }
        letti = file_letti(file);
    }
    const bool su_file = o.uscita && *o.uscita != uscita_standard;
    if (su_file) {
        try {
            controlla_destinazione(*o.uscita, "-o", letti);
        } catch (const errore_destinazione& e) {
            return uso_errato_marcia(errori, e.what());
        }
    }
    if (!caricato) {
        caricato = lettura->carica(file);
        lettura->rilascia();
        if (!lettura->accetta(o.rigoroso, errori))
            return stato_uscita::file_danneggiato;
    }
    const costruzione& c = caricato->c;

    std::optional<modello_treno> modello;
    if (o.modello.empty()) {
        modello = modello_predefinito(c);
        errori << "scenario: nessun --modello: uso il modello " << modello->nome << " ("
               << c.voci[voce_percorso].posizione << " vetture)\n";
    } else {
        std::string motivo;
        modello = modello_da_opzione(o.modello, c, motivo);
        if (!modello)
            return uso_errato_marcia(errori, motivo);
    }
    const esito_marcia e = marcia(c, *modello);
    const auto scrivi = [&](std::ostream& destinazione, std::string_view a_capo) {
        if (o.formato == "json")
            scrivi_marcia_json(destinazione, e, a_capo);
        else if (o.formato == "csv")
            scrivi_marcia_csv(destinazione, c, e, tabella_di(o.tabella), a_capo);
        else
            scrivi_marcia_testo(destinazione, c, e, o.profilo, a_capo);
    };
    // A file gets the line ends of the files the programs write; standard output those of the
    // platform, which its text stream adds.
    if (su_file)
        scrivi_file_utente(*o.uscita,
                           [&](std::ostream& destinazione) { scrivi(destinazione, "\r\n"); });
    else
        scrivi(uscita, "\n");
    return stato_uscita::riuscito;
}

void aggiungi_marcia(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_marcia>();
    CLI::App* sub = app.add_subcommand(
        "marcia", "guida il treno a vuoto sullo scenario: il tempo minimo di ogni tratta contro "
                  "l'orario, il limite inferiore e lo spazio di frenatura dei segnali");
    sub->add_option("PERCORSI", o->percorsi,
                    "la cartella dello scenario, o i suoi file; oppure le due descrizioni "
                    "(NOME_linea.txt NOME_NUMERO-.txt), compilate in memoria")
        ->required();
    sub->add_option("--nome", o->nome,
                    "nome dello scenario nella cartella (di norma l'unico scenario che contiene)");
    sub->add_option("--treno", o->numero_treno, "numero del treno dello scenario nella cartella");
    sub->add_option("--modello", o->modello,
                    "il modello del treno: locomotiva (di norma, dal numero delle vetture), "
                    "regionale, merci, o un file JSON");
    sub->add_option("--formato", o->formato, "testo (di norma), json o csv")
        ->check(CLI::IsMember({"testo", "json", "csv"}));
    sub->add_option("--tabella", o->tabella,
                    "la tabella del CSV: tratte (di norma), segnali o "
                    "profilo")
        ->check(CLI::IsMember({"tratte", "segnali", "profilo"}));
    sub->add_flag("--profilo", o->profilo, "aggiunge al testo il profilo di velocita' ogni 10 m");
    sub->add_option(
        "-o,--uscita", o->uscita,
        "file da scrivere (sostituito per intero; di norma, o con -, lo standard output)");
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->callback(
        [o, &azione] { azione = [o] { return esegui_marcia(*o, std::cout, std::cerr); }; });
}

} // namespace corvenna
