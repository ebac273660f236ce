#pragma once

// Where the fields of a description lie, as the reader cuts them: one rule for the reader, the
// checking pass and the language server, so that all three see the same fields at the same
// columns.
//
// A field begins after its leading blanks. A text runs to the next comma or line end, its
// trailing blanks dropped; a text that begins with a double quote runs to the closing quote
// (commas included), and what stands between the closing quote and the separator is dropped. A
// number runs to the next blank, comma or line end; the blanks after it and one comma go with
// it, so two numbers may stand apart by a blank alone. A line end is CR LF, a lone CR or a
// lone LF.

#include "description/formato_descrizioni.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace corvenna {

// A blank between fields: a space or a tab.
constexpr bool e_spazio(char c) {
    return c == ' ' || c == '\t';
}
// A byte of a line end.
constexpr bool e_a_capo(char c) {
    return c == '\r' || c == '\n';
}
// The first position from `da` that holds no blank.
std::size_t dopo_spazi(std::string_view testo, std::size_t da);

// One field of a text, by byte offsets into it.
struct taglio_campo {
    // The first byte of the field, after its leading blanks.
    std::size_t inizio = 0;
    // Just past its last byte: without trailing blanks; a quoted text with both its quotes.
    std::size_t fine = 0;
    // The comma or line end that ends it, or the text's size when none does.
    std::size_t separatore = 0;
    // Where the next field's leading blanks begin.
    std::size_t seguente = 0;
    // True when a line end, or the end of the text, follows the field rather than a comma (or,
    // for a number, another number after a blank).
    bool a_fine_riga = false;
    // A text that begins with a double quote; `aperte` when its closing quote never comes (then
    // `fine` is the first comma or line end after its start).
    bool virgolette = false;
    bool aperte = false;
};

taglio_campo taglia_testo(std::string_view testo, std::size_t da);
taglio_campo taglia_numero(std::string_view testo, std::size_t da);

// What a text field says: the bytes between its quotes, or the field as it stands.
std::string_view testo_tagliato(std::string_view testo, const taglio_campo& c);

// A number field as the reader takes it: an optional minus and digits (an empty field reads 0);
// std::nullopt for anything else. Beyond 10^12 further digits stop adding to the value, so
// that a long run of digits cannot overflow: such a value fits no type the reader serves.
std::optional<std::int64_t> numero_campo(std::string_view campo);

// One field of a row: its bytes (a quoted text with its quotes) and where they lie.
struct campo_tagliato {
    std::string_view testo;
    std::size_t inizio = 0;
    std::size_t fine = 0;
    // A text field in quotes whose closing quote never comes.
    bool aperte = false;
};

// A row (one line, without its line end) cut as the reader reads it when the row begins a
// keyword's line: the keyword field, then the values, each cut by its type in `tipi` and those
// past them by `oltre`, until the row ends. An empty (or blank) row has no field.
std::vector<campo_tagliato> taglia_riga(std::string_view riga, std::span<const tipo_campo> tipi,
                                        tipo_campo oltre = tipo_campo::intero_32);

} // namespace corvenna
