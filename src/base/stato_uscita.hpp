#pragma once

// The exit statuses of both programs.

namespace corvenna::stato_uscita {

// The result is sound (warnings allowed).
inline constexpr int riuscito = 0;
// The descriptions hold errors: the compile recorded a code, or a header check failed.
inline constexpr int errori_descrizioni = 1;
// A compiled scenario file is damaged or not one the compile writes; the message names the file,
// the byte and what was expected there.
inline constexpr int file_danneggiato = 1;
// A file could not be read or written; the message names it with the system's reason.
inline constexpr int errore_file = 2;
// The command line is not understood.
inline constexpr int uso_errato = 64;

} // namespace corvenna::stato_uscita
