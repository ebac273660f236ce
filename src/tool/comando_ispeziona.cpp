#include "tool/comando_ispeziona.hpp"

#include "tool/file_utente.hpp"

#include "base/stato_uscita.hpp"
#include "input/chilometri_guida.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_curve.hpp"
#include "inspect/ispezione_json.hpp"
#include "inspect/ispezione_risposte.hpp"
#include "inspect/ispezione_tratti.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/lettura_scenario.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <ostream>

namespace corvenna {

namespace {

int uso_errato(std::ostream& errori, const std::string& motivo) {
    errori << "scenario: " << motivo << "\nPer l'aiuto: scenario ispeziona --help\n";
    return stato_uscita::uso_errato;
}

bool ha_domanda(const opzioni_ispeziona& o) {
    return o.al_metro || !o.al_km.empty() || !o.da.empty() || !o.a.empty();
}

// What the query asks, resolved against the scenario: the stretches, or why there are none
// (with the exit status).
struct domanda_risolta {
    std::vector<std::size_t> tratti;
    std::string motivo;
    int stato = stato_uscita::riuscito;
};

double fine_percorso(const ispezione& i) {
    const double celle = 50.0 * static_cast<double>(i.tratti.size());
    const auto percorso = static_cast<double>(i.lunghezza_percorso);
    return percorso > 0 && percorso <= celle ? percorso : celle;
}

std::string metri_testo(double metro) {
    return std::to_string(static_cast<long long>(std::floor(metro)));
}

// A point at the route's end or past it lies on the track laid beyond the route, which is no
// part of the line an author asks about: the question is refused, saying so.
bool oltre_fine(const ispezione& i, double metro, const std::string& punto, domanda_risolta& r) {
    const double fine = fine_percorso(i);
    if (metro < fine)
        return false;
    r.stato = stato_uscita::uso_errato;
    r.motivo = punto + " sta oltre la fine del percorso, lungo " + metri_testo(fine) +
               " m: le domande valgono da 0 a " + metri_testo(fine - 1) + " m";
    return true;
}

// The metres of `lettura` within the route, the end excluded.
std::vector<double> metri_nel_percorso(const ispezione& i, double lettura) {
    std::vector<double> metri = metri_della_progressiva(i.sistemi, lettura, fine_percorso(i));
    std::erase_if(metri, [&](double m) { return m >= fine_percorso(i); });
    return metri;
}

std::string elenco_metri(const std::vector<double>& metri) {
    std::string t;
    for (const double m : metri)
        t += (t.empty() ? "" : ", ") + std::to_string(static_cast<long long>(m));
    return t;
}

// A whole number is a route metre; anything else a driver's kilometre, which must stand at
// one place only to end a stretch.
std::optional<double> estremo(const ispezione& i, const std::string& testo,
                              const std::string& opzione, domanda_risolta& r) {
    long long metri = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), metri);
    if (errore == std::errc{} && fine == testo.data() + testo.size())
        return static_cast<double>(metri);
    const std::optional<double> lettura = leggi_chilometro(testo);
    if (!lettura) {
        r.stato = stato_uscita::uso_errato;
        r.motivo =
            opzione + " " + testo + ": attesi metri (41000) o una progressiva (39+500, 39.5)";
        return std::nullopt;
    }
    const std::vector<double> metri_lettura = metri_nel_percorso(i, *lettura);
    if (metri_lettura.size() == 1)
        return metri_lettura.front();
    r.stato = metri_lettura.empty() ? stato_uscita::errori_descrizioni : stato_uscita::uso_errato;
    r.motivo = metri_lettura.empty()
                   ? "nessun punto del percorso ha la progressiva " + testo_progressiva(*lettura)
                   : "la progressiva " + testo_progressiva(*lettura) + " sta a " +
                         elenco_metri(metri_lettura) + " m: indicare " + opzione + " in metri";
    return std::nullopt;
}

