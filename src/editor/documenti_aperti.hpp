#pragma once

// The documents the editor holds open, with the text it last sent. The editor's text is the
// truth for an open document; the file on disk is read only for a document that is not open.

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace corvenna {

struct documento_aperto {
    // The document's URI as the editor wrote it (answers name it the same way).
    std::string uri;
    // UTF-8, as the editor sends it.
    std::string testo;
    std::int64_t versione = 0;
};

// Applies one entry of a didChange's contentChanges: the whole text, or (with a "range") the
// text replacing that range. A range out of the text is clamped to it; a start after the end
// replaces nothing. Throws nlohmann::json::exception for an entry without a text.
void applica_modifica(std::string& testo, const nlohmann::json& modifica);

// Open documents keyed by the local path their URI names, so that two spellings of one URI
// (letters escaped or not) are one document.
class documenti_aperti {
  public:
    void apri(const std::string& percorso, documento_aperto d);
    // False when the document is not open.
    bool modifica(const std::string& percorso, const nlohmann::json& modifiche,
                  std::int64_t versione);
    void chiudi(const std::string& percorso);
    const documento_aperto* trova(const std::string& percorso) const;
    const std::map<std::string, documento_aperto>& tutti() const { return aperti_; }

  private:
    std::map<std::string, documento_aperto> aperti_;
};

} // namespace corvenna
