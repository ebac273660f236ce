#include "tool/comando_disegna.hpp"

#include "base/stato_uscita.hpp"
#include "drawing/disegno_pagina.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/file_utente.hpp"
#include "tool/lettura_scenario.hpp"

#include <CLI/CLI.hpp>

#include <cctype>
#include <iostream>
#include <memory>
#include <ostream>

namespace corvenna {

int esegui_disegna(const opzioni_disegna& o, std::ostream& errori) {
    lettura_scenario lettura(o.percorsi);
    const file_scenario file = file_da_opzioni(o.percorsi, o.nome, o.numero_treno);
    if (o.uscita != uscita_standard && !o.uscita.empty())
        controlla_destinazione(o.uscita, "-o", file_letti(file));
    const costruzione c = lettura.carica(file).c;
    lettura.rilascia();
    if (!lettura.accetta(o.rigoroso, errori))
        return stato_uscita::file_danneggiato;
    if (o.uscita == uscita_standard) {
        const std::string pagina = pagina_disegno(c);
        std::cout.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
        return stato_uscita::riuscito;
    }
    const std::string pagina = pagina_disegno(c);
    // The name comes from the identity the files carry, which may hold any byte: only its
    // plain characters make the default name, which is checked as a given one is.
    std::filesystem::path destinazione = o.uscita;
    if (destinazione.empty()) {
        std::string nome = c.nome_scenario + "_" + c.numero_treno;
        for (char& x : nome)
            if (!(std::isalnum(static_cast<unsigned char>(x)) || x == '_' || x == '-' || x == '.'))
                x = '_';
        destinazione = nome + ".html";
        controlla_destinazione(destinazione, "la pagina", file_letti(file));
    }
    scrivi_file_utente(destinazione, [&pagina](std::ostream& uscita) {
        uscita.write(pagina.data(), static_cast<std::streamsize>(pagina.size()));
    });
    return stato_uscita::riuscito;
}

void aggiungi_disegna(CLI::App& app, azione_comando& azione) {
    auto o = std::make_shared<opzioni_disegna>();
    CLI::App* sub = app.add_subcommand(
        "disegna", "disegna uno scenario compilato in una pagina HTML: planimetria, profilo, "
                   "orario");
    sub->add_option("CARTELLA|FILE", o->percorsi,
                    "la cartella dello scenario compilato, o i suoi file")
        ->required();
    sub->add_option("--nome", o->nome, "nome dello scenario da cercare nella cartella");
    sub->add_option("--treno", o->numero_treno, "numero del treno da cercare nella cartella");
    sub->add_option(
        "-o,--uscita", o->uscita,
        "file della pagina (di norma NOME_NUMERO.html nella cartella corrente; - per lo "
        "standard output)");
    sub->add_flag("--rigoroso", o->rigoroso,
                  "rifiuta uno scenario i cui file non vengono dalla stessa compilazione");
    sub->callback([o, &azione] { azione = [o] { return esegui_disegna(*o, std::cerr); }; });
}

} // namespace corvenna
