#pragma once

// What the server answers and publishes, as plain values: ranges, diagnostics, fixes, hovers,
// completions and symbols, in the editor's coordinates (lines from 0, UTF-16 units) and texts in
// UTF-8. They are turned into the protocol's JSON in one place (editor/risposte_json.hpp), so
// the code that decides an answer never spells a JSON key.

#include "editor/posizioni_testo.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace corvenna {

// A Range: from `inizio` to `fine` (excluded).
struct intervallo_testo {
    posizione_lsp inizio;
    posizione_lsp fine;
    friend bool operator==(const intervallo_testo&, const intervallo_testo&) = default;
};

// A Location: a range of the document `uri`.
struct luogo_lsp {
    std::string uri;
    intervallo_testo intervallo;
};

// The protocol's DiagnosticSeverity.
enum class gravita_lsp { errore = 1, avviso = 2, informazione = 3 };

// A Diagnostic. `codice` is an error's number or a warning's name, as `controlla` gives them;
// none for the server's own notes (a file it does not check, diagnostics left out).
struct diagnostica_lsp {
    intervallo_testo intervallo;
    gravita_lsp gravita = gravita_lsp::errore;
    std::optional<std::variant<std::int32_t, std::string>> codice;
    std::string messaggio;
    struct correlata {
        luogo_lsp luogo;
        std::string messaggio;
    };
    std::vector<correlata> correlate;
};

// A TextEdit.
struct modifica_testo {
    intervallo_testo intervallo;
    std::string testo;
};

// A quick-fix CodeAction: one edit of the document `uri`, fixing `diagnostica`.
struct azione_correzione {
    std::string titolo;
    // The only fix of its diagnostic, which an editor may apply at a keystroke.
    bool preferita = false;
    diagnostica_lsp diagnostica;
    std::string uri;
    modifica_testo modifica;
};

// A Hover: Markdown over the range it explains.
struct hover_lsp {
    std::string markdown;
    intervallo_testo intervallo;
};

// The protocol's CompletionItemKind of what the server offers.
enum class tipo_completamento { sezione = 9, riga = 15 };

// A CompletionItem. The editor lists the items by `ordine`, then by label.
struct completamento_lsp {
    std::string etichetta;
    tipo_completamento tipo = tipo_completamento::riga;
    std::string dettaglio;
    // Markdown; none when empty.
    std::string documentazione;
    // The edit's text is a snippet with placeholders (${1:nome}), not plain text.
    bool snippet = false;
    modifica_testo modifica;
    std::string ordine;
};

// The protocol's SymbolKind of each symbol the server lists.
enum class tipo_simbolo {
    sezione = 3,
    stazione = 5,
    cartello = 8,
    galleria = 19,
    rilievo = 20,
    segnale = 24,
};

// A DocumentSymbol. A section lists its rows as children (an empty list for none); a row has
// none.
struct simbolo_lsp {
    std::string nome;
    std::string dettaglio;
    tipo_simbolo tipo = tipo_simbolo::sezione;
    intervallo_testo intervallo;
    intervallo_testo selezione;
    std::optional<std::vector<simbolo_lsp>> figli;
};

} // namespace corvenna
