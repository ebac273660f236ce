#include "tool/comando_spiega.hpp"

#include "base/stato_uscita.hpp"
#include "diagnostics/esempi_diagnostica.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "tool/comando_formato.hpp"
#include "tool/parola_vicina.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

namespace corvenna {

namespace {

constexpr std::size_t larghezza_spiega = 78;

// The paragraph in lines of at most `larghezza_spiega` columns, each after `rientro`.
std::string a_capo_spiega(std::string_view testo, std::string_view rientro) {
    std::string t;
    std::string riga(rientro);
    std::size_t i = 0;
    while (i < testo.size()) {
        std::size_t fine = testo.find(' ', i);
        if (fine == std::string_view::npos)
            fine = testo.size();
        const std::string_view parola = testo.substr(i, fine - i);
        if (riga.size() > rientro.size() && riga.size() + 1 + parola.size() > larghezza_spiega) {
            t += riga + "\n";
            riga = rientro;
        }
        if (riga.size() > rientro.size())
            riga += ' ';
        riga += parola;
        i = fine + 1;
    }
    return t + riga + "\n";
}

// The lines of a description as the example holds them, indented, made safe for a terminal.
std::string righe_mostrate(std::string_view testo) {
    std::string t;
    std::size_t i = 0;
    while (i <= testo.size()) {
        std::size_t fine = testo.find('\n', i);
        if (fine == std::string_view::npos)
            fine = testo.size();
        t += "    " + da_1252_mostrabile(testo.substr(i, fine - i)) + "\n";
        i = fine + 1;
    }
    return t;
}

std::string intestazione_tipo(const tipo_diagnostica& t) {
    if (t.dello_strumento)
        return "errore dello strumento [" + std::string(t.nome) + "]";
    if (t.livello == gravita::errore)
        return "errore [codice " + std::to_string(t.codice) + "] " + std::string(t.nome);
    return "avviso [" + std::string(t.nome) + "]";
}

std::string spiegazione_tipo(const tipo_diagnostica& t) {
    std::string s = intestazione_tipo(t) + ": " + std::string(t.testo) + "\n\n";
    s += a_capo_spiega(t.spiegazione, "");
    if (const esempio_strumento* e = esempio_strumento_di(t.nome)) {
        s += "\nEsempio:\n    $ " + std::string(e->comando) + "\n";
        s += "\nCorrezione: " + std::string(e->correzione) + "\n";
        if (!e->comando_corretto.empty())
            s += "    $ " + std::string(e->comando_corretto) + "\n";
        return s;
    }
    const esempio_diagnostica* e = esempio_di(t.nome);
    if (e == nullptr)
        return s;
    s += "\nEsempio:\n";
    if (!e->linea.empty())
        s += "  descrizione della linea:\n" + righe_mostrate(e->linea);
    if (!e->treno.empty())
        s += "  descrizione del treno:\n" + righe_mostrate(e->treno);
    s += "\nCorrezione: " + std::string(e->correzione) + "\n";
    if (!e->linea_corretta.empty())
        s += "  descrizione della linea:\n" + righe_mostrate(e->linea_corretta);
    if (!e->treno_corretto.empty())
        s += "  descrizione del treno:\n" + righe_mostrate(e->treno_corretto);
    return s;
}

std::string elenco_tipi() {
    std::string s;
    for (const tipo_diagnostica& t : tipi_diagnostica()) {
        std::string nome = t.livello == gravita::errore && !t.dello_strumento
                               ? std::to_string(t.codice) + "  "
                               : std::string("    ");
        nome.insert(0, 6 - std::min<std::size_t>(6, nome.size()), ' ');
        nome += t.nome;
        nome.resize(std::max<std::size_t>(nome.size(), 38), ' ');
        s += nome + "  " + std::string(t.testo) + "\n";
    }
    return s;
}

bool solo_cifre_spiega(std::string_view parola) {
    return !parola.empty() && parola.size() <= 9 &&
           std::all_of(parola.begin(), parola.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The name as a user may write it: as printed between brackets, in any case.
std::string nome_spiegato(std::string_view parola) {
    while (!parola.empty() && (parola.front() == '[' || parola.front() == ' '))
        parola.remove_prefix(1);
    while (!parola.empty() && (parola.back() == ']' || parola.back() == ' '))
        parola.remove_suffix(1);
    std::string n;
    for (char c : parola)
        n += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c == '_' ? '-' : c;
    return n;
}

// The code nearest to `codice` by value.
std::int32_t codice_vicino(std::int64_t codice) {
    std::int32_t vicino = 0;
    for (const tipo_diagnostica& t : tipi_diagnostica())
        if (t.livello == gravita::errore && !t.dello_strumento &&
            (vicino == 0 || std::llabs(t.codice - codice) < std::llabs(vicino - codice)))
            vicino = t.codice;
    return vicino;
}

} // namespace

int esegui_spiega(const std::string& parola, std::ostream& uscita, std::ostream& errori) {
    if (parola.empty()) {
        uscita << elenco_tipi();
        return stato_uscita::riuscito;
    }
    const tipo_diagnostica* tipo = nullptr;
    if (solo_cifre_spiega(parola))
        tipo = tipo_di_codice(static_cast<std::int32_t>(std::stol(parola)));
    else
        tipo = tipo_di_nome(nome_spiegato(parola));
    if (tipo != nullptr) {
        uscita << spiegazione_tipo(*tipo);
        return stato_uscita::riuscito;
    }
    errori << "scenario: '" << da_1252_mostrabile(parola) << "' non e' ";
    if (solo_cifre_spiega(parola)) {
        errori << "un codice di errore; forse intendevi " << codice_vicino(std::stol(parola))
               << "?";
    } else {
        errori << "il nome di un avviso o di un errore";
        std::vector<std::string> nomi;
        for (const tipo_diagnostica& t : tipi_diagnostica())
            nomi.emplace_back(t.nome);
        // A word of the descriptions is explained by `formato`: the word itself, else a
        // diagnostic's name near it, else a word of the descriptions near it.
        const std::vector<std::string> formato = nomi_formato();
        const std::string cercato = nome_spiegato(parola);
        const auto parola_formato = parola_vicina(cercato, formato);
        const auto vicino = parola_vicina(cercato, nomi);
        if (parola_formato && *parola_formato == cercato)
            errori << "; e' una parola delle descrizioni: scenario formato " << *parola_formato;
        else if (vicino)
            errori << "; forse intendevi '" << *vicino << "'?";
        else if (parola_formato)
            errori << "; forse intendevi la parola delle descrizioni '" << *parola_formato
                   << "'? scenario formato " << *parola_formato;
    }
    errori << "\nPer l'elenco: scenario spiega\n";
    return stato_uscita::uso_errato;
}

void aggiungi_spiega(CLI::App& app, azione_comando& azione) {
    auto parola = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand(
        "spiega", "spiega un errore o un avviso: cosa vuol dire, un esempio e come correggerlo");
    sub->add_option("CODICE|NOME", *parola,
                    "il codice di un errore (15) o il nome di un avviso o di un errore "
                    "(riga-ripetuta); senza, l'elenco di tutti");
    sub->callback([parola, &azione] {
        azione = [parola] { return esegui_spiega(*parola, std::cout, std::cerr); };
    });
}

} // namespace corvenna
