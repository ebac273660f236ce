#include "editor/server_lsp.hpp"

#include "base/codifica_1252.hpp"
#include "base/json_limitato.hpp"
#include "diagnostics/uri_percorso.hpp"
#include "editor/coppia_scenario.hpp"
#include "editor/diagnostiche_lsp.hpp"
#include "editor/posizioni_testo.hpp"
#include "editor/risposte_documento.hpp"
#include "format/identita_valida.hpp"

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

bool prima_o_uguale(const posizione_lsp& a, const posizione_lsp& b) {
    return a.riga < b.riga || (a.riga == b.riga && a.carattere <= b.carattere);
}

bool si_toccano(const intervallo_testo& a, const intervallo_testo& b) {
    return prima_o_uguale(a.inizio, b.fine) && prima_o_uguale(b.inizio, a.fine);
}

std::string testo_utf8(std::string byte) {
    if (utf8_valido(byte))
        return byte;
    return da_1252(byte);
}

// Where the server's own notes stand: the document's first character.
constexpr intervallo_testo inizio_documento = {{0, 0}, {0, 1}};

const std::string& uri_dei_parametri(const nlohmann::json& parametri) {
    return parametri.at("textDocument").at("uri").get_ref<const std::string&>();
}

std::string nota_uri_non_file(const std::string& uri) {
    std::string nota(1, '\'');
    nota += uri.substr(0, 200);
    nota += "' non e' un file (file:): si controllano solo le descrizioni salvate su disco, "
            "NOME_linea.txt e NOME_NUMERO-.txt";
    return nota;
}

std::string nota_troppo_grande(std::size_t byte) {
    return "il documento e' troppo grande: " + std::to_string(byte) +
           " byte, oltre il massimo di 16 MiB di una descrizione; non e' controllato finche' "
           "il suo testo intero non torna sotto il massimo";
}

} // namespace

server_lsp::server_lsp(diagnosi& diagnosi, accesso_file& file) : diagnosi_(diagnosi), file_(file) {}

std::vector<nlohmann::json> server_lsp::ricevi_testo(std::string_view corpo) {
    json_letto letto = leggi_json(corpo);
    if (!letto.riuscito())
        return {messaggio_errore(nullptr, errore_rpc::analisi,
                                 "il messaggio non e' JSON valido: " + testo_difetto(letto))};
    return ricevi(letto.valore);
}

std::vector<nlohmann::json> server_lsp::errore_cornice(const std::string& motivo) {
    return {messaggio_errore(nullptr, errore_rpc::analisi, "messaggio scartato: " + motivo)};
}

std::vector<nlohmann::json> server_lsp::ricevi(const nlohmann::json& messaggio) {
    std::vector<nlohmann::json> uscita;
    if (finito_)
        return uscita;
    if (!messaggio.is_object())
        return {messaggio_errore(nullptr, errore_rpc::richiesta_non_valida,
                                 "il messaggio non e' un oggetto")};
    const auto id = messaggio.find("id");
    const auto metodo = messaggio.find("method");
    if (metodo == messaggio.end()) {
        // An answer to a request of the server's: it sends none, so there is nothing to match.
        if (id != messaggio.end() && (messaggio.contains("result") || messaggio.contains("error")))
            return uscita;
        const bool id_valido =
            id != messaggio.end() && (id->is_number_integer() || id->is_string());
        return {messaggio_errore(id_valido ? *id : nullptr, errore_rpc::richiesta_non_valida,
                                 "messaggio senza \"method\"")};
    }
    const bool richiesta = id != messaggio.end();
    if (!metodo->is_string() || (richiesta && !id->is_number_integer() && !id->is_string()))
        return {messaggio_errore(
            richiesta && (id->is_number_integer() || id->is_string()) ? *id : nullptr,
            errore_rpc::richiesta_non_valida, "\"method\" o \"id\" non validi")};
    const std::string& nome = metodo->get_ref<const std::string&>();
    const auto p = messaggio.find("params");
    static const nlohmann::json nessun_parametro = nlohmann::json::object();
    const nlohmann::json& parametri = p != messaggio.end() ? *p : nessun_parametro;

    if (nome == "exit") {
        finito_ = true;
        return uscita;
    }
    if (!inizializzato_ && nome != "initialize") {
        if (richiesta)
            uscita.push_back(
                messaggio_errore(*id, errore_rpc::non_inizializzato, "server non inizializzato"));
        return uscita;
    }
    if (arresto_) {
        if (richiesta)
            uscita.push_back(messaggio_errore(*id, errore_rpc::richiesta_non_valida,
                                              "richiesta dopo shutdown: si attende exit"));
        return uscita;
    }
    try {
        if (richiesta) {
            nlohmann::json risultato = esegui(nome, parametri, uscita);
            uscita.push_back(messaggio_risposta(*id, std::move(risultato)));
        } else {
            notifica(nome, parametri, uscita);
        }
    } catch (const errore_richiesta& e) {
        if (richiesta)
            uscita.push_back(messaggio_errore(*id, e.codice, e.what()));
    } catch (const nlohmann::json::exception& e) {
        const std::string motivo = "parametri non validi per " + nome + ": " + e.what();
        if (richiesta)
            uscita.push_back(messaggio_errore(*id, errore_rpc::parametri_non_validi, motivo));
        else
            uscita.push_back(
                messaggio_notifica("window/logMessage", {{"type", 1}, {"message", motivo}}));
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
        return capacita_server();
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
            return in_json(simboli_documento(*testo, d, compilata));
        const posizione_lsp p = posizione_da_json(parametri.at("position"));
        if (metodo == "textDocument/hover")
            return in_json(hover_campo(*testo, d, p, compilata));
        return in_json(completamenti(*testo, d, p));
    }
    if (metodo == "textDocument/definition")
        return in_json(definizione(parametri));
    if (metodo == "textDocument/codeAction")
        return in_json(azioni(parametri));
    throw errore_richiesta(errore_rpc::metodo_sconosciuto, "metodo sconosciuto: " + metodo);
}

