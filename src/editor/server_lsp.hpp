#pragma once

// The language server's logic: one JSON-RPC message in, the messages to send back out (answers
// and notifications), with no stream, no file and no clock. The program that runs it frames the
// messages and supplies the files it reads and the diagnosis of a scenario.
//
// Every document of a pair (`NOME_linea.txt`, `NOME_NUMERO-.txt`) is diagnosed with its partner,
// the partner's text taken from the editor when open and from disk otherwise, on open, change and
// save of either; both get their diagnostics, an empty list once fixed. A document is known by
// the local path of its "file:" URI; one of another scheme is not checked. A document past the
// size of a description is held no further and not compiled, and so is a pair whose names give
// an identity `controlla` refuses: each is told in one diagnostic instead.

#include "editor/accesso_file.hpp"
#include "editor/diagnosi.hpp"
#include "editor/documenti_aperti.hpp"
#include "editor/risposte_json.hpp"
#include "editor/risposte_lsp.hpp"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvenna {

class server_lsp {
  public:
    server_lsp(diagnosi& diagnosi, accesso_file& file);

    // The messages to send for `messaggio`, in order.
    std::vector<nlohmann::json> ricevi(const nlohmann::json& messaggio);
    // The same for a body as framed: a body that is not JSON is answered with a parse error.
    std::vector<nlohmann::json> ricevi_testo(std::string_view corpo);
    // The answer to a frame whose header could not be read (the reason): a parse error.
    std::vector<nlohmann::json> errore_cornice(const std::string& motivo);

    // True once "exit" came; the process then ends with stato_uscita(): 0 after a shutdown
    // request, 1 without one.
    bool finito() const { return finito_; }
    int stato_uscita() const { return arresto_ ? 0 : 1; }

  private:
    // What was last published for a document, kept for definition and code actions.
    struct pubblicata {
        diagnostica_lsp diagnostica;
        // A quick fix for each of its fixes.
        std::vector<azione_correzione> azioni;
    };

    nlohmann::json esegui(const std::string& metodo, const nlohmann::json& parametri,
                          std::vector<nlohmann::json>& uscita);
    void notifica(const std::string& metodo, const nlohmann::json& parametri,
                  std::vector<nlohmann::json>& uscita);
    // Diagnoses the pair `percorso` belongs to and publishes for both files.
    void diagnostica_coppia(const std::string& percorso, std::vector<nlohmann::json>& uscita);
    void pubblica(const std::string& percorso, const std::string& uri,
                  std::vector<pubblicata> elenco, std::vector<nlohmann::json>& uscita);
    // Publishes one note of the server's own for `uri` (a file it does not compile, and why).
    void pubblica_nota(const std::string& percorso, const std::string& uri,
                       const std::string& messaggio, gravita_lsp gravita,
                       std::vector<nlohmann::json>& uscita);

    // The local path of the document the parameters name. Throws errore_richiesta for a URI
    // that names no local file.
    std::string percorso_di(const nlohmann::json& parametri) const;
    // The text of `percorso` as UTF-8 (open document, or file), or std::nullopt.
    std::optional<std::string> testo_di(const std::string& percorso);
    std::string uri_di(const std::string& percorso) const;
    descrizione tipo_di_percorso(const std::string& percorso) const;

    std::vector<luogo_lsp> definizione(const nlohmann::json& parametri);
    std::vector<azione_correzione> azioni(const nlohmann::json& parametri);

    diagnosi& diagnosi_;
    accesso_file& file_;
    documenti_aperti documenti_;
    std::map<std::string, std::vector<pubblicata>> pubblicate_;
    // The texts each file's pair was last diagnosed with, by path.
    std::map<std::string, std::shared_ptr<const testi_scenario>> ultime_coppie_;
    bool inizializzato_ = false;
    bool arresto_ = false;
    bool finito_ = false;
};

} // namespace corvenna
