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

// Why `identita` cannot name a scenario's files and items, or std::nullopt when it can. The
// names become file names and the item file's Windows-1252 texts, so they are printable ASCII,
// not empty, and without the characters that separate or wildcard a path on either system.
std::optional<std::string> identita_non_valida(const identita_scenario& identita);

} // namespace corvenna