domanda_risolta risolvi(const opzioni_ispeziona& o, const ispezione& i) {
    domanda_risolta r;
    const int tipi =
        (o.al_metro ? 1 : 0) + (o.al_km.empty() ? 0 : 1) + (o.da.empty() && o.a.empty() ? 0 : 1);
    if (tipi > 1) {
        r.stato = stato_uscita::uso_errato;
        r.motivo = "--al-metro, --al-km e --da/--a sono domande diverse: una alla volta";
        return r;
    }
    if (o.al_metro) {
        if (oltre_fine(i, *o.al_metro, "il metro " + metri_testo(*o.al_metro), r))
            return r;
        if (const auto k = tratto_al_metro(i, *o.al_metro))
            r.tratti.push_back(*k);
        else {
            r.stato = stato_uscita::errori_descrizioni;
            r.motivo = "il metro " + std::to_string(static_cast<long long>(*o.al_metro)) +
                       " e' fuori dalle celle (da 0 a " + std::to_string(50 * i.tratti.size()) +
                       " m)";
        }
        return r;
    }
    if (!o.al_km.empty()) {
        const std::optional<double> lettura = leggi_chilometro(o.al_km);
        if (!lettura) {
            r.stato = stato_uscita::uso_errato;
            r.motivo = "--al-km " + o.al_km + ": atteso un chilometro come 42.3 o 42+300";
            return r;
        }
        for (const double metro : metri_nel_percorso(i, *lettura))
            if (const auto k = tratto_al_metro(i, metro);
                k && std::find(r.tratti.begin(), r.tratti.end(), *k) == r.tratti.end())
                r.tratti.push_back(*k);
        if (r.tratti.empty()) {
            r.stato = stato_uscita::errori_descrizioni;
            r.motivo = "nessun punto del percorso ha la progressiva " +
                       testo_progressiva(*lettura) + " (i cartelli leggono:";
            for (const tratto_progressiva& t : tratti_progressiva(i.sistemi, fine_percorso(i)))
                r.motivo +=
                    " da " + testo_progressiva(progressiva_al_metro(i.sistemi, t.inizio)) + " a " +
                    testo_progressiva(t.sistema
                                          ? (t.sistema->decrescente
                                                 ? static_cast<double>(t.sistema->offset) - t.fine
                                                 : static_cast<double>(t.sistema->offset) + t.fine)
                                          : t.fine) +
                    " tra " + std::to_string(static_cast<long long>(t.inizio)) + " e " +
                    std::to_string(static_cast<long long>(t.fine)) + " m;";
            r.motivo.back() = ')';
        }
        return r;
    }
    std::optional<double> da = 0.0;
    std::optional<double> a = fine_percorso(i) - 1;
    if (!o.da.empty())
        da = estremo(i, o.da, "--da", r);
    if (da && !o.a.empty())
        a = estremo(i, o.a, "--a", r);
    if (!da || !a)
        return r;
    if (oltre_fine(i, *da, "--da " + o.da, r) || oltre_fine(i, *a, "--a " + o.a, r))
        return r;
    r.tratti = tratti_tra(i, *da, *a);
    if (r.tratti.empty()) {
        r.stato = stato_uscita::errori_descrizioni;
        r.motivo = "nessuna cella tra i due estremi";
    }
    return r;
}

void scrivi_rapporto(std::ostream& uscita, const opzioni_ispeziona& o, const std::string& formato,
                     const scenario_caricato& s, std::string_view a_capo) {
    if (!ha_domanda(o) && formato == "json") {
        scrivi_json(uscita, s.c, a_capo, s.fonti, s.curve);
        return;
    }
    if (formato == "csv" && !o.tabella.empty() && o.tabella != "tratti" && o.tabella != "curve") {
        scrivi_csv(uscita, s.c, *tabella_di_nome(o.tabella), a_capo);
        return;
    }
    ispezione i = ispeziona_tratti(s.c, s.fonti);
    aggiungi_curve(i, s.c, s.curve);
    if (formato == "csv" && o.tabella == "curve") {
        scrivi_curve_csv(uscita, i, a_capo);
        return;
    }
    std::vector<std::size_t> scelti;
    if (ha_domanda(o))
        scelti = risolvi(o, i).tratti;
    else
        for (std::size_t k = 0; k < i.tratti.size(); ++k)
            scelti.push_back(k);
    if (formato == "csv")
        scrivi_risposte_csv(uscita, i, scelti, a_capo);
    else if (formato == "json")
        scrivi_risposte_json(uscita, s.c, i, scelti, a_capo);
    else
        scrivi_risposte_testo(uscita, i, scelti, a_capo);
}

} // namespace

