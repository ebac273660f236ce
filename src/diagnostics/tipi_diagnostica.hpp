#pragma once

// Every kind of diagnostic the build gives, in one table: each kind of warning and each error
// code, and the few failures of the authors' tool itself (a file it cannot read, a command line
// it does not accept), which its reports name like diagnostics; each with its stable name, a
// one-line text that says what it is and an explanation of what it means and what to do about it.
// The compile names a warning by its kind; the printers take the name they show from here, and the
// programs take an error code's sentence from here.
//
// Names are public: a warning's name is printed with it ("[riga-ripetuta]", "codice" in JSON),
// so a name never changes once given. Names are unique over warnings and errors together.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace corvenna {

enum class gravita { errore, avviso };

// The kinds of warning, in the order of the table.
enum class tipo_avviso : std::uint8_t {
    // How the lines are read.
    parola_chiave_multipla,
    parola_chiave_sconosciuta,
    valori_in_eccesso,
    valori_su_piu_righe,
    ultimo_campo_ignorato,
    prima_di_generale,
    generale_mancante,
    riga_ripetuta,
    testo_accorciato,
    byte_non_stampabile,
    // Values changed to fit what the files hold.
    posizione_arrotondata,
    velocita_arrotondata,
    valore_troncato,
    tempo_segnale_cambiato,
    valore_stazione_ignorato,
    classe_curva_multipla,
    tipo_montagna_cambiato,
    // Lines out of order.
    prima_posizione_non_zero,
    posizione_non_crescente,
    curva_sovrapposta,
    // Features that hide, replace or lose one another.
    elemento_coperto,
    marcatore_galleria_sostituito,
    marcatore_galleria_omesso,
    marcatori_sovrascritti,
    montagne_sovrapposte,
    montagna_vuota,
    rallentamento_senza_fine,
    preavvisi_omessi,
    abbattimento_ridotto,
    // The compile stopped early.
    compilazione_interrotta,
    // Found by the checking pass, which reads the descriptions apart from the compile: what the
    // compile accepts silently but reads otherwise than written.
    oltre_il_percorso,
    progressive_annullate,
    lettere_fraintese,
    valore_avvolto,
    treno_vuoto,
    senza_stazioni,
    parola_chiave_simile,
    intestazione_sconosciuta,
    riga_fuori_sezione,
    trattino_in_parola_chiave,
    separatore_non_valido,
    commento_con_virgola,
    orario_non_valido,
    orario_decrescente,
    // What the author wrote is lost or changed: an error of the authors' tool by default.
    elemento_perso,
    riga_inghiottita,
    curva_ignorata,
    progressiva_mai_applicata,
    commento_non_valido,
    // Found by the dry run: a timetable no train keeps, signals too close to stop between them.
    orario_impossibile,
    orario_irrealizzabile,
    margine_scarso,
    frenatura_insufficiente,
};

// How many kinds of warning there are: the last kind above, plus one.
inline constexpr std::size_t numero_tipi_avviso =
    static_cast<std::size_t>(tipo_avviso::frenatura_insufficiente) + 1;

// One kind of diagnostic.
struct tipo_diagnostica {
    gravita livello = gravita::avviso;
    // Kebab-case, stable.
    std::string_view nome;
    // One line: what it is. For an error, the sentence the programs print for its code.
    std::string_view testo;
    // A few sentences: what it means and what to do.
    std::string_view spiegazione;
    // A warning's kind; std::nullopt for an error.
    std::optional<tipo_avviso> avviso;
    // An error's code; 0 for a warning and for a failure of the tool, which has no compile code.
    std::int32_t codice = 0;
    // For an error, true when the build records a position in metres with its code.
    bool con_posizione = false;
    // For a warning, true when no author can mean what the compile makes of it (a value wrapped
    // into its field, a feature past the route's end): the authors' tool then refuses it as an
    // error unless it is allowed by name. The generator never looks at it.
    bool errore_nello_strumento = false;
    // True for a failure of the authors' tool, not of the compile (an error without a code):
    // its reports give it this name, and `scenario spiega` explains it, but no description
    // gives it, and the tool's exit status tells it apart (2 for a file, 64 for the command
    // line) rather than 1.
    bool dello_strumento = false;
};

// The whole table: the warnings in the order of `tipo_avviso`, then the errors by code, then the
// failures of the tool.
std::span<const tipo_diagnostica> tipi_diagnostica();

const tipo_diagnostica& tipo_di(tipo_avviso tipo);
// The kind named `nome`, warning or error; nullptr when there is none.
const tipo_diagnostica* tipo_di_nome(std::string_view nome);
// The error of code `codice`; nullptr when the build has no such code (and for 0: the tool's
// failures have no code).
const tipo_diagnostica* tipo_di_codice(std::int32_t codice);

// The sentence of an error code, "errore sconosciuto" for a code the build does not have.
std::string_view testo_codice(std::int32_t codice);
// True for the codes that come with a position (`posizione_errore`).
bool codice_con_posizione(std::int32_t codice);

} // namespace corvenna
