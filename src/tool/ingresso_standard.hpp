#pragma once

// A description read from standard input, named "-" on the command line, so that an editor or
// a script can check a text it has not saved.

#include <filesystem>
#include <string>

namespace corvenna {

// True for the path "-".
bool e_ingresso_standard(const std::filesystem::path& percorso);

// The bytes of standard input up to its end (for "-"), or of the file at `percorso`.
std::string leggi_descrizione(const std::filesystem::path& percorso);

} // namespace corvenna