int esegui_ispeziona(const opzioni_ispeziona& o, std::ostream& uscita, std::ostream& errori) {
    const std::string formato = !o.formato.empty() ? o.formato : ha_domanda(o) ? "testo" : "json";
    if (formato != "csv" && !o.tabella.empty())
        return uso_errato(errori, "--tabella vale solo con --formato csv");
    if (ha_domanda(o) && !o.tabella.empty() && o.tabella != "tratti")
        return uso_errato(errori, "una domanda risponde con i tratti: --tabella " + o.tabella +
                                      " vale solo per tutto lo scenario");

    std::optional<scenario_caricato> caricato;
    std::vector<std::filesystem::path> letti;
    if (sono_descrizioni(o.percorsi)) {
        try {
            caricato =
                carica_descrizioni(o.percorsi[0], o.percorsi[1], o.nome, o.numero_treno, errori);
        } catch (const errore_scelta_scenario& e) {
            return uso_errato(errori, e.what());
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
            return uso_errato(errori, e.what());
        }
        letti = file_letti(file);
    }
    const bool su_file = o.uscita && *o.uscita != uscita_standard;
    if (su_file) {
        try {
            controlla_destinazione(*o.uscita, "-o", letti);
        } catch (const errore_destinazione& e) {
            return uso_errato(errori, e.what());
        }
    }
    if (!caricato) {
        caricato = lettura->carica(file);
        lettura->rilascia();
        if (!lettura->accetta(o.rigoroso, errori))
            return stato_uscita::file_danneggiato;
        if (formato == "csv" && (o.tabella == "planimetria" || o.tabella == "curve") &&
            !file.planimetria)
            errori << "scenario: lo scenario non ha il file della planimetria: la tabella e' "
                      "vuota\n";
    }
    const scenario_caricato& s = *caricato;

    // A query that finds nothing says why, and writes nothing.
    if (ha_domanda(o)) {
        const domanda_risolta r = risolvi(o, ispeziona_tratti(s.c));
        if (r.stato == stato_uscita::uso_errato)
            return uso_errato(errori, r.motivo);
        if (r.stato != stato_uscita::riuscito) {
            errori << "scenario: " << r.motivo << "\n";
            return r.stato;
        }
    }

    // A file gets the line ends of the files the programs write; standard output those of the
    // platform, which its text stream adds.
    if (su_file)
        scrivi_file_utente(*o.uscita, [&](std::ostream& destinazione) {
            scrivi_rapporto(destinazione, o, formato, s, "\r\n");
        });
    else
        scrivi_rapporto(uscita, o, formato, s, "\n");
    return stato_uscita::riuscito;
}

void aggiungi_ispeziona(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_ispeziona>();
    CLI::App* sub = app.add_subcommand(
        "ispeziona", "mostra uno scenario compilato, o risponde su un punto o un tratto: la "
                     "velocita' del treno, la pendenza, gli elementi, al metro o al chilometro");
    sub->add_option("PERCORSI", o->percorsi,
                    "la cartella dello scenario, o i suoi file: NOME_NUMERO.sim, "
                    "NOME_NUMERO.dat e, se c'e', NOME_linea.dat; oppure le due descrizioni "
                    "(NOME_linea.txt NOME_NUMERO-.txt), compilate in memoria")
        ->required();
    sub->add_option("--nome", o->nome,
                    "nome dello scenario nella cartella (di norma l'unico scenario che contiene)");
    sub->add_option("--treno", o->numero_treno, "numero del treno dello scenario nella cartella");
    sub->add_option("--al-metro", o->al_metro, "il tratto di 50 m che contiene questo metro");
    sub->add_option("--al-km", o->al_km,
                    "i tratti dove i cartelli leggono questa progressiva (42.3 o 42+300)");
    sub->add_option("--da", o->da,
                    "inizio di un tratto: metri (41000) o progressiva (39+500, 39.5)");
    sub->add_option("--a", o->a, "fine di un tratto: metri o progressiva");
    sub->add_option("--formato", o->formato,
                    "testo (una riga per tratto; per una domanda), json (per tutto lo "
                    "scenario) o csv")
        ->check(CLI::IsMember({"testo", "json", "csv"}));
    sub->add_option("--tabella", o->tabella,
                    "la tabella del CSV: tratti (di norma), voci, celle, planimetria o curve")
        ->check(CLI::IsMember({"tratti", "voci", "celle", "planimetria", "curve"}));
    sub->add_option(
        "-o,--uscita", o->uscita,
        "file da scrivere (sostituito per intero; di norma, o con -, lo standard output)");
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->callback(
        [o, &azione] { azione = [o] { return esegui_ispeziona(*o, std::cout, std::cerr); }; });
}

} // namespace corvenna
