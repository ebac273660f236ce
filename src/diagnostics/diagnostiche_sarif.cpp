#include "diagnostics/diagnostiche_sarif.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/diagnostiche_json.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

constexpr std::string_view base_sorgenti = "%SRCROOT%";

json messaggio(std::string_view testo_utf8) {
    json m;
    m["text"] = std::string(testo_utf8);
    return m;
}

std::string livello(gravita g) {
    return g == gravita::errore ? "error" : "warning";
}

json luogo_artefatto(const std::optional<descrizione>& file, const luoghi_sarif& luoghi) {
    json a;
    a["uri"] = *file == descrizione::linea ? luoghi.uri_linea : luoghi.uri_treno;
    if (!luoghi.uri_base.empty())
        a["uriBaseId"] = std::string(base_sorgenti);
    return a;
}

// A region of one line: a column of 0 (not known) leaves the whole line.
json regione(int riga, int colonna, int colonna_fine) {
    json r;
    r["startLine"] = riga;
    if (colonna > 0) {
        r["startColumn"] = colonna;
        if (colonna_fine > colonna)
            r["endColumn"] = colonna_fine;
    }
    return r;
}

json luogo_fisico(const std::optional<descrizione>& file, int riga, int colonna, int colonna_fine,
                  const luoghi_sarif& luoghi) {
    json p;
    p["artifactLocation"] = luogo_artefatto(file, luoghi);
    if (riga > 0)
        p["region"] = regione(riga, colonna, colonna_fine);
    return p;
}

json risultato(const diagnostica& d, const luoghi_sarif& luoghi,
               const std::map<std::string, std::size_t, std::less<>>& indici) {
    json r;
    const std::string nome = nome_del_tipo(d);
    r["ruleId"] = nome;
    if (const auto i = indici.find(nome); i != indici.end())
        r["ruleIndex"] = i->second;
    r["level"] = livello(d.livello);
    r["message"] = messaggio(da_1252(d.messaggio));
    if (d.file) {
        json l;
        l["physicalLocation"] = luogo_fisico(d.file, d.riga, d.colonna, d.colonna_fine, luoghi);
        r["locations"] = json::array({std::move(l)});
    }
    if (d.metri)
        r["properties"]["metri"] = *d.metri;
    json correlati = json::array();
    int id = 0;
    for (const luogo_correlato& c : d.correlati) {
        if (!c.file)
            continue;
        json l;
        l["id"] = id++;
        l["physicalLocation"] = luogo_fisico(c.file, c.riga, c.colonna, 0, luoghi);
        l["message"] = messaggio(da_1252(c.messaggio));
        correlati.push_back(std::move(l));
    }
    if (!correlati.empty())
        r["relatedLocations"] = std::move(correlati);
    json correzioni = json::array();
    for (const correzione& c : d.correzioni) {
        if (!c.file || c.riga <= 0 || c.colonna <= 0)
            continue;
        json sostituzione;
        json cancellata;
        cancellata["startLine"] = c.riga;
        cancellata["startColumn"] = c.colonna;
        cancellata["endColumn"] = std::max(c.colonna, c.colonna_fine);
        sostituzione["deletedRegion"] = std::move(cancellata);
        sostituzione["insertedContent"]["text"] = da_1252(c.testo);
        json cambio;
        cambio["artifactLocation"] = luogo_artefatto(c.file, luoghi);
        cambio["replacements"] = json::array({std::move(sostituzione)});
        json f;
        f["description"] = messaggio(da_1252(c.titolo));
        f["artifactChanges"] = json::array({std::move(cambio)});
        correzioni.push_back(std::move(f));
    }
    if (!correzioni.empty())
        r["fixes"] = std::move(correzioni);
    return r;
}

json regola(const tipo_diagnostica& t) {
    json r;
    r["id"] = std::string(t.nome);
    r["shortDescription"] = messaggio(t.testo);
    r["fullDescription"] = messaggio(t.spiegazione);
    r["help"] = messaggio(t.spiegazione);
    r["defaultConfiguration"]["level"] = livello(t.livello);
    if (t.codice != 0)
        r["properties"]["codice"] = t.codice;
    return r;
}

} // namespace

std::string diagnostiche_sarif(const elenco_diagnostiche& elenco, const luoghi_sarif& luoghi,
                               limite_diagnostiche& limite, int rientro) {
    json regole = json::array();
    std::map<std::string, std::size_t, std::less<>> indici;
    for (const tipo_diagnostica& t : tipi_diagnostica()) {
        indici.emplace(std::string(t.nome), regole.size());
        regole.push_back(regola(t));
    }
    json risultati = json::array();
    for (const diagnostica& d : elenco)
        if (limite.mostra(d))
            risultati.push_back(risultato(d, luoghi, indici));

    json notifiche = json::array();
    for (const diagnostiche_tralasciate& t : limite.tralasciate()) {
        json n;
        n["level"] = "note";
        n["message"] = messaggio(testo_tralasciate(t));
        n["associatedRule"]["id"] =
            t.tipo ? std::string(tipo_di(*t.tipo).nome) : nome_di_codice(t.codice);
        n["properties"]["tralasciate"] = t.quante;
        notifiche.push_back(std::move(n));
    }

    json run;
    run["tool"]["driver"]["name"] = "scenario";
    run["tool"]["driver"]["rules"] = std::move(regole);
    if (!luoghi.uri_base.empty())
        run["originalUriBaseIds"][std::string(base_sorgenti)]["uri"] = luoghi.uri_base;
    json invocazione;
    invocazione["executionSuccessful"] = true;
    if (!notifiche.empty())
        invocazione["toolExecutionNotifications"] = std::move(notifiche);
    run["invocations"] = json::array({std::move(invocazione)});
    run["columnKind"] = "utf16CodeUnits";
    run["results"] = std::move(risultati);

    json log;
    log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
    log["version"] = "2.1.0";
    log["runs"] = json::array({std::move(run)});
    return log.dump(rientro, ' ', false, json::error_handler_t::replace);
}

} // namespace corvenna
