#include "tool/testo_formato.hpp"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace corvenna {

namespace {

std::string intervallo(const campo_formato& c) {
    if (c.tipo == tipo_campo::testo)
        return "al piu' " + std::to_string(c.massimo) + " byte";
    const bool tutto_il_tipo =
        c.minimo == minimo_tipo_campo(c.tipo) && c.massimo == massimo_tipo_campo(c.tipo);
    std::string t = tutto_il_tipo
                        ? std::string("qualsiasi")
                        : "da " + std::to_string(c.minimo) + " a " + std::to_string(c.massimo);
    if (c.multiplo != 0)
        t += ", multiplo di " + std::to_string(c.multiplo);
    return t;
}

std::string elenco_nomi(std::span<const std::string_view> nomi, std::string_view prima,
                        std::string_view dopo) {
    std::string t;
    for (std::string_view n : nomi) {
        if (!t.empty())
            t += ", ";
        t += prima;
        t += n;
        t += dopo;
    }
    return t;
}

// How the keyword field is recognised: the parts it must contain, the case, the section.
std::string riconoscimento(const parola_chiave_formato& p, std::string_view virgolette) {
    std::string t = "il campo chiave contiene ";
    for (std::size_t i = 0; i < p.sottostringhe.size(); ++i) {
        if (i > 0)
            t += " e ";
        t += virgolette;
        t += p.sottostringhe[i];
        t += virgolette;
    }
    t += p.maiuscole_esatte ? ", in minuscolo" : ", in maiuscolo o minuscolo";
    if (p.solo_in_sezione)
        t += ", solo nella sezione " + std::string(p.sezione);
    return t;
}

std::string riga_di_valori(const parola_chiave_formato& p) {
    std::string t(p.parola);
    for (const campo_formato& c : p.campi)
        t += ", " + std::string(c.nome);
    return t;
}

// The values with a name, each list once with the values that share it: "s1, s2, s3, d1, d2, d3"
// and their aspects.
std::vector<std::pair<std::string, std::string>> valori_nominati(const parola_chiave_formato& p,
                                                                 std::string_view virgolette) {
    std::vector<std::pair<const valore_nominato*, std::string>> gruppi;
    for (const campo_formato& c : p.campi) {
        if (c.valori_nominati.empty())
            continue;
        const std::string nome =
            std::string(virgolette) + std::string(c.nome) + std::string(virgolette);
        const auto stesso = std::find_if(gruppi.begin(), gruppi.end(), [&](const auto& g) {
            return g.first == c.valori_nominati.data();
        });
        if (stesso != gruppi.end())
            stesso->second += ", " + nome;
        else
            gruppi.emplace_back(c.valori_nominati.data(), nome);
    }
    std::vector<std::pair<std::string, std::string>> t;
    for (const auto& gruppo : gruppi) {
        const auto* primo = gruppo.first;
        const std::string& nomi = gruppo.second;
        const campo_formato& c = *std::find_if(p.campi.begin(), p.campi.end(), [&](const auto& c) {
            return c.valori_nominati.data() == primo;
        });
        std::string elenco;
        for (const valore_nominato& v : c.valori_nominati)
            elenco +=
                (elenco.empty() ? "" : ", ") + std::to_string(v.valore) + " " + std::string(v.nome);
        t.emplace_back(nomi, elenco);
    }
    return t;
}

// A sentence of the table as a Markdown paragraph begins with a capital.
std::string frase(std::string_view testo) {
    std::string t(testo);
    if (!t.empty() && t[0] >= 'a' && t[0] <= 'z')
        t[0] = static_cast<char>(t[0] - 'a' + 'A');
    return t;
}

std::string spazi(std::size_t n) {
    return std::string(n, ' ');
}

std::string testo_parola(const parola_chiave_formato& p) {
    std::string t = std::string(p.parola) + "  (" + std::string(titolo_descrizione(p.file)) +
                    ", sezione " + std::string(p.sezione) + ")\n";
    t += "  " + std::string(p.significato) + "\n";
    t += "  riga: " + riga_di_valori(p) + "\n";
    t += "  " + riconoscimento(p, "\"") + "\n";
    if (!p.parole.empty()) {
        t += "  parole nel campo chiave:\n";
        for (const parola_accettata& a : p.parole)
            t += "    " + std::string(a.parola) + "  " + std::string(a.significato) + "\n";
    }
    // One value a line, in aligned columns.
    std::size_t largo_nome = 0;
    std::size_t largo_unita = 0;
    std::size_t largo_tipo = 0;
    std::size_t largo_intervallo = 0;
    for (const campo_formato& c : p.campi) {
        largo_nome = std::max(largo_nome, c.nome.size());
        largo_unita = std::max(largo_unita, c.unita.size());
        largo_tipo = std::max(largo_tipo, nome_tipo_campo(c.tipo).size());
        largo_intervallo = std::max(largo_intervallo, intervallo(c).size());
    }
    t += "  " + std::to_string(p.numero_valori()) +
         (p.numero_valori() == 1 ? " valore:\n" : " valori:\n");
    for (std::size_t i = 0; i < p.campi.size(); ++i) {
        const campo_formato& c = p.campi[i];
        const std::string numero = std::to_string(i + 1);
        const std::string campo_intervallo = intervallo(c);
        t += spazi(4 - numero.size()) + numero + "  " + std::string(c.nome) +
             spazi(largo_nome - c.nome.size()) + "  " + std::string(c.unita) +
             spazi(largo_unita - c.unita.size()) + "  " + std::string(nome_tipo_campo(c.tipo)) +
             spazi(largo_tipo - nome_tipo_campo(c.tipo).size()) + "  " + campo_intervallo +
             spazi(largo_intervallo - campo_intervallo.size()) + "  " + std::string(c.significato) +
             "\n";
    }
    // Values that share what happens outside their range are told together.
    std::vector<std::pair<std::string_view, std::string>> fuori;
    for (const campo_formato& c : p.campi) {
        if (c.fuori_intervallo.empty())
            continue;
        const auto stesso = std::find_if(fuori.begin(), fuori.end(), [&](const auto& f) {
            return f.first == c.fuori_intervallo;
        });
        if (stesso != fuori.end())
            stesso->second += ", " + std::string(c.nome);
        else
            fuori.emplace_back(c.fuori_intervallo, std::string(c.nome));
    }
    if (!fuori.empty())
        t += "  fuori intervallo:\n";
    for (const auto& [testo, nomi] : fuori)
        t += "    " + nomi + ": " + std::string(testo) + "\n";
    const auto nominati = valori_nominati(p, "");
    if (!nominati.empty())
        t += "  valori con un nome:\n";
    for (const auto& [nomi, elenco] : nominati)
        t += "    " + nomi + ": " + elenco + "\n";
    for (std::string_view n : p.note)
        t += "  " + std::string(n) + "\n";
    t += "  compilazione: " + std::string(p.effetto) + "\n";
    t += "  esempio: " + std::string(p.esempio) + "\n";
    if (!p.diagnostiche.empty())
        t += "  diagnostiche (scenario spiega NOME): " + elenco_nomi(p.diagnostiche, "", "") + "\n";
    return t;
}

// Markdown: a '|' in a cell would end it.
std::string cella_markdown(std::string_view testo) {
    std::string t;
    for (char c : testo) {
        if (c == '|')
            t += '\\';
        t += c;
    }
    return t;
}

std::string markdown_parola(const parola_chiave_formato& p) {
    std::string t = "#### " + std::string(p.parola) + "\n\n";
    t += frase(p.significato) + ". Riga: `" + riga_di_valori(p) + "`; " + riconoscimento(p, "`") +
         ".\n\n";
    if (!p.parole.empty()) {
        t += "Parole nel campo chiave:\n\n";
        for (const parola_accettata& a : p.parole)
            t += "- `" + std::string(a.parola) + "`: " + std::string(a.significato) + "\n";
        t += "\n";
    }
    t += "| # | Valore | Unita' | Tipo | Intervallo | Significato | Fuori intervallo |\n";
    t += "|---|---|---|---|---|---|---|\n";
    for (std::size_t i = 0; i < p.campi.size(); ++i) {
        const campo_formato& c = p.campi[i];
        t += "| " + std::to_string(i + 1) + " | `" + std::string(c.nome) + "` | " +
             cella_markdown(c.unita) + " | " + std::string(nome_tipo_campo(c.tipo)) + " | " +
             intervallo(c) + " | " + cella_markdown(c.significato) + " | " +
             cella_markdown(c.fuori_intervallo) + " |\n";
    }
    const auto nominati = valori_nominati(p, "`");
    if (!nominati.empty())
        t += "\nValori con un nome:\n\n";
    for (const auto& [nomi, elenco] : nominati)
        t += "- " + nomi + ": " + elenco + "\n";
    for (std::string_view n : p.note)
        t += "\n" + std::string(n) + "\n";
    t += "\nCompilazione: " + std::string(p.effetto) + ".\n\nEsempio:\n\n";
    t += "```\n" + std::string(p.esempio) + "\n```\n\n";
    if (!p.diagnostiche.empty())
        t += "Diagnostiche: " + elenco_nomi(p.diagnostiche, "`", "`") + ".\n\n";
    return t;
}

std::string intestazione_sezione(const sezione_formato& s, stile_formato stile) {
    if (stile == stile_formato::markdown)
        return "### `" + std::string(s.nome) + "`\n\n" + frase(s.significato) + ".\n\n";
    return std::string(s.nome) + "  (" + std::string(titolo_descrizione(s.file)) + ")\n  " +
           std::string(s.significato) + "\n";
}

std::string parte_sezione(const sezione_formato& s, stile_formato stile) {
    std::string t = intestazione_sezione(s, stile);
    for (const parola_chiave_formato* p : parole_di_sezione(s.file, s.nome)) {
        t += stile == stile_formato::markdown ? "" : "\n";
        t += riferimento_parola_chiave(*p, stile);
    }
    return t;
}

} // namespace

