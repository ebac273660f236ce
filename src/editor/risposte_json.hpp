#pragma once

// The one place where the server's answers become the protocol's JSON: the JSON-RPC envelope
// (a result, an error, a notification), the server's capabilities, and each answer of
// editor/risposte_lsp.hpp in the shape the protocol gives it.

#include "editor/risposte_lsp.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

// JSON-RPC and protocol error codes the server answers with.
namespace errore_rpc {
inline constexpr int analisi = -32700;
inline constexpr int richiesta_non_valida = -32600;
inline constexpr int metodo_sconosciuto = -32601;
inline constexpr int parametri_non_validi = -32602;
inline constexpr int non_inizializzato = -32002;
} // namespace errore_rpc

// The envelope.
nlohmann::json messaggio_risposta(const nlohmann::json& id, nlohmann::json risultato);
nlohmann::json messaggio_errore(const nlohmann::json& id, int codice, const std::string& testo);
nlohmann::json messaggio_notifica(const std::string& metodo, nlohmann::json parametri);

// The result of "initialize": what the server does and how it takes the documents.
nlohmann::json capacita_server();

// A Position from the editor's JSON (throws nlohmann::json::exception when it is none).
posizione_lsp posizione_da_json(const nlohmann::json& p);
// A Range from the editor's JSON.
intervallo_testo intervallo_da_json(const nlohmann::json& r);

nlohmann::json in_json(const posizione_lsp& p);
nlohmann::json in_json(const intervallo_testo& i);
nlohmann::json in_json(const luogo_lsp& l);
nlohmann::json in_json(const diagnostica_lsp& d);
nlohmann::json in_json(const azione_correzione& a);
// A Hover, or null for none.
nlohmann::json in_json(const std::optional<hover_lsp>& h);
// A CompletionList, complete.
nlohmann::json in_json(const std::vector<completamento_lsp>& elementi);
// DocumentSymbol[].
nlohmann::json in_json(const std::vector<simbolo_lsp>& simboli);
// Location[], or null for none.
nlohmann::json in_json(const std::vector<luogo_lsp>& luoghi);
// CodeAction[].
nlohmann::json in_json(const std::vector<azione_correzione>& azioni);

// The parameters of publishDiagnostics: the document's diagnostics and, for an open document,
// the version they are for.
nlohmann::json diagnostiche_pubblicate(const std::string& uri, std::optional<std::int64_t> versione,
                                       const std::vector<diagnostica_lsp>& diagnostiche);

} // namespace corvenna
