#pragma once

// The documents the editor holds open, with the text it last sent. The editor's text is the
// truth for an open document; the file on disk is read only for a document that is not open.
// No document is held past the size of a description (byte_massimi_descrizione), whether it
// came whole or grew by edits: a larger one is kept as its size alone, until a change gives its
// whole text again within the limit.

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace corvenna {

struct documento_aperto {
    // The document's URI as the editor wrote it (answers name it the same way).
    std::string uri;
    // UTF-8, as the editor sends it; empty while the document is too large.
    std::string testo;
    std::int64_t versione = 0;
    // The size in bytes the text reached past the limit, when it did: the text is then not
    // held and the document not checked.
    std::optional<std::size_t> byte_oltre;
};

// Applies one entry of a didChange's contentChanges: the whole text, or (with a "range") the
// text replacing that range. A range out of the text is clamped to it; a start after the end
// replaces nothing. Returns the text's size after the change; when that is past `massimo` the
// text is left as it was. Throws nlohmann::json::exception for an entry without a text.
std::size_t applica_modifica(std::string& testo, const nlohmann::json& modifica,
                             std::size_t massimo);

// Open documents keyed by the local path their URI names, so that two spellings of one URI
// (letters escaped or not) are one document.
class documenti_aperti {
  public:
    void apri(const std::string& percorso, documento_aperto d);
    // False when the document is not open. Changes to a document too large are dropped but a
    // change of the whole text.
    bool modifica(const std::string& percorso, const nlohmann::json& modifiche,
                  std::int64_t versione);
    void chiudi(const std::string& percorso);
    const documento_aperto* trova(const std::string& percorso) const;
    const std::map<std::string, documento_aperto>& tutti() const { return aperti_; }

  private:
    std::map<std::string, documento_aperto> aperti_;
};

} // namespace corvenna
