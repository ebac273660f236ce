#include "editor/risposte_json.hpp"

namespace corvenna {

nlohmann::json messaggio_risposta(const nlohmann::json& id, nlohmann::json risultato) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}};
}

nlohmann::json messaggio_errore(const nlohmann::json& id, int codice, const std::string& testo) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", testo}}}};
}

nlohmann::json messaggio_notifica(const std::string& metodo, nlohmann::json parametri) {
    return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}

nlohmann::json capacita_server() {
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync",
               {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", {"["}}}},
              {"documentSymbolProvider", true},
              {"definitionProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
            {"serverInfo", {{"name", "scenario"}}}};
}

posizione_lsp posizione_da_json(const nlohmann::json& p) {
    return {p.at("line").get<int>(), p.at("character").get<int>()};
}

intervallo_testo intervallo_da_json(const nlohmann::json& r) {
    return {posizione_da_json(r.at("start")), posizione_da_json(r.at("end"))};
}

nlohmann::json in_json(const posizione_lsp& p) {
    return {{"line", p.riga}, {"character", p.carattere}};
}

nlohmann::json in_json(const intervallo_testo& i) {
    return {{"start", in_json(i.inizio)}, {"end", in_json(i.fine)}};
}

nlohmann::json in_json(const luogo_lsp& l) {
    return {{"uri", l.uri}, {"range", in_json(l.intervallo)}};
}

nlohmann::json in_json(const diagnostica_lsp& d) {
    nlohmann::json x = {{"range", in_json(d.intervallo)},
                        {"severity", static_cast<int>(d.gravita)},
                        {"source", "scenario"},
                        {"message", d.messaggio}};
    if (d.codice)
        x["code"] = std::visit([](const auto& c) { return nlohmann::json(c); }, *d.codice);
    if (!d.correlate.empty()) {
        nlohmann::json correlate = nlohmann::json::array();
        for (const diagnostica_lsp::correlata& c : d.correlate)
            correlate.push_back({{"location", in_json(c.luogo)}, {"message", c.messaggio}});
        x["relatedInformation"] = std::move(correlate);
    }
    return x;
}

nlohmann::json in_json(const azione_correzione& a) {
    const nlohmann::json modifica = {{"range", in_json(a.modifica.intervallo)},
                                     {"newText", a.modifica.testo}};
    return {{"title", a.titolo},
            {"kind", "quickfix"},
            {"diagnostics", {in_json(a.diagnostica)}},
            {"isPreferred", a.preferita},
            {"edit", {{"changes", {{a.uri, {modifica}}}}}}};
}

nlohmann::json in_json(const std::optional<hover_lsp>& h) {
    if (!h)
        return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", h->markdown}}},
            {"range", in_json(h->intervallo)}};
}

nlohmann::json in_json(const std::vector<completamento_lsp>& elementi) {
    nlohmann::json items = nlohmann::json::array();
    for (const completamento_lsp& e : elementi) {
        nlohmann::json x = {
            {"label", e.etichetta},
            {"kind", static_cast<int>(e.tipo)},
            {"detail", e.dettaglio},
            {"sortText", e.ordine},
            {"textEdit",
             {{"range", in_json(e.modifica.intervallo)}, {"newText", e.modifica.testo}}}};
        if (!e.documentazione.empty())
            x["documentation"] = {{"kind", "markdown"}, {"value", e.documentazione}};
        if (e.snippet)
            x["insertTextFormat"] = 2;
        items.push_back(std::move(x));
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

nlohmann::json in_json(const std::vector<simbolo_lsp>& simboli) {
    nlohmann::json r = nlohmann::json::array();
    for (const simbolo_lsp& s : simboli) {
        nlohmann::json x = {{"name", s.nome},
                            {"kind", static_cast<int>(s.tipo)},
                            {"range", in_json(s.intervallo)},
                            {"selectionRange", in_json(s.selezione)}};
        if (!s.dettaglio.empty())
            x["detail"] = s.dettaglio;
        if (s.figli)
            x["children"] = in_json(*s.figli);
        r.push_back(std::move(x));
    }
    return r;
}

nlohmann::json in_json(const std::vector<luogo_lsp>& luoghi) {
    if (luoghi.empty())
        return nullptr;
    nlohmann::json r = nlohmann::json::array();
    for (const luogo_lsp& l : luoghi)
        r.push_back(in_json(l));
    return r;
}

nlohmann::json in_json(const std::vector<azione_correzione>& azioni) {
    nlohmann::json r = nlohmann::json::array();
    for (const azione_correzione& a : azioni)
        r.push_back(in_json(a));
    return r;
}

nlohmann::json diagnostiche_pubblicate(const std::string& uri, std::optional<std::int64_t> versione,
                                       const std::vector<diagnostica_lsp>& diagnostiche) {
    nlohmann::json elenco = nlohmann::json::array();
    for (const diagnostica_lsp& d : diagnostiche)
        elenco.push_back(in_json(d));
    nlohmann::json x = {{"uri", uri}, {"diagnostics", std::move(elenco)}};
    if (versione)
        x["version"] = *versione;
    return x;
}

} // namespace corvenna
