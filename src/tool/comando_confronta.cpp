#include "tool/comando_confronta.hpp"

#include "base/stato_uscita.hpp"
#include "input/chilometri_guida.hpp"
#include "inspect/confronto_scenari.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/lettura_scenario.hpp"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <ostream>

namespace corvenna {

namespace {

int uso_sbagliato(std::ostream& errori, const std::string& motivo) {
    errori << "scenario: " << motivo << "\nPer l'aiuto: scenario confronta --help\n";
    return stato_uscita::uso_errato;
}

bool descrizione_testo(const std::filesystem::path& p) {
    const std::string nome = p.filename().string();
    return nome.size() > 4 && (nome.ends_with(".txt") || nome.ends_with(".TXT"));
}

// The operands as the two sides: a description followed by another is one side, anything else
// (a directory) one side alone.
std::optional<std::vector<std::vector<std::filesystem::path>>>
lati(const std::vector<std::filesystem::path>& percorsi) {
    std::vector<std::vector<std::filesystem::path>> l;
    for (std::size_t i = 0; i < percorsi.size(); ++i) {
        if (descrizione_testo(percorsi[i])) {
            if (i + 1 >= percorsi.size() || !descrizione_testo(percorsi[i + 1]))
                return std::nullopt;
            l.push_back({percorsi[i], percorsi[i + 1]});
            ++i;
        } else {
            l.push_back({percorsi[i]});
        }
    }
    if (l.size() != 2)
        return std::nullopt;
    return l;
}

// One side read: a directory as ispeziona reads it, or two descriptions compiled. None when
// the compile fails or the set is refused (already said on `errori`).
std::optional<costruzione> carica_lato(const std::vector<std::filesystem::path>& lato,
                                       bool rigoroso, std::ostream& errori) {
    if (lato.size() == 2) {
        std::optional<scenario_caricato> s = carica_descrizioni(lato[0], lato[1], "", "", errori);
        if (!s)
            return std::nullopt;
        return std::move(s->c);
    }
    lettura_scenario lettura(lato);
    const file_scenario file = file_da_opzioni(lato, "", "");
    scenario_caricato s = lettura.carica(file);
    lettura.rilascia();
    if (!lettura.accetta(rigoroso, errori))
        return std::nullopt;
    return std::move(s.c);
}

} // namespace

int esegui_confronta(const opzioni_confronta& o, std::ostream& uscita, std::ostream& errori) {
    const auto l = lati(o.percorsi);
    if (!l)
        return uso_sbagliato(errori, "attesi due scenari: ciascuno una cartella di uno scenario "
                                     "compilato o due descrizioni (LINEA.txt TRENO.txt)");
    std::optional<costruzione> a, b;
    try {
        a = carica_lato((*l)[0], o.rigoroso, errori);
        if (!a)
            return stato_uscita::errori_descrizioni;
        b = carica_lato((*l)[1], o.rigoroso, errori);
        if (!b)
            return stato_uscita::errori_descrizioni;
    } catch (const errore_scelta_scenario& e) {
        return uso_sbagliato(errori, e.what());
    }
    const std::vector<modifica> modifiche = confronta_scenari(*a, *b);
    if (o.formato == "json") {
        using json = nlohmann::ordered_json;
        json elenco = json::array();
        for (const modifica& m : modifiche)
            elenco.push_back({{"gruppo", m.gruppo},
                              {"da_metro", m.metro ? json(*m.metro) : json(nullptr)},
                              {"descrizione", m.descrizione}});
        uscita << json{{"uguali", modifiche.empty()}, {"modifiche", elenco}}.dump(
                      1, '\t', false, json::error_handler_t::replace)
               << "\n";
    } else {
        for (const modifica& m : modifiche)
            uscita << m.descrizione << "\n";
    }
    return modifiche.empty() ? stato_uscita::riuscito : stato_uscita::errori_descrizioni;
}

void aggiungi_confronta(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_confronta>();
    CLI::App* sub = app.add_subcommand(
        "confronta", "dice che cosa cambia dallo scenario A allo scenario B, per elemento e per "
                     "tratto, in metri e in progressiva; stato 0 se uguali, 1 se diversi");
    sub->add_option("SCENARI", o->percorsi,
                    "A e B: ciascuno la cartella di uno scenario compilato o due descrizioni "
                    "(NOME_linea.txt NOME_NUMERO-.txt)")
        ->required();
    sub->add_option("--formato", o->formato, "testo (una riga per modifica) o json")
        ->check(CLI::IsMember({"testo", "json"}));
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->callback(
        [o, &azione] { azione = [o] { return esegui_confronta(*o, std::cout, std::cerr); }; });
}

} // namespace corvenna
