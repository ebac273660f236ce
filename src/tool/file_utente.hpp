#pragma once

// A file the user named on the tool's command line (a report, a page), written as the programs
// write their own: replaced whole and durably, under the lock of its directory.

#include "base/cartella_uscita.hpp"

#include <filesystem>

namespace corvenna {

// Replaces the file at `percorso` with what `scrivi` writes. Throws errore_file naming the file
// or its directory.
void scrivi_file_utente(const std::filesystem::path& percorso, const scrittura_file& scrivi);

} // namespace corvenna
