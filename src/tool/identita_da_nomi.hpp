#pragma once

// The scenario identity an author's descriptions carry in their names, when they follow the
// naming of the files a run writes: NOME_linea.txt and NOME_NUMERO-.txt.

#include "format/identita_valida.hpp"
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

} // namespace corvenna
