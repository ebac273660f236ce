#include "editor/server_lsp.hpp"

#include "base/codifica_1252.hpp"
#include "editor/coppia_scenario.hpp"
#include "editor/diagnostiche_lsp.hpp"
#include "editor/posizioni_testo.hpp"
#include "editor/risposte_documento.hpp"

#include <algorithm>
#include <stdexcept>

namespace corvenna {

namespace {

// A request the server answers with an error rather than a result.
struct errore_richiesta : std::runtime_error {
    int codice;
    errore_richiesta(int c, const std::string& messaggio)
        : std::runtime_error(messaggio), codice(c) {}
};

// At most this many diagnostics a document: a description of junk gives one a line, and an
// editor slows down long before it has shown them all.
constexpr std::size_t massimo_pubblicate = 1000;

nlohmann::json risposta(const nlohmann::json& id, nlohmann::json risultato) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}};
}

nlohmann::json errore(const nlohmann::json& id, int codice, const std::string& messaggio) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}};
}

nlohmann::json notifica_messaggio(const std::string& metodo, nlohmann::json parametri) {
    return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}};
}

nlohmann::json capacita() {
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

posizione_lsp leggi_posizione(const nlohmann::json& p) {
    return {p.at("line").get<int>(), p.at("character").get<int>()};
}

bool prima_o_uguale(const nlohmann::json& a, const nlohmann::json& b) {
    const int ra = a.at("line").get<int>();
    const int rb = b.at("line").get<int>();
    return ra < rb || (ra == rb && a.at("character").get<int>() <= b.at("character").get<int>());
}

bool si_toccano(const nlohmann::json& a, const nlohmann::json& b) {
    return prima_o_uguale(a.at("start"), b.at("end")) && prima_o_uguale(b.at("start"), a.at("end"));
}

std::string testo_utf8(std::string byte) {
    if (utf8_valido(byte))
        return byte;
    return da_1252(byte);
}

// The exact range a fix replaces: columns [colonna, colonna_fine) of its line.
nlohmann::json intervallo_correzione(std::string_view testo, const correzione& c) {
    const int r = c.riga > 0 ? c.riga - 1 : 0;
    const std::string_view linea = riga_di(testo, r);
    const int colonna = std::max(c.colonna, 1);
    const int inizio = utf16_da_caratteri(linea, colonna - 1);
    const int fine = utf16_da_caratteri(linea, std::max(c.colonna_fine, colonna) - 1);
    return {{"start", {{"line", r}, {"character", inizio}}},
            {"end", {{"line", r}, {"character", std::max(inizio, fine)}}}};
}

} // namespace

server_lsp::server_lsp(diagnosi& diagnosi, accesso_file& file) : diagnosi_(diagnosi), file_(file) {}

std::vector<nlohmann::json> server_lsp::ricevi_testo(std::string_view corpo) {
    nlohmann::json messaggio = nlohmann::json::parse(corpo, nullptr, false);
    if (messaggio.is_discarded())
        return {errore(nullptr, errore_rpc::analisi, "il messaggio non e' JSON valido")};
    return ricevi(messaggio);
}

std::vector<nlohmann::json> server_lsp::errore_cornice(const std::string& motivo) {
    return {errore(nullptr, errore_rpc::analisi, "messaggio scartato: " + motivo)};
}

