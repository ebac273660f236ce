#pragma once

// The scenario identity an author's descriptions carry in their names, when they follow the
// naming of the files a run writes: NOME_linea.txt and NOME_NUMERO-.txt.

#include "pipeline/costruisci_scenario.hpp"

#include <filesystem>
#include <optional>

namespace corvenna {

// std::nullopt when either name does not follow the naming, or the two names disagree.
std::optional<identita_scenario> identita_da_nomi(const std::filesystem::path& linea,
                                                  const std::filesystem::path& treno);

} // namespace corvenna
