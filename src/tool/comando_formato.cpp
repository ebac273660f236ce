#include "tool/comando_formato.hpp"

#include "base/stato_uscita.hpp"
#include "description/formato_descrizioni.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "tool/parola_vicina.hpp"
#include "tool/testo_formato.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

namespace corvenna {

std::vector<std::string> nomi_formato() {
    std::vector<std::string> nomi;
    for (const parola_chiave_formato& p : parole_chiave_formato())
        nomi.emplace_back(p.parola);
    for (const rimando_formato& r : rimandi_formato())
        nomi.emplace_back(r.parola);
    for (const sezione_formato& s : sezioni_formato()) {
        std::string nome(s.nome.substr(1, s.nome.size() - 2));
        if (std::find(nomi.begin(), nomi.end(), nome) == nomi.end())
            nomi.push_back(std::move(nome));
    }
    return nomi;
}

namespace {

// What the word names: the keyword of that name; else the sections of that name (in both
// descriptions); else the keyword or rule an author's word leads to; else the keywords a
// keyword field written so would apply.
std::string riferimento_di(const std::string& parola, stile_formato stile) {
    if (const parola_chiave_formato* p = parola_chiave_di(parola))
        return riferimento_parola_chiave(*p, stile);
    std::string t;
    for (descrizione file : {descrizione::linea, descrizione::treno})
        if (const sezione_formato* s = sezione_di(file, parola))
            t += (t.empty() ? "" : "\n") + riferimento_sezione(*s, stile);
    if (!t.empty())
        return t;
    if (const rimando_formato* r = rimando_di(parola))
        return riferimento_rimando(*r, stile);
    for (descrizione file : {descrizione::linea, descrizione::treno})
        for (bool in_generale : {true, false}) {
            if (file == descrizione::treno && in_generale)
                continue;
            for (const parola_chiave_formato* p : parole_corrispondenti(file, parola, in_generale))
                t += (t.empty() ? "" : "\n") + riferimento_parola_chiave(*p, stile);
        }
    return t;
}

} // namespace

int esegui_formato(const std::string& parola, bool markdown, std::ostream& uscita,
                   std::ostream& errori) {
    const stile_formato stile = markdown ? stile_formato::markdown : stile_formato::testo;
    if (parola.empty()) {
        uscita << riferimento_completo(stile);
        return stato_uscita::riuscito;
    }
    const std::string testo = riferimento_di(parola, stile);
    if (testo.empty()) {
        errori << "scenario: '" << testo_mostrabile(parola, true)
               << "' non e' una parola chiave ne' una sezione delle descrizioni";
        const std::vector<std::string> nomi = nomi_formato();
        if (const auto vicina = parola_vicina(parola, nomi))
            errori << "; forse intendevi '" << *vicina << "'?";
        errori << "\nPer l'elenco: scenario formato\n";
        return stato_uscita::uso_errato;
    }
    uscita << testo;
    return stato_uscita::riuscito;
}

void aggiungi_formato(CLI::App& app, azione_comando& azione) {
    auto parola = std::make_shared<std::string>();
    auto markdown = std::make_shared<bool>(false);
    CLI::App* sub = app.add_subcommand(
        "formato", "mostra il formato delle descrizioni: sezioni, parole chiave e valori");
    sub->add_option("PAROLA", *parola,
                    "una parola chiave (segnale), un campo chiave (curvas4), una sezione "
                    "(generale) o una parola come galleria, orario, commento; senza, tutto il "
                    "formato");
    sub->add_flag("--markdown", *markdown, "scrive in Markdown (come docs/formato.md)");
    sub->callback([parola, markdown, &azione] {
        azione = [parola, markdown] {
            return esegui_formato(*parola, *markdown, std::cout, std::cerr);
        };
    });
}

} // namespace corvenna
