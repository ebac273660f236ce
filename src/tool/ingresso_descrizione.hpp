#pragma once

// An author's description file as the compile reads it: single-byte Windows-1252 text. Authors
// write with modern editors, so a file that is valid UTF-8 and holds any non-ASCII character is
// taken as UTF-8 and converted; any other file is taken as Windows-1252 already.

#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

struct testo_convertito {
    std::string testo;
    // True when the file was taken as UTF-8 and converted.
    bool utf8 = false;
    // When a character has no Windows-1252 byte: where the first one stands and what it is.
    // The text then holds "?" in place of each such character.
    struct errore {
        int riga = 0;
        int colonna = 0;
        std::string messaggio;
    };
    std::optional<errore> fallito;
};

// A UTF-8 byte-order mark is dropped before the text is read.
testo_convertito testo_in_1252(std::string_view byte_file);

} // namespace corvenna

#include <filesystem>

namespace corvenna {

// The bytes of the regular file at `percorso`. Throws errore_file, naming the file and the
// reason, when it cannot be opened or read, or is not a regular file: a FIFO or a device (such
// as one that never ends) is refused at once, never waited on or read.
std::string leggi_file_intero(const std::filesystem::path& percorso);

} // namespace corvenna
