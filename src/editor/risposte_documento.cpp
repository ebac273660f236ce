#include "editor/risposte_documento.hpp"

#include "description/parola_curva.hpp"
#include "editor/campi_riga.hpp"
#include "editor/catalogo_righe.hpp"
#include "editor/hover_marcia.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <string>

namespace corvenna {

namespace {

intervallo_testo intervallo_campo(std::string_view linea, int riga, const campo_letto& c) {
    return {{riga, utf16_da_byte(linea, c.inizio)}, {riga, utf16_da_byte(linea, c.fine)}};
}

// The value `nome` of row `r` as written (the format's table names it), or empty when the row
// has no such value or stops before it.
std::string_view valore(const riga_letta& r, std::string_view nome) {
    const std::optional<std::size_t> k = r.voce ? indice_campo(*r.voce, nome) : std::nullopt;
    return k && *k < r.campi.size() ? r.campi[*k].testo : std::string_view{};
}

bool e_sezione(std::string_view campo) {
    return campo.find('[') != std::string_view::npos && campo.find(']') != std::string_view::npos &&
           !campo.starts_with('-');
}

std::optional<long long> numero(std::string_view t) {
    long long v = 0;
    const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (errore != std::errc() || fine != t.data() + t.size() || t.empty())
        return std::nullopt;
    return v;
}

std::string nome_file(descrizione d) {
    return d == descrizione::linea ? "descrizione della linea" : "descrizione del treno";
}

// "posizione (m), sx, s1, ..." : the fields of a row, for its hover and its completion.
std::string elenco_campi(const voce_riga& v) {
    std::string r;
    for (const campo_riga& c : v.campi) {
        if (!r.empty())
            r += ", ";
        r += c.nome;
        if (!c.unita.empty())
            r += " (" + std::string(c.unita) + ")";
    }
    return r;
}

std::string snippet(const voce_riga& v) {
    std::string r(v.parola);
    const bool spazi = v.parola == "orologio";
    for (std::size_t k = 0; k < v.campi.size(); ++k) {
        r += spazi ? (k == 0 ? ",  " : "  ") : ",  ";
        r += "${" + std::to_string(k + 1) + ":" + std::string(v.campi[k].nome) + "}";
    }
    return r;
}

bool uguali_senza_maiuscole(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Calls `fai` with each line of `testo` and its number (from 0), up to line `ultima` included;
// in one pass, as a 1000 km line is tens of thousands of lines.
template <typename F>
void per_ogni_riga(std::string_view testo, int ultima, F fai) {
    std::size_t p = 0;
    for (int n = 0; p < testo.size() && n <= ultima; ++n) {
        std::size_t fine = testo.find_first_of("\r\n", p);
        if (fine == std::string_view::npos)
            fine = testo.size();
        fai(testo.substr(p, fine - p), n);
        p = fine + 1;
        if (fine < testo.size() && testo[fine] == '\r' && p < testo.size() && testo[p] == '\n')
            ++p;
    }
}

// The header of the section line `riga` stands in ("[segnali]"), or empty before the first.
std::string sezione_a(std::string_view testo, descrizione d, int riga) {
    std::string sezione;
    per_ogni_riga(testo, riga - 1, [&](std::string_view linea, int) {
        const riga_letta r = leggi_riga(linea, d);
        if (!r.voce && !r.campi.empty() && e_sezione(r.campi.front().testo))
            sezione = r.campi.front().testo;
    });
    return sezione;
}

// The editor's sort key of the `n`-th item of rank `rango`: "0-0007".
std::string ordine(int rango, std::size_t n) {
    const std::string cifre = std::to_string(n);
    return std::to_string(rango) + "-" + std::string(cifre.size() < 4 ? 4 - cifre.size() : 0, '0') +
           cifre;
}

std::string chiedi(const std::function<std::string(long long)>& f, long long metro) {
    return f ? f(metro) : std::string();
}

// "4100 m (km 2+600)", or the metre alone where the driver's kilometre is unknown.
std::string metro_e_chilometro(const compilazione_coppia& c, long long metro) {
    const std::string km = chiedi(c.chilometro, metro);
    return std::to_string(metro) + " m" + (km.empty() ? "" : " (" + km + ")");
}

// What the compile makes of a curve row, read from its keyword by its letters as the compile
// reads it: "curva a destra, raggio 1000 m, da 4100 m (km 2+600) a 4900 m (km 3+400)".
std::string curva_compilata(const riga_letta& r, const compilazione_coppia& c) {
    const curva_letta letta = leggi_curva(r.campi[0].testo);
    if (letta.classe == 0)
        return "nessuna cifra da 1 a 6 nel campo chiave: la compilazione rifiuta la curva";
    const long long raggio = std::llround(1 / curvatura_classe(letta.classe));
    std::string t = std::string("curva a ") + (letta.sinistra ? "sinistra" : "destra") +
                    ", classe " + std::to_string(letta.classe) + ", raggio " +
                    std::to_string(raggio) + " m";
    if (const auto inizio = numero(valore(r, "inizio")), lunghezza = numero(valore(r, "lunghezza"));
        inizio && lunghezza)
        t += ", da " + metro_e_chilometro(c, *inizio) + " a " +
             metro_e_chilometro(c, *inizio + *lunghezza);
    return t;
}

// What a row's hover tells of the compile for its keyword, in place of the account of the cell
// at its position that every other row placed at a position gets: a sentence on the whole row.
struct racconto_riga {
    std::string_view parola;
    std::string (*racconta)(const riga_letta& r, const compilazione_coppia& c);
};
constexpr racconto_riga racconti[] = {
    {"curva", curva_compilata},
};

const racconto_riga* racconto_di(const voce_riga& v) {
    const auto k = std::find_if(std::begin(racconti), std::end(racconti),
                                [&](const racconto_riga& x) { return x.parola == v.parola; });
    return k == std::end(racconti) ? nullptr : k;
}

std::string testo_hover(const riga_letta& r, int indice, descrizione d,
                        const compilazione_coppia& compilata) {
    const voce_riga& v = *r.voce;
    std::string t =
        "**" + std::string(v.parola) + "** (" + nome_file(d) + "): " + std::string(v.significato);
    const racconto_riga* racconto = racconto_di(v);
    if (racconto)
        t += "\n\nNella compilazione: " + racconto->racconta(r, compilata);
    if (indice == 0) {
        t += "\n\nCampi: " + elenco_campi(v);
        // A row placed at a position: what the compile made there.
        if (!racconto && !v.campi.empty() && v.campi[0].posizione && r.campi.size() > 1)
            if (const auto m = numero(r.campi[1].testo))
                if (const std::string fatto = chiedi(compilata.descrivi_metro, *m); !fatto.empty())
                    t += "\n\nNella compilazione: " + fatto;
        return t;
    }
    const std::size_t k = static_cast<std::size_t>(indice - 1);
    if (k >= v.campi.size())
        return t + "\n\nCampo " + std::to_string(indice) + ": oltre i " +
               std::to_string(v.campi.size()) + " campi della riga, non letto con essa";
    const campo_riga& c = v.campi[k];
    t += "\n\nCampo " + std::to_string(indice) + " di " + std::to_string(v.campi.size()) + ": `" +
         std::string(c.nome) + "`";
    if (!c.unita.empty())
        t += " (" + std::string(c.unita) + ")";
    if (!c.significato.empty())
        t += ": " + std::string(c.significato);
    const std::string_view scritto = r.campi[static_cast<std::size_t>(indice)].testo;
    if (c.posizione && !racconto)
        if (const auto m = numero(scritto)) {
            // The driver's kilometre depends on the kilometric systems in force, which only the
            // compiled pair knows: without it, the metre alone.
            t += "\n\n" + std::to_string(*m) + " m dall'inizio del percorso";
            if (const std::string fatto = chiedi(compilata.descrivi_metro, *m); !fatto.empty())
                t += "\n\nNella compilazione: " + fatto;
        }
    if (!c.testo && !scritto.empty() && !numero(scritto))
        t += "\n\n`" + std::string(scritto) + "` non e' un numero";
    return t;
}

} // namespace

std::optional<hover_lsp> hover_campo(std::string_view testo, descrizione d, posizione_lsp p,
                                     const compilazione_coppia& compilata) {
    const std::string_view linea = riga_di(testo, p.riga);
    const riga_letta r = leggi_riga(linea, d);
    const int indice = campo_a(r, byte_da_utf16(linea, p.carattere));
    if (indice < 0)
        return std::nullopt;
    const campo_letto& campo = r.campi[static_cast<std::size_t>(indice)];
    hover_lsp h;
    h.intervallo = intervallo_campo(linea, p.riga, campo);
    if (r.voce) {
        h.markdown =
            testo_hover(r, indice, d, compilata) + hover_marcia(r, indice, p.riga, compilata);
    } else if (indice == 0 && e_sezione(campo.testo)) {
        h.markdown =
            "Sezione `" + std::string(campo.testo) +
            "`: per il lettore conta solo [generale], che apre la " + nome_file(d) +
            (d == descrizione::linea ? " (le sue righe generali arrivano alla sezione dopo)" : "");
    } else if (indice == 0) {
        h.markdown = "`" + std::string(campo.testo) + "`: nessuna parola chiave della " +
                     nome_file(d) + " la riconosce; il campo e' saltato";
    } else {
        return std::nullopt;
    }
    return h;
}

std::vector<completamento_lsp> completamenti(std::string_view testo, descrizione d,
                                             posizione_lsp p) {
    std::vector<completamento_lsp> elementi;
    const std::string_view linea = riga_di(testo, p.riga);
    const std::size_t cursore = byte_da_utf16(linea, p.carattere);
    const std::string_view prima = linea.substr(0, cursore);
    if (prima.find(',') != std::string_view::npos)
        return elementi;
    std::size_t inizio = 0;
    while (inizio < prima.size() && (prima[inizio] == ' ' || prima[inizio] == '\t'))
        ++inizio;
    const intervallo_testo sostituito = {{p.riga, utf16_da_byte(linea, inizio)},
                                         {p.riga, utf16_da_byte(linea, cursore)}};
    const std::string sezione = sezione_a(testo, d, p.riga);
    // Each label once, ranked by the editor through `ordine`: the rank, then the table's order.
    std::set<std::string, std::less<>> offerte;
    const auto offri = [&](completamento_lsp e, int rango) {
        if (!offerte.insert(e.etichetta).second)
            return;
        e.modifica.intervallo = sostituito;
        e.ordine = ordine(rango, elementi.size());
        elementi.push_back(std::move(e));
    };
    const bool solo_sezioni = prima.substr(inizio).starts_with('[');
    for (const int rango : {0, 1}) {
        if (solo_sezioni)
            break;
        for (const voce_riga& v : catalogo_righe()) {
            if (v.file != d || (rango == 0) != uguali_senza_maiuscole(v.sezione, sezione))
                continue;
            completamento_lsp e;
            e.etichetta = v.parola;
            e.tipo = tipo_completamento::riga;
            e.dettaglio = v.significato;
            e.documentazione = "Campi: " + elenco_campi(v);
            e.snippet = true;
            e.modifica.testo = snippet(v);
            offri(std::move(e), rango);
        }
    }
    for (const std::string_view s : intestazioni_sezioni(d)) {
        completamento_lsp e;
        e.etichetta = s;
        e.tipo = tipo_completamento::sezione;
        e.dettaglio = "sezione della " + nome_file(d);
        e.modifica.testo = s;
        offri(std::move(e), 2);
    }
    completamento_lsp fine;
    fine.etichetta = "[fine]";
    fine.tipo = tipo_completamento::sezione;
    fine.dettaglio = "l'ultima riga, mai interpretata";
    fine.modifica.testo = "[fine]";
    offri(std::move(fine), 2);
    return elementi;
}

std::vector<simbolo_lsp> simboli_documento(std::string_view testo, descrizione d,
                                           const compilazione_coppia& compilata) {
    // "41300 m (km 39+800)", or the field as written when it is no number.
    const auto posto = [&](std::string_view metri) {
        const auto m = numero(metri);
        return m ? metro_e_chilometro(compilata, *m) : std::string(metri) + " m";
    };
    std::vector<simbolo_lsp> simboli;
    // The section the rows go in: an index into `simboli`.
    std::optional<std::size_t> sezione;
    posizione_lsp fine_ultima;
    const auto chiudi_sezione = [&] {
        if (sezione)
            simboli[*sezione].intervallo.fine = fine_ultima;
    };
    per_ogni_riga(testo, std::numeric_limits<int>::max(), [&](std::string_view linea, int n) {
        const riga_letta r = leggi_riga(linea, d);
        if (r.campi.empty())
            return;
        const campo_letto& parola = r.campi.front();
        if (!r.voce && e_sezione(parola.testo)) {
            chiudi_sezione();
            const intervallo_testo intervallo = intervallo_campo(linea, n, parola);
            simboli.push_back({std::string(parola.testo),
                               {},
                               tipo_simbolo::sezione,
                               intervallo,
                               intervallo,
                               std::vector<simbolo_lsp>{}});
            sezione = simboli.size() - 1;
        }
        fine_ultima = {n, utf16_da_byte(linea, linea.size())};
        if (!r.voce)
            return;
        const auto campo = [&](std::string_view nome) { return valore(r, nome); };
        simbolo_lsp simbolo;
        const std::string_view parola_voce = r.voce->parola;
        if (parola_voce == "stazione") {
            simbolo.nome = campo("nome");
            simbolo.dettaglio = "stazione a " + posto(campo("posizione"));
            simbolo.tipo = tipo_simbolo::stazione;
        } else if (parola_voce == "segnale") {
            simbolo.nome = "segnale " + std::string(campo("posizione")) + " m";
            simbolo.dettaglio = "segnale a " + posto(campo("posizione"));
            simbolo.tipo = tipo_simbolo::segnale;
        } else if (parola_voce == "montagna") {
            // Type 11 and above is a tunnel.
            const auto t = numero(campo("tipo"));
            const bool galleria = t && *t > 10;
            simbolo.nome = std::string(galleria ? "galleria " : "rilievo ") +
                           std::string(campo("posizione")) + "-" + std::string(campo("fine")) +
                           " m";
            simbolo.dettaglio = "montagna di tipo " + std::string(campo("tipo")) + " da " +
                                posto(campo("posizione"));
            simbolo.tipo = galleria ? tipo_simbolo::galleria : tipo_simbolo::rilievo;
        } else if (parola_voce == "cartello_indicatore") {
            simbolo.nome = campo("testo");
            simbolo.dettaglio = "cartello a " + posto(campo("posizione"));
            simbolo.tipo = tipo_simbolo::cartello;
        } else if (parola_voce == "indicatori_vmax") {
            simbolo.nome = "velocita' massime " + std::string(campo("posizione")) + " m";
            simbolo.dettaglio = std::string(campo("vas")) + "/" + std::string(campo("vbs")) + "/" +
                                std::string(campo("vcs")) + " km/h a " + posto(campo("posizione"));
            simbolo.tipo = tipo_simbolo::cartello;
        } else {
            return;
        }
        if (simbolo.nome.empty())
            simbolo.nome = simbolo.dettaglio;
        campo_letto tutta;
        tutta.inizio = parola.inizio;
        tutta.fine = linea.size();
        simbolo.intervallo = intervallo_campo(linea, n, tutta);
        simbolo.selezione = intervallo_campo(linea, n, parola);
        if (sezione)
            simboli[*sezione].figli->push_back(std::move(simbolo));
        else
            simboli.push_back(std::move(simbolo));
    });
    chiudi_sezione();
    return simboli;
}

} // namespace corvenna
