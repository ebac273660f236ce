#pragma once

// The reader of the description text format. It takes a description as one stream of fields,
// each read with the type the caller expects at that point; lines matter only as separators.
//
// A failed read (a read past the end, a number field that is not a number, a value outside
// its type) does not throw: it sets a flag that stays set, and the read returns an empty text
// or 0. The compiler tests the flag after reading a line's values and before using them.
// A failed reader reads nothing more: it stands at the end of the text, so a loop that reads
// until fine_file() ends too, and the caller tells a failure from a normal end by fallito().

#include "description/luogo.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

// Why a read failed.
enum class causa_fallimento {
    nessuna,
    // Nothing was left to read.
    fine_testo,
    // A number field holds something other than an optional minus and digits.
    non_numero,
    // A number outside the range of the type it is read into.
    fuori_tipo,
    // A quoted text whose closing quote never comes.
    virgolette_aperte,
};

class lettore_descrizione {
  public:
    // Reads from the bytes of a whole description.
    explicit lettore_descrizione(std::string testo);

    // Reads the file at `percorso` whole; std::nullopt when it cannot be opened or read.
    static std::optional<lettore_descrizione> apri(const std::filesystem::path& percorso);

    // A text field: leading blanks skipped, up to the next comma or line end; a field that
    // begins with a double quote runs to the closing quote. Trailing blanks are dropped.
    // Fails at the end of the text and on a quote that is never closed.
    std::string leggi_testo();
    // Number fields into a 32-bit signed, 16-bit signed or 8-bit unsigned value: an optional
    // minus and digits, ended by a blank, a comma or a line end; the blanks and the one comma
    // or line end after it are consumed. An empty field reads 0. Anything else in the field,
    // a value outside the type, or a read with nothing left to read is a failure.
    std::int32_t leggi_long();
    std::int16_t leggi_intero();
    std::uint8_t leggi_byte();

    // True when every byte has been consumed.
    bool fine_file() const;
    // True once any read has failed.
    bool fallito() const { return fallito_; }
    causa_fallimento causa() const { return causa_; }
    // The range of the type the failed number was read into (for fuori_tipo).
    std::int64_t minimo_tipo() const { return minimo_; }
    std::int64_t massimo_tipo() const { return massimo_; }
    // Where the reader stands: the line number (from 1) of the next byte to read; once a read
    // has failed, the line where the failed field begins.
    int riga_corrente() const;

    // Where the last field read begins (its first byte after the leading blanks), or, once a
    // read has failed, where the failed field begins. A read past the end points just after
    // the last byte of the last line. Columns count bytes from 1.
    luogo luogo_campo() const { return campo_; }
    // True when the last field read is the first field of its line.
    bool campo_a_inizio_riga() const { return a_inizio_riga_; }
    // The last field read, as it stands in the text (without its leading blanks and its
    // separator): for a failed number, the bytes that did not read.
    std::string_view testo_campo() const;
    // True when the last text read lost bytes besides its leading blanks: trailing blanks of an
    // unquoted text, or what stands between a closing quote and the separator.
    bool testo_accorciato() const { return accorciato_; }

  private:
    std::optional<std::int64_t> leggi_numero(std::int64_t minimo, std::int64_t massimo);
    // Starts a field at `inizio` (after its leading blanks): its place becomes the last one.
    void inizia_campo(std::size_t inizio);
    // Moves to `nuova`, counting the line ends passed.
    void avanza(std::size_t nuova);
    // Records the first failure (of the field just begun, or past the end) and moves to the
    // end of the text.
    void fallisci(causa_fallimento causa);

    std::string testo_;
    std::size_t pos_ = 0;
    // Line of `pos_` and the offset where that line begins.
    int riga_ = 1;
    std::size_t inizio_riga_ = 0;
    // The last field: where it begins and ends in the text, and its place.
    std::size_t inizio_campo_ = 0;
    std::size_t fine_campo_ = 0;
    luogo campo_{};
    bool a_inizio_riga_ = false;
    bool accorciato_ = false;
    bool fallito_ = false;
    causa_fallimento causa_ = causa_fallimento::nessuna;
    std::int64_t minimo_ = 0;
    std::int64_t massimo_ = 0;
};

// Keyword matching: every substring must occur in the field.
// Case-insensitive (ASCII letters).
bool contiene(std::string_view campo, std::string_view sottostringa);
// Case-sensitive.
bool contiene_esatto(std::string_view campo, std::string_view sottostringa);
// A section header: contains "[" and "]" and does not begin (after blanks) with "-".
bool e_intestazione(std::string_view campo);
// A field that the reader drops in place of a keyword: it contains "-".
bool e_campo_trattino(std::string_view campo);

} // namespace corvenna
