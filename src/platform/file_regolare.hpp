#pragma once

// The tool's look at the files a user names: what an entry is, which file it is, and the
// reading of a file that must be a regular one. A FIFO, a device or a socket named where a file
// is expected would block a read forever, or be replaced by a write: the tool looks first.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace corvenna {

// What an entry of the file system is.
enum class tipo_voce {
    inesistente,
    regolare,
    cartella,
    collegamento,
    fifo,
    dispositivo,
    socket,
    altro
};

// The kind as a sentence says it: "una FIFO", "un dispositivo", ...
std::string descrivi_tipo(tipo_voce tipo);

// The reason given for a file read that is not a regular one: "e' una cartella", or "non e' un
// file regolare: e' una FIFO".
std::string motivo_non_regolare(tipo_voce tipo);

// Which file an entry leads to, whatever the name or link it is reached by: the device and the
// file number (POSIX), the volume and the file index (Windows).
struct identita_file {
    std::uint64_t volume = 0;
    std::uint64_t indice = 0;
    friend bool operator==(const identita_file&, const identita_file&) = default;
};

#ifndef _WIN32
// What an entry of the mode `modo` (a stat's st_mode) is.
tipo_voce tipo_di_modo(unsigned long modo);
#endif

// What the entry `percorso` is itself, a link not followed. Throws errore_file, naming it and the
// reason, when it cannot be looked at for any reason but not existing.
tipo_voce tipo_di_voce(const std::filesystem::path& percorso);

// The file `percorso` leads to, links followed; std::nullopt when there is none or it cannot be
// looked at.
std::optional<identita_file> identita_di(const std::filesystem::path& percorso);

// What a read does with a file longer than it may be: keeps its first bytes (a caller that
// checks the length itself asks for one byte more than it accepts), or refuses it whole.
enum class oltre_il_massimo { tronca, rifiuta };

// The bytes of the regular file `percorso`, at most `massimo`. The file is opened without
// waiting (a FIFO with no writer, a terminal) and looked at once open, so anything but a regular
// file ends the read at once. With oltre_il_massimo::rifiuta a file whose size is past `massimo`
// is refused as soon as it is open, before a byte of it is read, and so is one that grows past it
// while it is read. Throws errore_file naming the file: motivo_non_regolare for what is not a
// regular file, motivo_troppo_grande for one refused by its size, the reason
// (motivo_di_sistema) for a failed open or read.
std::string leggi_file_regolare(const std::filesystem::path& percorso, std::size_t massimo,
                                oltre_il_massimo oltre = oltre_il_massimo::tronca);

// "e' troppo grande: 1073741824 byte, oltre il massimo di 16 MiB"; without a size (a file that
// grew while read), "e' troppo grande: oltre il massimo di 16 MiB".
std::string motivo_troppo_grande(std::optional<std::uint64_t> dimensione, std::size_t massimo);

} // namespace corvenna
