#include "editor/risposte_documento.hpp"

#include "editor/hover_marcia.hpp"

#include "editor/campi_riga.hpp"
#include "editor/catalogo_righe.hpp"

#include "compiler/tracciato_planimetria.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace corvenna {

namespace {

nlohmann::json posizione_json(int riga, int carattere) {
    return {{"line", riga}, {"character", carattere}};
}

nlohmann::json intervallo_campo(std::string_view linea, int riga, const campo_letto& c) {
    return {{"start", posizione_json(riga, utf16_da_byte(linea, c.inizio))},
            {"end", posizione_json(riga, utf16_da_byte(linea, c.fine))}};
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
    if (r.campi.size() >= 3)
        if (const auto inizio = numero(r.campi[1].testo), lunghezza = numero(r.campi[2].testo);
            inizio && lunghezza)
            t += ", da " + metro_e_chilometro(c, *inizio) + " a " +
                 metro_e_chilometro(c, *inizio + *lunghezza);
    return t;
}

std::string testo_hover(const riga_letta& r, int indice, descrizione d,
                        const compilazione_coppia& compilata) {
    const voce_riga& v = *r.voce;
    std::string t =
        "**" + std::string(v.parola) + "** (" + nome_file(d) + "): " + std::string(v.significato);
    if (v.parola == "curva")
        t += "\n\nNella compilazione: " + curva_compilata(r, compilata);
    if (indice == 0) {
        t += "\n\nCampi: " + elenco_campi(v);
        // A row placed at a position: what the compile made there.
        if (v.parola != "curva" && !v.campi.empty() && v.campi[0].posizione && r.campi.size() > 1)
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
    const std::string_view valore = r.campi[static_cast<std::size_t>(indice)].testo;
    if (c.posizione && v.parola != "curva")
        if (const auto m = numero(valore)) {
            // The driver's kilometre depends on the kilometric systems in force, which only the
            // compiled pair knows: without it, the metre alone.
            t += "\n\n" + std::to_string(*m) + " m dall'inizio del percorso";
            if (const std::string fatto = chiedi(compilata.descrivi_metro, *m); !fatto.empty())
                t += "\n\nNella compilazione: " + fatto;
        }
    if (!c.testo && !valore.empty() && !numero(valore))
        t += "\n\n`" + std::string(valore) + "` non e' un numero";
    return t;
}

} // namespace

nlohmann::json hover_campo(std::string_view testo, descrizione d, posizione_lsp p,
                           const compilazione_coppia& compilata) {
    const std::string_view linea = riga_di(testo, p.riga);
    const riga_letta r = leggi_riga(linea, d);
    const int indice = campo_a(r, byte_da_utf16(linea, p.carattere));
    if (indice < 0)
        return nullptr;
    const campo_letto& campo = r.campi[static_cast<std::size_t>(indice)];
    std::string valore;
    if (r.voce) {
        valore = testo_hover(r, indice, d, compilata) + hover_marcia(r, indice, p.riga, compilata);
    } else if (indice == 0 && e_sezione(campo.testo)) {
        valore =
            "Sezione `" + std::string(campo.testo) +
            "`: per il lettore conta solo [generale], che apre la " + nome_file(d) +
            (d == descrizione::linea ? " (le sue righe generali arrivano alla sezione dopo)" : "");
    } else if (indice == 0) {
        valore = "`" + std::string(campo.testo) + "`: nessuna parola chiave della " + nome_file(d) +
                 " la riconosce; il campo e' saltato";
    } else {
        return nullptr;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", valore}}},
            {"range", intervallo_campo(linea, p.riga, campo)}};
}

nlohmann::json completamenti(std::string_view testo, descrizione d, posizione_lsp p) {
    nlohmann::json elementi = nlohmann::json::array();
    const std::string_view linea = riga_di(testo, p.riga);
    const std::size_t cursore = byte_da_utf16(linea, p.carattere);
    const std::string_view prima = linea.substr(0, cursore);
    if (prima.find(',') != std::string_view::npos)
        return {{"isIncomplete", false}, {"items", elementi}};
    std::size_t inizio = 0;
    while (inizio < prima.size() && (prima[inizio] == ' ' || prima[inizio] == '\t'))
        ++inizio;
    const nlohmann::json sostituito = {
        {"start", posizione_json(p.riga, utf16_da_byte(linea, inizio))},
        {"end", posizione_json(p.riga, utf16_da_byte(linea, cursore))}};
    for (const std::string_view s : intestazioni_sezioni(d))
        elementi.push_back({{"label", s},
                            {"kind", 9},
                            {"detail", "sezione della " + nome_file(d)},
                            {"textEdit", {{"range", sostituito}, {"newText", s}}}});
    elementi.push_back({{"label", "[fine]"},
                        {"kind", 9},
                        {"detail", "l'ultima riga, mai interpretata"},
                        {"textEdit", {{"range", sostituito}, {"newText", "[fine]"}}}});
    for (const voce_riga& v : catalogo_righe()) {
        if (v.file != d)
            continue;
        elementi.push_back(
            {{"label", v.parola},
             {"kind", 15},
             {"detail", v.significato},
             {"documentation", {{"kind", "markdown"}, {"value", "Campi: " + elenco_campi(v)}}},
             {"insertTextFormat", 2},
             {"textEdit", {{"range", sostituito}, {"newText", snippet(v)}}}});
    }
    return {{"isIncomplete", false}, {"items", elementi}};
}

nlohmann::json simboli_documento(std::string_view testo, descrizione d,
                                 const compilazione_coppia& compilata) {
    // "41300 m (km 39+800)", or the field as written when it is no number.
    const auto posto = [&](std::string_view metri) {
        const auto m = numero(metri);
        return m ? metro_e_chilometro(compilata, *m) : std::string(metri) + " m";
    };
    nlohmann::json simboli = nlohmann::json::array();
    nlohmann::json* sezione = nullptr;
    int ultima_riga = 0;
    std::size_t larghezza_ultima = 0;
    const auto chiudi_sezione = [&] {
        if (sezione)
            (*sezione)["range"]["end"] =
                posizione_json(ultima_riga, static_cast<int>(larghezza_ultima));
    };
    // Line by line, in one pass: a 1000 km line is tens of thousands of lines.
    std::size_t p = 0;
    for (int n = 0; p < testo.size(); ++n) {
        std::size_t fine = testo.find_first_of("\r\n", p);
        if (fine == std::string_view::npos)
            fine = testo.size();
        const std::string_view linea = testo.substr(p, fine - p);
        p = fine + 1;
        if (fine < testo.size() && testo[fine] == '\r' && p < testo.size() && testo[p] == '\n')
            ++p;
        const riga_letta r = leggi_riga(linea, d);
        if (r.campi.empty())
            continue;
        const campo_letto& parola = r.campi.front();
        if (!r.voce && e_sezione(parola.testo)) {
            chiudi_sezione();
            const nlohmann::json intervallo = intervallo_campo(linea, n, parola);
            simboli.push_back({{"name", std::string(parola.testo)},
                               {"kind", 3},
                               {"range", intervallo},
                               {"selectionRange", intervallo},
                               {"children", nlohmann::json::array()}});
            sezione = &simboli.back();
        }
        ultima_riga = n;
        larghezza_ultima = static_cast<std::size_t>(utf16_da_byte(linea, linea.size()));
        if (!r.voce)
            continue;
        const auto valore = [&](std::size_t k) -> std::string_view {
            return k < r.campi.size() ? r.campi[k].testo : std::string_view{};
        };
        std::string nome;
        std::string dettaglio;
        int tipo = 0;
        const std::string_view parola_voce = r.voce->parola;
        if (parola_voce == "stazione") {
            nome = valore(17);
            dettaglio = "stazione a " + posto(valore(1));
            tipo = 5;
        } else if (parola_voce == "segnale") {
            nome = "segnale " + std::string(valore(1)) + " m";
            dettaglio = "segnale a " + posto(valore(1));
            tipo = 24;
        } else if (parola_voce == "montagna") {
            const auto t = numero(valore(3));
            nome = std::string(t && *t > 10 ? "galleria " : "rilievo ") + std::string(valore(1)) +
                   "-" + std::string(valore(2)) + " m";
            dettaglio = "montagna di tipo " + std::string(valore(3)) + " da " + posto(valore(1));
            tipo = t && *t > 10 ? 19 : 20;
        } else if (parola_voce == "cartello_indicatore") {
            nome = valore(2);
            dettaglio = "cartello a " + posto(valore(1));
            tipo = 8;
        } else if (parola_voce == "indicatori_vmax") {
            nome = "velocita' massime " + std::string(valore(1)) + " m";
            dettaglio = std::string(valore(2)) + "/" + std::string(valore(3)) + "/" +
                        std::string(valore(4)) + " km/h a " + posto(valore(1));
            tipo = 8;
        } else {
            continue;
        }
        if (nome.empty())
            nome = dettaglio;
        campo_letto tutta;
        tutta.inizio = parola.inizio;
        tutta.fine = linea.size();
        nlohmann::json simbolo = {{"name", nome},
                                  {"detail", dettaglio},
                                  {"kind", tipo},
                                  {"range", intervallo_campo(linea, n, tutta)},
                                  {"selectionRange", intervallo_campo(linea, n, parola)}};
        if (sezione)
            (*sezione)["children"].push_back(std::move(simbolo));
        else
            simboli.push_back(std::move(simbolo));
    }
    chiudi_sezione();
    return simboli;
}

} // namespace corvenna
