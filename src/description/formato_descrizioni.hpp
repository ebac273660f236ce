#pragma once

// The description text format as data: every section, keyword and value of the line and train
// descriptions, in one table that the checker, the explanations, the editor support and the
// reference document all read. The table describes what the reader and the compiler do; it
// drives neither, and a unit test holds the two together (each keyword the compiler applies is
// here, with the number of values it reads).
//
// Names given here are public, like the diagnostics' names: a keyword's `parola`, a value's
// `nome` and a section's `nome` never change once given. Entries are only ever added.

#include "base/descrizione.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvenna {

// The type a value is read into. A number outside its type, or a field that is not a number,
// does not read at all: the compile fails with code 25 (lettura-fallita).
enum class tipo_campo : std::uint8_t {
    intero_32,
    intero_16,
    byte,
    testo,
};

// "intero a 32 bit", "intero a 16 bit", "byte (da 0 a 255)", "testo".
std::string_view nome_tipo_campo(tipo_campo tipo);
// The range a value of the type can be read in (for a text: its length in bytes, which the item
// file holds in 16 bits).
constexpr std::int64_t minimo_tipo_campo(tipo_campo tipo) {
    switch (tipo) {
    case tipo_campo::intero_32:
        return -2147483648LL;
    case tipo_campo::intero_16:
        return -32768;
    case tipo_campo::byte:
    case tipo_campo::testo:
        return 0;
    }
    return 0;
}
constexpr std::int64_t massimo_tipo_campo(tipo_campo tipo) {
    switch (tipo) {
    case tipo_campo::intero_32:
        return 2147483647;
    case tipo_campo::intero_16:
    case tipo_campo::testo:
        return 32767;
    case tipo_campo::byte:
        return 255;
    }
    return 0;
}

// A value of a field that has a name: a signal's kind, an aspect.
struct valore_nominato {
    std::int32_t valore = 0;
    std::string_view nome;
};

// One value of a row, in the order the reader takes them.
struct campo_formato {
    // Short and stable: "posizione", "sx", "ore". Unique within its keyword.
    std::string_view nome;
    tipo_campo tipo = tipo_campo::intero_32;
    // "m", "km/h", "per mille", "h", "min", "s", "%"; empty for a pure number or a text.
    std::string_view unita;
    // The range the compile takes as meant: a value inside it (and, with `multiplo`, a multiple
    // of it) is kept as written. For a text, the length in bytes.
    std::int64_t minimo = 0;
    std::int64_t massimo = 0;
    // The value should be a multiple of this (50 for a position on the cells); 0 for any.
    std::int32_t multiplo = 0;
    // What the compile does with a value outside the range or not a multiple, in one sentence.
    std::string_view fuori_intervallo;
    // The diagnostics such a value raises (warnings' and errors' names); empty when the value is
    // kept whatever it is.
    std::span<const std::string_view> diagnostiche;
    // What the value is, in one sentence.
    std::string_view significato;
    // The values that have a name (a signal's aspects); empty when none has.
    std::span<const valore_nominato> valori_nominati;
};

// A word or character that the keyword field itself may carry beside its substrings, and what
// it chooses: the hand and class of a curve, the number of codes of the signal repetition.
struct parola_accettata {
    std::string_view parola;
    std::string_view significato;
};

// One keyword: a kind of row.
struct parola_chiave_formato {
    descrizione file = descrizione::linea;
    // The header the row stands under as the descriptions are usually written, with its
    // brackets: "[generale]", "[curve]". Only the line description's "[generale]" binds
    // (`solo_in_sezione`); elsewhere a row is read under any header.
    std::string_view sezione;
    // The keyword as it is written: "lunghezza percorso", "curva", "segnale".
    std::string_view parola;
    // The substrings that must all occur in the keyword field for the row to be recognised.
    std::span<const std::string_view> sottostringhe;
    // True when the substrings match only in lower case (the line's general keywords but the
    // route length); otherwise any case matches.
    bool maiuscole_esatte = false;
    // True when the row is recognised only inside its section (the line's general section).
    bool solo_in_sezione = false;
    // The words the keyword field may carry, empty for a keyword that takes none.
    std::span<const parola_accettata> parole;
    // The values after the keyword, in order.
    std::span<const campo_formato> campi;
    // What the row describes, in one sentence.
    std::string_view significato;
    // What the compile makes of it, in a sentence or two.
    std::string_view effetto;
    // Every diagnostic the row can raise besides those of every row (diagnostiche_di_ogni_riga),
    // warnings and errors by name ("posizione-arrotondata", "fuori-tracciato").
    std::span<const std::string_view> diagnostiche;
    // A row as a description holds it.
    std::string_view esempio;
    // What an author needs beside the values to read the row, one sentence each (what a
    // station's time and stop mean); empty for most keywords.
    std::span<const std::string_view> note;

    // The number of values the row takes: a checker says "attesi 11 valori, trovati 10".
    std::size_t numero_valori() const { return campi.size(); }
};

// One section header.
struct sezione_formato {
    descrizione file = descrizione::linea;
    // With its brackets: "[generale]".
    std::string_view nome;
    std::string_view significato;
    // True for the line description's "[generale]": without it the line does not compile.
    bool obbligatoria = false;
};

// A word an author looks for that is neither a keyword nor a section ("galleria", "commento",
// "orario"): what it is in the format, and the keywords that write it (none for a reading rule).
struct rimando_formato {
    std::string_view parola;
    std::string_view spiegazione;
    std::span<const std::string_view> parole_chiave;
};

// Every section, the line description's first, in the order the descriptions hold them.
std::span<const sezione_formato> sezioni_formato();
// Every keyword, the line description's first, each file's in the order the compiler tests
// them (a keyword field that matches two keywords applies both, in this order).
std::span<const parola_chiave_formato> parole_chiave_formato();
// Names of the diagnostics any row can raise: an unknown keyword, more or fewer values than the
// keyword takes, a field that does not read, ...
std::span<const std::string_view> diagnostiche_di_ogni_riga();

// How the reader takes a description, one rule a sentence: fields and separators, numbers,
// texts, headers, comments, the last field. They hold for every row of both descriptions.
std::span<const std::string_view> regole_lettura();

// Every word that leads to a keyword or a reading rule, in the order of the reference.
std::span<const rimando_formato> rimandi_formato();

// The section `nome` of `file`, with or without brackets, in any case; nullptr when none.
const sezione_formato* sezione_di(descrizione file, std::string_view nome);
// The keywords the writers put under section `nome` of `file` (with or without brackets).
std::vector<const parola_chiave_formato*> parole_di_sezione(descrizione file,
                                                            std::string_view nome);
// The keyword written `parola` (as in the table, any case, blanks and underscores alike);
// nullptr when none. A word found in both descriptions is the line's.
const parola_chiave_formato* parola_chiave_di(std::string_view parola);
// The keywords a keyword field of `file` matches under the compiler's rules, in the order it
// applies them; `in_generale` for a field inside the line description's general section (where
// only the general keywords are recognised, and outside which they are not).
std::vector<const parola_chiave_formato*>
parole_corrispondenti(descrizione file, std::string_view campo, bool in_generale = false);
// The word `parola` leads to (any case, blanks and underscores alike); nullptr when none.
const rimando_formato* rimando_di(std::string_view parola);
// The value `nome` of `parola`; nullptr when the keyword has none of that name.
const campo_formato* campo_di(const parola_chiave_formato& parola, std::string_view nome);

// "descrizione della linea" or "descrizione del treno".
std::string_view titolo_descrizione(descrizione file);

} // namespace corvenna
