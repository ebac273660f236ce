#pragma once

// An author's description file as the compile reads it: single-byte Windows-1252 text. Authors
// write with modern editors, so a file that is valid UTF-8 and holds any non-ASCII character is
// taken as UTF-8 and converted, and so is UTF-16 (little- or big-endian, told by its byte-order
// mark or, without one, by the NUL bytes of its mostly ASCII units); any other file is taken as
// Windows-1252 already. A file with a NUL byte that is not UTF-16 is no text: it is named as a
// likely binary file, once, at its first NUL.

#include "base/descrizione.hpp"
#include "diagnostics/diagnostica.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

struct testo_convertito {
    std::string testo;
    // True when the file was taken as UTF-8 or UTF-16 and converted.
    bool utf8 = false;
    // "UTF-8", "UTF-16LE" or "UTF-16BE" for a converted file; empty for Windows-1252.
    std::string_view codifica;
    // When a character has no Windows-1252 byte: where the first one stands and what it is.
    // The text then holds "?" in place of each such character.
    struct errore {
        int riga = 0;
        int colonna = 0;
        std::string messaggio;
    };
    std::optional<errore> fallito;
};

// A byte-order mark is dropped before the text is read.
testo_convertito testo_in_1252(std::string_view byte_file);

// The error of a text that could not be converted, as a diagnostic of description `d` (code
// lettura-fallita at the character's place); std::nullopt when it was.
std::optional<diagnostica> diagnostica_conversione(const testo_convertito& t, descrizione d);

} // namespace corvenna

#include <cstddef>
#include <filesystem>

namespace corvenna {

// The bytes of the regular file at `percorso`. Throws errore_file, naming the file and the
// reason, when it cannot be opened or read, is not a regular file (a FIFO or a device, such as
// one that never ends, is refused at once, never waited on or read) or holds more than
// byte_massimi_descrizione bytes ("e' troppo grande: ... byte, oltre il massimo di 16 MiB").
std::string leggi_file_intero(const std::filesystem::path& percorso);

} // namespace corvenna
