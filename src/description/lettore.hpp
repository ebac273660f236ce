#pragma once

// The reader of the description text format. It takes a description as one stream of fields,
// each read with the type the caller expects at that point; lines matter only as separators.
//
// A failed read (a read past the end, a number field that is not a number, a value outside
// its type) does not throw: it sets a flag that stays set, and the read returns an empty text
// or 0. The compiler tests the flag after reading a line's values and before using them.
// A failed reader reads nothing more: it stands at the end of the text, so a loop that reads
// until fine_file() ends too, and the caller tells a failure from a normal end by fallito().

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

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
    // Where the reader stands: the line number (from 1) of the next byte to read; once a read
    // has failed, the line where the failed field begins.
    int riga_corrente() const;

  private:
    std::optional<std::int64_t> leggi_numero(std::int64_t minimo, std::int64_t massimo);
    // Records the first failure and moves to the end of the text.
    void fallisci();

    std::string testo_;
    std::size_t pos_ = 0;
    std::size_t pos_fallimento_ = 0;
    bool fallito_ = false;
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
