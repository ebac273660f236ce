#include "tool/comando_compila.hpp"

#include "base/codifica_1252.hpp"
#include "base/stato_uscita.hpp"
#include "checking/controllo_descrizioni.hpp"
#include "checking/politica_avvisi.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "format/nomi_file.hpp"
#include "inspect/fatti_linea.hpp"
#include "output/file_binari.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/insieme_file.hpp"
#include "running/diagnostiche_marcia.hpp"
#include "running/marcia_treno.hpp"
#include "scenario/documenti_compilati.hpp"
#include "tool/comando_marcia.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/identita_da_nomi.hpp"
#include "tool/ingresso_descrizione.hpp"
#include "tool/ingresso_standard.hpp"
#include "tool/sorveglia.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <CLI/CLI.hpp>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>

namespace corvenna {

namespace {

// The identity from the options, completed from the file names where an option is missing.
std::optional<identita_scenario> identita_per(const opzioni_compila& o) {
    return identita_scelta(o.linea, o.treno, o.nome, o.numero_treno);
}

// A description as the compile reads it, or the diagnostic of a character it cannot hold.
std::string testo_compilabile(const std::filesystem::path& percorso, descrizione d,
                              file_mostrati& mostrati, elenco_diagnostiche& diagnostiche) {
    const std::string byte_file = leggi_descrizione(percorso);
    testo_convertito t = testo_in_1252(byte_file);
    file_mostrato& m = mostrati[d];
    m.nome = percorso.string();
    m.testo_utf8 = da_1252(t.testo);
    if (auto errore = diagnostica_conversione(t, d))
        diagnostiche.push_back(std::move(*errore));
    return std::move(t.testo);
}

// The files of the set `compila` writes: the binary files, and the documents unless left out.
std::vector<file_uscita> file_scritti(const opzioni_compila& o) {
    std::vector<file_uscita> file{file_uscita::planimetria, file_uscita::voci, file_uscita::celle};
    if (!o.senza_documenti)
        file.insert(file.end(),
                    {file_uscita::scheda_treno, file_uscita::rallentamenti, file_uscita::note});
    return file;
}

// The author's notes file: the one given, or NOME_note.txt beside the train description when it
// exists; none for a description read from the standard input.
std::optional<std::filesystem::path> file_note(const opzioni_compila& o,
                                               const identita_scenario& identita) {
    if (o.senza_documenti)
        return std::nullopt;
    if (o.note)
        return o.note;
    if (e_ingresso_standard(o.treno))
        return std::nullopt;
    std::filesystem::path accanto = o.treno.parent_path() / (identita.nome_scenario + "_note.txt");
    std::error_code errore;
    if (std::filesystem::exists(accanto, errore))
        return accanto;
    return std::nullopt;
}

// Why writing the set would replace one of the files the command reads (under whatever name or
// link it is reached), or std::nullopt when it would not.
std::optional<std::string> descrizione_sostituita(const opzioni_compila& o,
                                                  const identita_scenario& identita) {
    costruzione c;
    c.nome_scenario = identita.nome_scenario;
    c.numero_treno = identita.numero_treno;
    std::vector<std::filesystem::path> letti{o.linea, o.treno};
    if (const auto note = file_note(o, identita))
        letti.push_back(*note);
    for (const file_uscita f : file_scritti(o)) {
        const std::filesystem::path scritto = percorso_file(o.cartella, c, f);
        if (const auto letto = stesso_file_di(scritto, letti))
            return "il file da scrivere " + scritto.string() + " e' " +
                   (*letto == letti.back() && letti.size() > 2 ? "il file delle note "
                                                               : "la descrizione ") +
                   letto->string() +
                   ", che il comando legge: indicare un'altra cartella (-o) o un'altra identita' "
                   "(--nome, --treno)";
    }
    return std::nullopt;
}

// The author's notes as lines of UTF-8 text, read as a description is (Windows-1252, or UTF-8
// and UTF-16 converted); std::nullopt, with the reason on `errori`, for a character that has no
// place in Windows-1252.
std::optional<std::vector<std::string>> leggi_note(const std::filesystem::path& percorso,
                                                   std::ostream& errori) {
    const testo_convertito t = testo_in_1252(leggi_file_intero(percorso));
    if (t.fallito) {
        errori << "scenario: " << percorso.string() << ":" << t.fallito->riga << ":"
               << t.fallito->colonna << ": errore: " << t.fallito->messaggio << "\n";
        return std::nullopt;
    }
    const std::string testo = da_1252(t.testo);
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        std::size_t fine = testo.find('\n', inizio);
        if (fine == std::string::npos)
            fine = testo.size();
        std::string riga = testo.substr(inizio, fine - inizio);
        if (!riga.empty() && riga.back() == '\r')
            riga.pop_back();
        righe.push_back(std::move(riga));
        inizio = fine + 1;
    }
    return righe;
}

// The compiled scenario replaces the earlier one of its name as a whole: a plan view left from
// an earlier compile goes when this one has none, so that no reader takes it for this
// scenario's.
//
// The driver's documents, when they are written, belong to the same set: a failure or a kill
// leaves the earlier documents with the earlier binary files.
void scrivi_file_binari(const std::filesystem::path& cartella, const costruzione& c,
                        const std::optional<opzioni_documenti>& documenti, std::ostream& errori) {
    std::filesystem::create_directories(cartella);
    cartella_bloccata uscita(cartella);
    const std::array<std::string, 6> nomi{
        nome_file(c, file_uscita::planimetria),   nome_file(c, file_uscita::voci),
        nome_file(c, file_uscita::celle),         nome_file(c, file_uscita::scheda_treno),
        nome_file(c, file_uscita::rallentamenti), nome_file(c, file_uscita::note)};
    uscita.rimuovi_temporanei(nomi);
    insieme_file scenario(uscita);
    scrivi_scenario(scenario, c);
    if (documenti)
        scrivi_documenti_compilati(scenario, c, fatti_di(c), *documenti);
    const bool planimetria_superata = c.genera_planimetria == 0 && uscita.esiste(nomi[0]);
    if (planimetria_superata)
        scenario.cancella(nomi[0]);
    scenario.conferma();
    uscita.sincronizza();
    if (planimetria_superata)
        errori << "scenario: " << uscita.percorso(nomi[0]).string()
               << " rimosso: era la planimetria di una compilazione precedente e questa non ne "
                  "ha\n";
}

void opzioni_comuni(CLI::App& sub, opzioni_compila& o) {
    sub.add_option("LINEA", o.linea, "descrizione della linea")->required();
    sub.add_option("TRENO", o.treno, "descrizione del treno")->required();
    sub.add_option("--nome", o.nome,
                   "nome dello scenario (di norma dal nome del file NOME_linea.txt)");
    sub.add_option("--treno", o.numero_treno,
                   "numero del treno (di norma dal nome del file NOME_NUMERO-.txt)");
    sub.add_option_function<std::string>(
           "--diagnostica", [&o](const std::string& forma) { o.forma = forma_di_nome(forma); },
           "forma delle diagnostiche: testo (su stderr), json o sarif (su stdout)")
        ->check(CLI::IsMember({"testo", "json", "sarif"}));
    sub.add_flag("--avvisi-come-errori", o.avvisi_come_errori, "tratta ogni avviso come errore");
    sub.add_option("--modello", o.modello,
                   "controlla l'orario e i segnali anche con la marcia di questo modello di treno "
                   "(locomotiva, regionale, merci, o un file JSON)");
    sub.add_option("--consenti", o.consentiti,
                   "accetta l'avviso NOME (ripetibile): uno che di norma e' un errore resta un "
                   "avviso, con il risultato del generatore; gli altri non sono mostrati")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub.add_option("--vieta", o.vietati, "tratta l'avviso NOME come errore (ripetibile)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

} // namespace

namespace {

// The card's `Rec` column from the dry run of the model `valore_modello` names: for each station
// with a time after the first, in running order, the margin in minutes of the section that ends
// there; NaN (a blank cell) where the run has no section ending at that station (a station with a
// time but no stop cell is passed). None without a model.
std::optional<std::vector<double>> margini_scheda(const std::string& valore_modello,
                                                  const costruzione& c) {
    if (valore_modello.empty())
        return std::nullopt;
    std::string motivo;
    const std::optional<modello_treno> m = modello_da_opzione(valore_modello, c, motivo);
    if (!m)
        return std::nullopt;
    const std::vector<tratta_marcia> tratte = tratte_con_margini(c, *m);
    std::vector<double> margini;
    bool prima = true;
    for (const stazione_linea& st : fatti_di(c).stazioni) {
        if (!st.orario_s)
            continue;
        if (prima) {
            prima = false;
            continue;
        }
        double margine = std::numeric_limits<double>::quiet_NaN();
        for (const tratta_marcia& t : tratte)
            if (t.voce_a == st.voce && t.minimo_s)
                margine = t.margine_s / 60;
        margini.push_back(margine);
    }
    return margini;
}

} // namespace

int esegui_compila(const opzioni_compila& o, std::ostream& uscita, std::ostream& errori) {
    const std::optional<identita_scenario> identita = identita_per(o);
    if (!identita) {
        errori << "scenario: i nomi dei file non danno il nome dello scenario e il numero del "
                  "treno (NOME_linea.txt, NOME_NUMERO-.txt): indicare --nome e --treno\n"
                  "Per l'aiuto: scenario "
               << (o.scrivi ? "compila" : "controlla") << " --help\n";
        return stato_uscita::uso_errato;
    }
    if (const auto motivo = identita_non_valida(*identita)) {
        errori << "scenario: " << *motivo << "\nPer l'aiuto: scenario "
               << (o.scrivi ? "compila" : "controlla") << " --help\n";
        return stato_uscita::uso_errato;
    }
    if (e_ingresso_standard(o.linea) && e_ingresso_standard(o.treno)) {
        errori << "scenario: solo una delle due descrizioni puo' venire dallo standard input (-)\n"
                  "Per l'aiuto: scenario controlla --help\n";
        return stato_uscita::uso_errato;
    }
    for (const auto& [nomi, consenti] :
         {std::pair{&o.consentiti, true}, std::pair{&o.vietati, false}})
        for (const std::string& nome : *nomi)
            if (const auto motivo = nome_non_accettato(nome, consenti)) {
                errori << "scenario: " << (consenti ? "--consenti" : "--vieta") << ": "
                       << testo_mostrabile(*motivo, true) << "\nPer l'aiuto: scenario "
                       << (o.scrivi ? "compila" : "controlla") << " --help\n";
                return stato_uscita::uso_errato;
            }
    if (o.note && o.senza_documenti) {
        errori << "scenario: --note e --senza-documenti insieme: le note sono uno dei documenti "
                  "che --senza-documenti non scrive\nPer l'aiuto: scenario compila --help\n";
        return stato_uscita::uso_errato;
    }
    if (const auto motivo = o.scrivi ? descrizione_sostituita(o, *identita) : std::nullopt) {
        errori << "scenario: " << *motivo << "\nPer l'aiuto: scenario compila --help\n";
        return stato_uscita::uso_errato;
    }

    elenco_diagnostiche conversione;
    file_mostrati mostrati;
    sorgente_memoria sorgente;
    // Kept apart: the compile deletes each description from its source once read.
    const std::string testo_linea =
        testo_compilabile(o.linea, descrizione::linea, mostrati, conversione);
    const std::string testo_treno =
        testo_compilabile(o.treno, descrizione::treno, mostrati, conversione);
    sorgente.testi[descrizione::linea] = testo_linea;
    sorgente.testi[descrizione::treno] = testo_treno;

    // A text that could not be converted is not compiled: its bytes would not be the author's.
    std::unique_ptr<scenario_costruito> s;
    elenco_diagnostiche diagnostiche = conversione;
    if (conversione.empty()) {
        s = std::make_unique<scenario_costruito>(
            costruisci_scenario(sorgente, *identita, o.senza_planimetria ? 0 : 1));
        // The checking pass adds what the compile does not say (its faults after the first
        // error, what it reads otherwise than written), in file order.
        diagnostiche = controlla_descrizioni(testo_linea, testo_treno, o.senza_planimetria ? 0 : 1,
                                             completa_diagnostiche(*s));
        std::string motivo;
        aggiungi_in_ordine(diagnostiche,
                           diagnostiche_di_marcia(o.modello, *s, testo_linea, testo_treno, motivo));
        if (!motivo.empty()) {
            errori << "scenario: " << motivo << "\nPer l'aiuto: scenario "
                   << (o.scrivi ? "compila" : "controlla") << " --help\n";
            return stato_uscita::uso_errato;
        }
    }
    politica_avvisi politica;
    politica.consentiti.insert(o.consentiti.begin(), o.consentiti.end());
    politica.vietati.insert(o.vietati.begin(), o.vietati.end());
    politica.avvisi_come_errori = o.avvisi_come_errori;
    applica_politica(diagnostiche, politica);

    const conteggio_diagnostiche conteggio =
        stampa_diagnostiche(diagnostiche, mostrati, o.forma, uscita, errori);
    if (conteggio.errori > 0 || !s || !s->riuscito())
        return stato_uscita::errori_descrizioni;
    if (!o.scrivi)
        return stato_uscita::riuscito;
    std::optional<opzioni_documenti> documenti;
    if (!o.senza_documenti) {
        documenti.emplace();
        documenti->margini_min = o.margini_min ? o.margini_min : margini_scheda(o.modello, s->c);
        if (const auto note = file_note(o, *identita)) {
            auto righe = leggi_note(*note, errori);
            if (!righe)
                return stato_uscita::errori_descrizioni;
            documenti->note_autore = std::move(*righe);
        }
    }
    scrivi_file_binari(o.cartella, s->c, documenti, errori);
    return stato_uscita::riuscito;
}

void aggiungi_compila(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_compila>();
    CLI::App* sub = app.add_subcommand(
        "compila", "compila una descrizione della linea e una del treno nei tre file binari");
    opzioni_comuni(*sub, *o);
    sub->add_option("-o,--cartella", o->cartella,
                    "cartella dei file binari (di norma la cartella corrente)");
    sub->add_flag("--senza-planimetria", o->senza_planimetria,
                  "non costruisce ne' scrive la planimetria");
    sub->add_flag("--senza-documenti", o->senza_documenti,
                  "scrive i soli file binari, senza la scheda treno, l'ordine di rallentamento e "
                  "le note");
    sub->add_option("--note", o->note,
                    "il testo dell'autore da aggiungere alle note (di norma NOME_note.txt nella "
                    "cartella della descrizione del treno, se c'e')");
    sub->callback(
        [o, &azione] { azione = [o] { return esegui_compila(*o, std::cout, std::cerr); }; });
}

void aggiungi_controlla(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_compila>();
    o->scrivi = false;
    CLI::App* sub = app.add_subcommand(
        "controlla", "compila le due descrizioni e ne riporta gli errori, senza scrivere nulla");
    opzioni_comuni(*sub, *o);
    sub->add_flag(
        "--watch", o->sorveglia,
        "ricontrolla a ogni salvataggio di una delle due descrizioni (Ctrl-C per finire)");
    sub->callback([o, &azione] {
        azione = [o] {
            return o->sorveglia ? controlla_sorvegliando(*o, std::cout, std::cerr)
                                : esegui_compila(*o, std::cout, std::cerr);
        };
    });
}

} // namespace corvenna