void server_lsp::notifica(const std::string& metodo, const nlohmann::json& parametri,
                          std::vector<nlohmann::json>& uscita) {
    if (metodo != "textDocument/didOpen" && metodo != "textDocument/didChange" &&
        metodo != "textDocument/didSave" && metodo != "textDocument/didClose")
        // Every other notification ($/cancelRequest, $/setTrace, initialized, ...) needs
        // nothing.
        return;
    const std::string& uri = uri_dei_parametri(parametri);
    const std::optional<std::string> locale = percorso_da_uri(uri);
    if (!locale) {
        // Not a file: told once, when the editor opens it; nothing of it is held.
        if (metodo == "textDocument/didOpen")
            uscita.push_back(messaggio_notifica("textDocument/publishDiagnostics",
                                                diagnostiche_pubblicate(uri, std::nullopt,
                                                                        {{inizio_documento,
                                                                          gravita_lsp::informazione,
                                                                          std::nullopt,
                                                                          nota_uri_non_file(uri),
                                                                          {}}})));
        return;
    }
    const std::string& percorso = *locale;
    if (metodo == "textDocument/didOpen") {
        const nlohmann::json& doc = parametri.at("textDocument");
        const std::string& testo = doc.at("text").get_ref<const std::string&>();
        documento_aperto aperto{uri, {}, doc.value("version", std::int64_t{0}), std::nullopt};
        // A text too large is not copied at all.
        if (testo.size() > byte_massimi_descrizione)
            aperto.byte_oltre = testo.size();
        else
            aperto.testo = testo;
        documenti_.apri(percorso, std::move(aperto));
        diagnostica_coppia(percorso, uscita);
    } else if (metodo == "textDocument/didChange") {
        if (documenti_.modifica(percorso, parametri.at("contentChanges"),
                                parametri.at("textDocument").value("version", std::int64_t{0})))
            diagnostica_coppia(percorso, uscita);
    } else if (metodo == "textDocument/didSave") {
        diagnostica_coppia(percorso, uscita);
    } else {
        documenti_.chiudi(percorso);
    }
}

std::string server_lsp::percorso_di(const nlohmann::json& parametri) const {
    const std::string& uri = uri_dei_parametri(parametri);
    std::optional<std::string> percorso = percorso_da_uri(uri);
    if (!percorso)
        throw errore_richiesta(errore_rpc::parametri_non_validi, nota_uri_non_file(uri));
    return std::move(*percorso);
}

std::optional<std::string> server_lsp::testo_di(const std::string& percorso) {
    if (const documento_aperto* d = documenti_.trova(percorso)) {
        if (d->byte_oltre)
            return std::nullopt;
        return d->testo;
    }
    if (auto byte = file_.leggi(percorso))
        return testo_utf8(std::move(*byte));
    return std::nullopt;
}

