#pragma once

// Standard input and output as byte streams, for a program that speaks a protocol over them:
// no conversion of line ends (Windows would turn CR LF into LF in text mode and break the
// declared lengths), and a read that returns what has arrived rather than waiting to fill a
// buffer.

#include <cstddef>
#include <string_view>

namespace corvenna::piattaforma {

// Puts standard input and output in binary mode (nothing to do on POSIX systems).
void flussi_standard_binari();

// Reads up to `quanti` bytes of standard input into `dati`, waiting only until some are there.
// Returns how many; 0 at the end of the input or on a failure.
std::size_t leggi_ingresso_standard(char* dati, std::size_t quanti);

// Writes all of `dati` to standard output at once; false when the output is gone.
bool scrivi_uscita_standard(std::string_view dati);

} // namespace corvenna::piattaforma