std::vector<nlohmann::json> server_lsp::ricevi(const nlohmann::json& messaggio) {
    std::vector<nlohmann::json> uscita;
    if (finito_)
        return uscita;
    if (!messaggio.is_object())
        return {
            errore(nullptr, errore_rpc::richiesta_non_valida, "il messaggio non e' un oggetto")};
    const auto id = messaggio.find("id");
    const auto metodo = messaggio.find("method");
    if (metodo == messaggio.end()) {
        // An answer to a request of the server's: it sends none, so there is nothing to match.
        if (id != messaggio.end() && (messaggio.contains("result") || messaggio.contains("error")))
            return uscita;
        return {errore(id != messaggio.end() ? *id : nullptr, errore_rpc::richiesta_non_valida,
                       "messaggio senza \"method\"")};
    }
    const bool richiesta = id != messaggio.end();
    if (!metodo->is_string() || (richiesta && !id->is_number_integer() && !id->is_string()))
        return {errore(richiesta && (id->is_number_integer() || id->is_string()) ? *id : nullptr,
                       errore_rpc::richiesta_non_valida, "\"method\" o \"id\" non validi")};
    const std::string& nome = metodo->get_ref<const std::string&>();
    const auto p = messaggio.find("params");
    const nlohmann::json parametri = p != messaggio.end() ? *p : nlohmann::json::object();

    if (nome == "exit") {
        finito_ = true;
        return uscita;
    }
    if (!inizializzato_ && nome != "initialize") {
        if (richiesta)
            uscita.push_back(
                errore(*id, errore_rpc::non_inizializzato, "server non inizializzato"));
        return uscita;
    }
    if (arresto_) {
        if (richiesta)
            uscita.push_back(errore(*id, errore_rpc::richiesta_non_valida,
                                    "richiesta dopo shutdown: si attende exit"));
        return uscita;
    }
    try {
        if (richiesta) {
            nlohmann::json risultato = esegui(nome, parametri, uscita);
            uscita.push_back(risposta(*id, std::move(risultato)));
        } else {
            notifica(nome, parametri, uscita);
        }
    } catch (const errore_richiesta& e) {
        if (richiesta)
            uscita.push_back(errore(*id, e.codice, e.what()));
    } catch (const nlohmann::json::exception& e) {
        const std::string motivo = "parametri non validi per " + nome + ": " + e.what();
        if (richiesta)
            uscita.push_back(errore(*id, errore_rpc::parametri_non_validi, motivo));
        else
            uscita.push_back(
                notifica_messaggio("window/logMessage", {{"type", 1}, {"message", motivo}}));
    }
    return uscita;
}

nlohmann::json server_lsp::esegui(const std::string& metodo, const nlohmann::json& parametri,
                                  std::vector<nlohmann::json>&) {
    if (metodo == "initialize") {
        inizializzato_ = true;
        // The client's setting of the dry run's train model: {"modello": NAME or FILE}.
        if (const auto o = parametri.find("initializationOptions");
            o != parametri.end() && o->is_object() && o->contains("modello") &&
            (*o)["modello"].is_string())
            diagnosi_.imposta_modello((*o)["modello"].get<std::string>());
        return capacita();
    }
    if (metodo == "shutdown") {
        arresto_ = true;
        return nullptr;
    }
    if (metodo == "textDocument/hover" || metodo == "textDocument/completion" ||
        metodo == "textDocument/documentSymbol") {
        const std::string percorso = percorso_di(parametri);
        const std::optional<std::string> testo = testo_di(percorso);
        if (!testo)
            return nullptr;
        const descrizione d = tipo_di_percorso(percorso);
        // What the compile of the file's pair made, as it was last diagnosed.
        compilazione_coppia compilata;
        if (const auto c = ultime_coppie_.find(percorso); c != ultime_coppie_.end()) {
            compilata.descrivi_metro = [this, testi = c->second](long long metro) {
                return diagnosi_.descrivi_metro(*testi, metro);
            };
            compilata.chilometro = [this, testi = c->second](long long metro) {
                return diagnosi_.chilometro(*testi, metro);
            };
            compilata.marcia_riga = [this, testi = c->second, d](int riga) {
                return diagnosi_.marcia_riga(*testi, d, riga);
            };
        }
        if (metodo == "textDocument/documentSymbol")
            return simboli_documento(*testo, d, compilata);
        const posizione_lsp p = leggi_posizione(parametri.at("position"));
        if (metodo == "textDocument/hover")
            return hover_campo(*testo, d, p, compilata);
        return completamenti(*testo, d, p);
    }
    if (metodo == "textDocument/definition")
        return definizione(parametri);
    if (metodo == "textDocument/codeAction")
        return azioni(parametri);
    throw errore_richiesta(errore_rpc::metodo_sconosciuto, "metodo sconosciuto: " + metodo);
}