std::string server_lsp::uri_di(const std::string& percorso) const {
    if (const documento_aperto* d = documenti_.trova(percorso))
        return d->uri;
    return uri_file(percorso);
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
    const auto solo = [&](const std::string& messaggio, gravita_lsp gravita) {
        pubblica_nota(percorso, uri_di(percorso), messaggio, gravita, uscita);
    };
    if (const documento_aperto* d = documenti_.trova(percorso); d && d->byte_oltre) {
        solo(nota_troppo_grande(*d->byte_oltre), gravita_lsp::errore);
        return;
    }
    const std::optional<coppia_scenario> coppia = coppia_di(percorso, candidati);
    if (!coppia) {
        solo("il nome del file non e' NOME_linea.txt ne' NOME_NUMERO-.txt: non si sa con quale "
             "descrizione compilarlo, e non e' controllato",
             gravita_lsp::informazione);
        return;
    }
    if (coppia->treno.empty()) {
        solo("nessuna descrizione del treno " + nome->identita.nome_scenario +
                 "_NUMERO-.txt in questa cartella: la linea si controlla con il suo treno",
             gravita_lsp::errore);
        return;
    }
    // The names must give an identity `controlla` takes: otherwise it would refuse the pair.
    if (const auto motivo = identita_non_valida(coppia->identita)) {
        solo(*motivo + "; la coppia non e' controllata", gravita_lsp::errore);
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
            if (d->byte_oltre) {
                solo("l'altra descrizione di questo scenario, " + p + ", e' troppo grande (" +
                         std::to_string(*d->byte_oltre) + " byte, oltre il massimo di 16 MiB)",
                     gravita_lsp::errore);
                return;
            }
            byte = d->testo;
            documenti[k] = {d->uri, d->testo, {}};
        } else if (auto letto = file_.leggi(p)) {
            byte = std::move(*letto);
            documenti[k] = {uri_file(p), testo_utf8(byte), {}};
        } else {
            solo("impossibile leggere " + p + ", l'altra descrizione di questo scenario",
                 gravita_lsp::errore);
            return;
        }
    }
    for (luogo_documento& doc : documenti)
        doc.indicizza();
    const elenco_diagnostiche elenco = diagnosi_.esamina(testi);
    // Kept for the hovers of both files: what the compile of this pair made.
    const auto esaminati = std::make_shared<const testi_scenario>(std::move(testi));
    ultime_coppie_[coppia->linea] = esaminati;
    ultime_coppie_[coppia->treno] = esaminati;
    const documento_di documento = [&](descrizione d) -> const luogo_documento& {
        return documenti[d == descrizione::treno ? 1 : 0];
    };

    std::vector<pubblicata> per_file[2];
    std::size_t tralasciate[2] = {0, 0};
    for (const diagnostica& d : elenco) {
        const int k = d.file == descrizione::treno ? 1 : 0;
        // Those the diagnosis only counted are left out with the others.
        tralasciate[k] += d.altre_uguali;
        if (per_file[k].size() >= massimo_pubblicate) {
            ++tralasciate[k];
            continue;
        }
        pubblicata p;
        p.diagnostica = in_diagnostica_lsp(d, documenti[k], documento);
        for (const correzione& c : d.correzioni) {
            const luogo_documento& doc =
                documento(c.file.value_or(d.file.value_or(descrizione::linea)));
            p.azioni.push_back({da_1252(c.titolo), d.correzioni.size() == 1, p.diagnostica, doc.uri,
                                modifica_correzione(doc, c)});
        }
        per_file[k].push_back(std::move(p));
    }
    for (int k = 0; k < 2; ++k) {
        if (tralasciate[k] > 0)
            per_file[k].push_back(
                {{inizio_documento,
                  gravita_lsp::informazione,
                  std::nullopt,
                  "... e altre " + std::to_string(tralasciate[k]) + " diagnostiche in questo file",
                  {}},
                 {}});
        pubblica(*percorsi[k], documenti[k].uri, std::move(per_file[k]), uscita);
    }
}

void server_lsp::pubblica(const std::string& percorso, const std::string& uri,
                          std::vector<pubblicata> elenco, std::vector<nlohmann::json>& uscita) {
    std::vector<diagnostica_lsp> diagnostiche;
    for (const pubblicata& p : elenco)
        diagnostiche.push_back(p.diagnostica);
    std::optional<std::int64_t> versione;
    if (const documento_aperto* d = documenti_.trova(percorso))
        versione = d->versione;
    uscita.push_back(messaggio_notifica("textDocument/publishDiagnostics",
                                        diagnostiche_pubblicate(uri, versione, diagnostiche)));
    pubblicate_[percorso] = std::move(elenco);
}

void server_lsp::pubblica_nota(const std::string& percorso, const std::string& uri,
                               const std::string& messaggio, gravita_lsp gravita,
                               std::vector<nlohmann::json>& uscita) {
    pubblica(percorso, uri, {{{inizio_documento, gravita, std::nullopt, messaggio, {}}, {}}},
             uscita);
}

std::vector<luogo_lsp> server_lsp::definizione(const nlohmann::json& parametri) {
    std::vector<luogo_lsp> luoghi;
    const auto trovate = pubblicate_.find(percorso_di(parametri));
    if (trovate == pubblicate_.end())
        return luoghi;
    const posizione_lsp punto = posizione_da_json(parametri.at("position"));
    for (const pubblicata& p : trovate->second)
        if (si_toccano(p.diagnostica.intervallo, {punto, punto}))
            for (const diagnostica_lsp::correlata& c : p.diagnostica.correlate)
                luoghi.push_back(c.luogo);
    return luoghi;
}

std::vector<azione_correzione> server_lsp::azioni(const nlohmann::json& parametri) {
    std::vector<azione_correzione> risultato;
    const auto trovate = pubblicate_.find(percorso_di(parametri));
    if (trovate == pubblicate_.end())
        return risultato;
    const intervallo_testo intervallo = intervallo_da_json(parametri.at("range"));
    for (const pubblicata& p : trovate->second)
        if (si_toccano(p.diagnostica.intervallo, intervallo))
            for (const azione_correzione& a : p.azioni)
                risultato.push_back(a);
    return risultato;
}

} // namespace corvenna