std::string riferimento_parola_chiave(const parola_chiave_formato& p, stile_formato stile) {
    return stile == stile_formato::markdown ? markdown_parola(p) : testo_parola(p);
}

std::string riferimento_rimando(const rimando_formato& r, stile_formato stile) {
    std::string t;
    if (stile == stile_formato::markdown)
        t = "`" + std::string(r.parola) +
            "` non e' una parola chiave: " + std::string(r.spiegazione) + ".\n\n";
    else
        t = std::string(r.parola) + " non e' una parola chiave: " + std::string(r.spiegazione) +
            "\n";
    for (std::string_view nome : r.parole_chiave)
        if (const parola_chiave_formato* p = parola_chiave_di(nome)) {
            t += stile == stile_formato::markdown ? "" : "\n";
            t += riferimento_parola_chiave(*p, stile);
        }
    return t;
}

std::string riferimento_sezione(const sezione_formato& s, stile_formato stile) {
    return parte_sezione(s, stile);
}

std::string riferimento_completo(stile_formato stile) {
    const bool md = stile == stile_formato::markdown;
    std::string t;
    if (md)
        t += "# Il formato delle descrizioni\n\n"
             "Generato da `scenario formato --markdown`: non modificarlo a mano.\n\n"
             "## Regole di lettura\n\n";
    else
        t += "REGOLE DI LETTURA\n";
    for (std::string_view r : regole_lettura())
        t += (md ? "- " : "  - ") + std::string(r) + "\n";
    t += md ? "\nOgni riga puo' dare anche: " + elenco_nomi(diagnostiche_di_ogni_riga(), "`", "`") +
                  ".\n"
            : "  Ogni riga puo' dare anche: " + elenco_nomi(diagnostiche_di_ogni_riga(), "", "") +
                  ".\n";
    for (descrizione file : {descrizione::linea, descrizione::treno}) {
        std::string titolo(titolo_descrizione(file));
        if (md) {
            titolo[0] = static_cast<char>(titolo[0] - 'a' + 'A');
            t += "\n## " + titolo + "\n\n";
        } else {
            std::transform(titolo.begin(), titolo.end(), titolo.begin(), [](char c) {
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            });
            t += "\n" + titolo + "\n";
        }
        for (const sezione_formato& s : sezioni_formato())
            if (s.file == file) {
                t += md ? "" : "\n";
                t += parte_sezione(s, stile);
            }
    }
    // The words an author looks for that are no keyword, those that lead to the same place
    // together.
    std::vector<std::pair<std::string_view, std::string>> altre;
    for (const rimando_formato& r : rimandi_formato()) {
        const std::string parola = md ? "`" + std::string(r.parola) + "`" : std::string(r.parola);
        const auto stessa = std::find_if(altre.begin(), altre.end(), [&](const auto& a) {
            return a.first.data() == r.spiegazione.data();
        });
        if (stessa != altre.end())
            stessa->second += ", " + parola;
        else
            altre.emplace_back(r.spiegazione, parola);
    }
    t += md ? "\n## Altre parole\n\n" : "\nALTRE PAROLE\n";
    for (const auto& [spiegazione, parole] : altre)
        t += (md ? "- " : "  ") + parole + ": " + std::string(spiegazione) + "\n";
    if (md)
        while (t.ends_with("\n\n"))
            t.pop_back();
    return t;
}

} // namespace corvenna