void server_lsp::notifica(const std::string& metodo, const nlohmann::json& parametri,
                          std::vector<nlohmann::json>& uscita) {
    if (metodo == "textDocument/didOpen") {
        const nlohmann::json& doc = parametri.at("textDocument");
        const std::string percorso = percorso_di(parametri);
        documenti_.apri(percorso,
                        {doc.at("uri").get<std::string>(), doc.at("text").get<std::string>(),
                         doc.value("version", std::int64_t{0})});
        diagnostica_coppia(percorso, uscita);
    } else if (metodo == "textDocument/didChange") {
        const std::string percorso = percorso_di(parametri);
        if (documenti_.modifica(percorso, parametri.at("contentChanges"),
                                parametri.at("textDocument").value("version", std::int64_t{0})))
            diagnostica_coppia(percorso, uscita);
    } else if (metodo == "textDocument/didSave") {
        diagnostica_coppia(percorso_di(parametri), uscita);
    } else if (metodo == "textDocument/didClose") {
        documenti_.chiudi(percorso_di(parametri));
    }
    // Every other notification ($/cancelRequest, $/setTrace, initialized, ...) needs nothing.
}

std::string server_lsp::percorso_di(const nlohmann::json& parametri) const {
    const std::string& uri = parametri.at("textDocument").at("uri").get_ref<const std::string&>();
    // A document without a file (an unsaved buffer) is known by its URI.
    return percorso_da_uri(uri).value_or(uri);
}

std::optional<std::string> server_lsp::testo_di(const std::string& percorso) {
    if (const documento_aperto* d = documenti_.trova(percorso))
        return d->testo;
    if (auto byte = file_.leggi(percorso))
        return testo_utf8(std::move(*byte));
    return std::nullopt;
}

std::string server_lsp::uri_di(const std::string& percorso) const {
    if (const documento_aperto* d = documenti_.trova(percorso))
        return d->uri;
    return uri_da_percorso(percorso);
}

descrizione server_lsp::tipo_di_percorso(const std::string& percorso) const {
    const auto nome = riconosci_nome(nome_di(percorso));
    return nome ? nome->tipo : descrizione::linea;
}

void server_lsp::diagnostica_coppia(const std::string& percorso,
                                    std::vector<nlohmann::json>& uscita) {
    const std::string_view cartella = cartella_di(percorso);
    std::vector<std::string> candidati;
    const auto nome = riconosci_nome(nome_di(percorso));
    if (nome && nome->tipo == descrizione::linea) {
        for (const auto& [altro, doc] : documenti_.tutti())
            if (cartella_di(altro) == cartella)
                candidati.emplace_back(nome_di(altro));
        for (std::string& n :
             file_.elenca(cartella.empty() ? std::string(".") : std::string(cartella)))
            candidati.push_back(std::move(n));
    }
    const auto solo = [&](const std::string& messaggio, int gravita) {
        nlohmann::json d = {{"range", intervallo_lsp("", 0, 0, 0)},
                            {"severity", gravita},
                            {"source", "scenario"},
                            {"message", messaggio}};
        pubblica(percorso, uri_di(percorso), {pubblicata{d, {}, {}}}, uscita);
    };
    const std::optional<coppia_scenario> coppia = coppia_di(percorso, candidati);
    if (!coppia) {
        solo("il nome del file non e' NOME_linea.txt ne' NOME_NUMERO-.txt: non si sa con quale "
             "descrizione compilarlo, e non e' controllato",
             3);
        return;
    }
    if (coppia->treno.empty()) {
        solo("nessuna descrizione del treno " + nome->identita.nome_scenario +
                 "_NUMERO-.txt in questa cartella: la linea si controlla con il suo treno",
             1);
        return;
    }

    // The texts as the compile takes them: the editor's, or the file's bytes as on disk.
    luogo_documento documenti[2];
    testi_scenario testi;
    testi.identita = coppia->identita;
    const std::string* percorsi[2] = {&coppia->linea, &coppia->treno};
    for (int k = 0; k < 2; ++k) {
        const std::string& p = *percorsi[k];
        std::string& byte = k == 0 ? testi.linea : testi.treno;
        if (const documento_aperto* d = documenti_.trova(p)) {
            byte = d->testo;
            documenti[k] = {d->uri, d->testo};
        } else if (auto letto = file_.leggi(p)) {
            byte = std::move(*letto);
            documenti[k] = {uri_da_percorso(p), testo_utf8(byte)};
        } else {
            solo("impossibile leggere " + p + ", l'altra descrizione di questo scenario", 1);
            return;
        }
    }
    const elenco_diagnostiche elenco = diagnosi_.esamina(testi);
    // Kept for the hovers of both files: what the compile of this pair made.
    const auto esaminati = std::make_shared<const testi_scenario>(testi);
    ultime_coppie_[coppia->linea] = esaminati;
    ultime_coppie_[coppia->treno] = esaminati;
    const documento_di documento = [&](descrizione d) -> const luogo_documento& {
        return documenti[d == descrizione::treno ? 1 : 0];
    };

    std::vector<pubblicata> per_file[2];
    std::size_t tralasciate[2] = {0, 0};
    for (const diagnostica& d : elenco) {
        const int k = d.file == descrizione::treno ? 1 : 0;
        if (per_file[k].size() >= massimo_pubblicate) {
            ++tralasciate[k];
            continue;
        }
        pubblicata p;
        p.lsp = diagnostica_lsp(d, documenti[k].testo, documento);
        if (const auto correlati = p.lsp.find("relatedInformation"); correlati != p.lsp.end())
            for (const nlohmann::json& c : *correlati)
                p.correlati.push_back(c.at("location"));
        for (const correzione& c : d.correzioni) {
            const luogo_documento& doc =
                documento(c.file.value_or(d.file.value_or(descrizione::linea)));
            nlohmann::json modifica = {{"range", intervallo_correzione(doc.testo, c)},
                                       {"newText", da_1252(c.testo)}};
            p.azioni.push_back({{"title", da_1252(c.titolo)},
                                {"kind", "quickfix"},
                                {"diagnostics", {p.lsp}},
                                {"isPreferred", d.correzioni.size() == 1},
                                {"edit", {{"changes", {{doc.uri, {modifica}}}}}}});
        }
        per_file[k].push_back(std::move(p));
    }
    for (int k = 0; k < 2; ++k) {
        if (tralasciate[k] > 0)
            per_file[k].push_back(
                pubblicata{{{"range", intervallo_lsp("", 0, 0, 0)},
                            {"severity", 3},
                            {"source", "scenario"},
                            {"message", "... e altre " + std::to_string(tralasciate[k]) +
                                            " diagnostiche in questo file"}},
                           {},
                           {}});
        pubblica(*percorsi[k], documenti[k].uri, std::move(per_file[k]), uscita);
    }
}

