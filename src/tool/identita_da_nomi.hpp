#pragma once

// The scenario identity an author's descriptions carry in their names, when they follow the
// naming of the files a run writes: NOME_linea.txt and NOME_NUMERO-.txt.

#include "pipeline/costruisci_scenario.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace corvenna {

// std::nullopt when either name does not follow the naming, or the two names disagree.
std::optional<identita_scenario> identita_da_nomi(const std::filesystem::path& linea,
                                                  const std::filesystem::path& treno);

// The identity a command takes: the one the names give, each part replaced by its option where
// the option is given (`nome`, `numero_treno` empty when not). std::nullopt when the names give
// none and an option is missing.
std::optional<identita_scenario> identita_scelta(const std::filesystem::path& linea,
                                                 const std::filesystem::path& treno,
                                                 const std::string& nome,
                                                 const std::string& numero_treno);

// Why `identita` cannot name a scenario's files and items, as a sentence that names the
// option's value and what is wrong with it, or std::nullopt when it can. The one check of every
// identity a command takes (from its options or from the names of the descriptions), made
// before any file is read or written. The train number is four digits. The name becomes part
// of file names on either system and the item file's Windows-1252 text: printable ASCII, not
// empty, without the characters that separate or wildcard a path (/ \ : * ? " < > |), without
// "..", not ending in a dot or a space, not a name Windows keeps for a device (CON, NUL, COM1
// and the like, also before a dot), and short enough that the longest name derived from it
// fits 255 bytes.
std::optional<std::string> identita_non_valida(const identita_scenario& identita);

} // namespace corvenna
