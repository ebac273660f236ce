#include "tool/comando_disegna.hpp"

#include "base/codifica_1252.hpp"
#include "base/stato_uscita.hpp"
#include "drawing/disegno_pagina.hpp"
#include "drawing/disegno_testo.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/comando_marcia.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/file_utente.hpp"
#include "tool/identita_da_nomi.hpp"
#include "tool/ingresso_descrizione.hpp"
#include "tool/lettura_scenario.hpp"
#include "tool/origini_descrizioni.hpp"
#include "tool/sorveglia.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <system_error>
#include <tuple>

namespace corvenna {

namespace {

// A kilometre figure of the command line in metres: digits with one optional decimal point or
// comma; std::nullopt for anything else.
std::optional<double> metri_da_km(std::string testo) {
    std::replace(testo.begin(), testo.end(), ',', '.');
    if (testo.empty() || testo.find_first_not_of("0123456789.") != std::string::npos ||
        std::count(testo.begin(), testo.end(), '.') > 1 || testo == ".")
        return std::nullopt;
    return std::stod(testo) * 1000;
}

// The page's default name: the identity's plain characters, as NOME_NUMERO.html.
std::filesystem::path nome_pagina(const costruzione& c) {
    std::string nome = c.nome_scenario + "_" + c.numero_treno;
    for (char& x : nome)
        if (!(std::isalnum(static_cast<unsigned char>(x)) || x == '_' || x == '-' || x == '.'))
            x = '_';
    return nome + ".html";
}

void scrivi_pagina(const opzioni_disegna& o, const std::string& pagina, const costruzione& c,
                   const std::vector<std::filesystem::path>& letti) {
    if (o.uscita == uscita_standard) {
        std::cout.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
        return;
    }
    // The name comes from the identity the files carry, which may hold any byte: only its
    // plain characters make the default name, which is checked as a given one is.
    std::filesystem::path destinazione = o.uscita;
    if (destinazione.empty()) {
        destinazione = nome_pagina(c);
        controlla_destinazione(destinazione, "la pagina", letti);
    }
    scrivi_file_utente(destinazione, [&pagina](std::ostream& uscita) {
        uscita.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
    });
}

// The range of the command line against the route: refused when it lies past the route's end,
// told when its end is clipped to the route's. The status to end with, when refused.
std::optional<int> vista_rifiutata(const opzioni_disegna& o, const opzioni_pagina& pagina_o,
                                   const costruzione& c, std::ostream& errori) {
    if (!pagina_o.da_metro && !pagina_o.a_metro)
        return std::nullopt;
    const double fine = fine_vista_metri(c);
    if (!vista_iniziale(c, pagina_o)) {
        if (pagina_o.da_metro)
            errori << "scenario: --da " << o.da_km << ": oltre la fine del percorso, lungo "
                   << km_testo(fine) << " km\n";
        else
            errori << "scenario: --a " << o.a_km << ": la vista non avrebbe lunghezza\n";
        errori << "Per l'aiuto: scenario disegna --help\n";
        return stato_uscita::uso_errato;
    }
    if (pagina_o.a_metro && *pagina_o.a_metro > fine)
        errori << "scenario: --a " << o.a_km << ": oltre la fine del percorso, lungo "
               << km_testo(fine) << " km: la vista si ferma a km " << km_testo(fine) << '\n';
    return std::nullopt;
}

// The dry run the page draws, of the model --modello names; none without the option, or when
// the model is refused (the reason in `motivo`).
std::optional<esito_marcia> marcia_pagina(const opzioni_disegna& o, const costruzione& c,
                                          std::string& motivo) {
    if (o.modello.empty())
        return std::nullopt;
    const std::optional<modello_treno> m = modello_da_opzione(o.modello, c, motivo);
    if (!m)
        return std::nullopt;
    return marcia(c, *m);
}

int modello_rifiutato(const std::string& motivo, std::ostream& errori) {
    errori << "scenario: " << motivo << "\nPer l'aiuto: scenario disegna --help\n";
    return stato_uscita::uso_errato;
}

// The page of a line and a train description: compiled in memory with the plan view, the
// diagnostics shown as `controlla` shows them, and nothing drawn when the compile fails.
int disegna_descrizioni(const opzioni_disegna& o, opzioni_pagina pagina_o, std::ostream& errori) {
    const std::filesystem::path& linea = o.percorsi[0];
    const std::filesystem::path& treno = o.percorsi[1];
    const std::optional<identita_scenario> identita =
        identita_scelta(linea, treno, o.nome, o.numero_treno);
    if (!identita) {
        errori << "scenario: i nomi dei file non danno il nome dello scenario e il numero "
                  "del treno (NOME_linea.txt, NOME_NUMERO-.txt): indicare --nome e --treno\n"
                  "Per l'aiuto: scenario disegna --help\n";
        return stato_uscita::uso_errato;
    }
    if (const auto motivo = identita_non_valida(*identita)) {
        errori << "scenario: " << *motivo << "\nPer l'aiuto: scenario disegna --help\n";
        return stato_uscita::uso_errato;
    }
    if (o.uscita != uscita_standard && !o.uscita.empty())
        controlla_destinazione(o.uscita, "-o", o.percorsi);

    file_mostrati mostrati;
    sorgente_memoria sorgente;
    elenco_diagnostiche conversione;
    for (const descrizione d : {descrizione::linea, descrizione::treno}) {
        const std::filesystem::path& percorso = d == descrizione::linea ? linea : treno;
        testo_convertito t = testo_in_1252(leggi_file_intero(percorso));
        mostrati[d] = {percorso.string(), da_1252(t.testo)};
        if (auto errore = diagnostica_conversione(t, d))
            conversione.push_back(std::move(*errore));
        sorgente.testi[d] = std::move(t.testo);
    }
    if (!conversione.empty()) {
        stampa_diagnostiche(conversione, mostrati, forma_diagnostiche::testo, std::cout, errori);
        return stato_uscita::errori_descrizioni;
    }
    scenario_costruito s = costruisci_scenario(sorgente, *identita, 1);
    const bool riuscito = s.riuscito();
    const elenco_diagnostiche diagnostiche = completa_diagnostiche(s);
    if (!diagnostiche.empty()) {
        const conteggio_diagnostiche conteggio = stampa_diagnostiche(
            diagnostiche, mostrati, forma_diagnostiche::testo, std::cout, errori);
        if (conteggio.errori > 0)
            return stato_uscita::errori_descrizioni;
    }
    if (!riuscito)
        return stato_uscita::errori_descrizioni;
    if (const auto stato = vista_rifiutata(o, pagina_o, s.c, errori))
        return *stato;
    const origini_disegno origini = origini_descrizioni(s.righe);
    pagina_o.origini = &origini;
    std::string motivo;
    const std::optional<esito_marcia> marcia = marcia_pagina(o, s.c, motivo);
    if (!motivo.empty())
        return modello_rifiutato(motivo, errori);
    pagina_o.marcia = marcia ? &*marcia : nullptr;
    scrivi_pagina(o, pagina_disegno(s.c, pagina_o), s.c, o.percorsi);
    return stato_uscita::riuscito;
}

} // namespace

int esegui_disegna(const opzioni_disegna& o, std::ostream& errori) {
    opzioni_pagina pagina_o;
    for (const auto& [testo, metri, nome] : {std::tuple{&o.da_km, &pagina_o.da_metro, "--da"},
                                             std::tuple{&o.a_km, &pagina_o.a_metro, "--a"}}) {
        if (testo->empty())
            continue;
        *metri = metri_da_km(*testo);
        if (!*metri) {
            errori << "scenario: " << nome << " " << *testo
                   << ": atteso un chilometro del percorso, come 40 o 40,5\n"
                      "Per l'aiuto: scenario disegna --help\n";
            return stato_uscita::uso_errato;
        }
    }
    if (pagina_o.da_metro && pagina_o.a_metro && *pagina_o.a_metro <= *pagina_o.da_metro) {
        errori << "scenario: --a " << o.a_km << " non e' oltre --da " << o.da_km
               << "\nPer l'aiuto: scenario disegna --help\n";
        return stato_uscita::uso_errato;
    }
    if (sono_descrizioni(o.percorsi))
        return disegna_descrizioni(o, pagina_o, errori);

    lettura_scenario lettura(o.percorsi);
    const file_scenario file = file_da_opzioni(o.percorsi, o.nome, o.numero_treno);
    if (o.uscita != uscita_standard && !o.uscita.empty())
        controlla_destinazione(o.uscita, "-o", file_letti(file));
    const costruzione c = lettura.carica(file).c;
    lettura.rilascia();
    if (!lettura.accetta(o.rigoroso, errori))
        return stato_uscita::file_danneggiato;
    if (const auto stato = vista_rifiutata(o, pagina_o, c, errori))
        return *stato;
    std::string motivo;
    const std::optional<esito_marcia> marcia = marcia_pagina(o, c, motivo);
    if (!motivo.empty())
        return modello_rifiutato(motivo, errori);
    pagina_o.marcia = marcia ? &*marcia : nullptr;
    scrivi_pagina(o, pagina_disegno(c, pagina_o), c, file_letti(file));
    return stato_uscita::riuscito;
}

int disegna_sorvegliando(const opzioni_disegna& o, std::ostream& errori) {
    if (o.uscita == uscita_standard) {
        errori << "scenario: --watch scrive la pagina in un file: indica -o FILE.html, non -\n"
                  "Per l'aiuto: scenario disegna --help\n";
        return stato_uscita::uso_errato;
    }
    // The files a run reads: the two descriptions, or the compiled scenario's files.
    const std::vector<std::filesystem::path> letti =
        sono_descrizioni(o.percorsi)
            ? o.percorsi
            : file_letti(file_da_opzioni(o.percorsi, o.nome, o.numero_treno));
    const auto pagina = o.uscita.empty() ? std::filesystem::path() : o.uscita;
    int giro = 0;
    return esegui_sorvegliando(
        letti,
        [&] {
            const int stato = esegui_disegna(o, errori);
            if (stato == stato_uscita::riuscito)
                errori << "scenario: pagina disegnata" << (++giro > 1 ? " di nuovo" : "")
                       << (pagina.empty() ? std::string() : ": " + pagina.string()) << '\n';
            return stato;
        },
        errori);
}

void aggiungi_disegna(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_disegna>();
    CLI::App* sub = app.add_subcommand(
        "disegna", "disegna uno scenario in una pagina HTML: planimetria, profilo, orario; "
                   "dallo scenario compilato o dalle due descrizioni");
    sub->add_option("CARTELLA|FILE", o->percorsi,
                    "la cartella dello scenario compilato, o i suoi file, o le due descrizioni "
                    "(LINEA.txt TRENO.txt, compilate in memoria)")
        ->required();
    sub->add_option("--nome", o->nome, "nome dello scenario da cercare nella cartella");
    sub->add_option("--treno", o->numero_treno, "numero del treno da cercare nella cartella");
    sub->add_option(
        "-o,--uscita", o->uscita,
        "file della pagina (di norma NOME_NUMERO.html nella cartella corrente; - per lo "
        "standard output)");
    sub->add_option("--modello", o->modello,
                    "disegna anche la marcia a vuoto di questo modello di treno (locomotiva, "
                    "regionale, merci, o un file JSON)");
    sub->add_option("--da", o->da_km,
                    "km del percorso (distanza dall'origine) da cui si apre la vista, prima "
                    "della fine del percorso");
    sub->add_option("--a", o->a_km,
                    "km del percorso a cui si chiude la vista (oltre la fine: la fine)");
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->add_flag("--watch", o->sorveglia,
                  "disegna di nuovo a ogni salvataggio dei file letti, fino a Ctrl-C");
    sub->callback([o, &azione] {
        azione = [o] {
            return o->sorveglia ? disegna_sorvegliando(*o, std::cerr)
                                : esegui_disegna(*o, std::cerr);
        };
    });
}

} // namespace corvenna