void server_lsp::pubblica(const std::string& percorso, const std::string& uri,
                          std::vector<pubblicata> elenco, std::vector<nlohmann::json>& uscita) {
    nlohmann::json diagnostiche = nlohmann::json::array();
    for (const pubblicata& p : elenco)
        diagnostiche.push_back(p.lsp);
    nlohmann::json parametri = {{"uri", uri}, {"diagnostics", std::move(diagnostiche)}};
    if (const documento_aperto* d = documenti_.trova(percorso))
        parametri["version"] = d->versione;
    uscita.push_back(notifica_messaggio("textDocument/publishDiagnostics", std::move(parametri)));
    pubblicate_[percorso] = std::move(elenco);
}

nlohmann::json server_lsp::definizione(const nlohmann::json& parametri) {
    const auto trovate = pubblicate_.find(percorso_di(parametri));
    if (trovate == pubblicate_.end())
        return nullptr;
    const nlohmann::json& punto = parametri.at("position");
    const nlohmann::json qui = {{"start", punto}, {"end", punto}};
    nlohmann::json luoghi = nlohmann::json::array();
    for (const pubblicata& p : trovate->second)
        if (si_toccano(p.lsp.at("range"), qui))
            for (const nlohmann::json& l : p.correlati)
                luoghi.push_back(l);
    if (luoghi.empty())
        return nullptr;
    return luoghi;
}

nlohmann::json server_lsp::azioni(const nlohmann::json& parametri) {
    nlohmann::json risultato = nlohmann::json::array();
    const auto trovate = pubblicate_.find(percorso_di(parametri));
    if (trovate == pubblicate_.end())
        return risultato;
    const nlohmann::json& intervallo = parametri.at("range");
    for (const pubblicata& p : trovate->second)
        if (si_toccano(p.lsp.at("range"), intervallo))
            for (const nlohmann::json& a : p.azioni)
                risultato.push_back(a);
    return risultato;
}

} // namespace corvenna
