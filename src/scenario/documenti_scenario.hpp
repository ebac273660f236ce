#pragma once

// The built-in scenario as a whole: its identity and its five text files, in the order a run
// writes them. The generator and the tool's export walk the same table, so both write the same
// files with the same bytes.

#include "format/nomi_file.hpp"

#include <array>
#include <span>
#include <string_view>

namespace corvenna {

inline constexpr std::string_view nome_scenario_predefinito = "Corvenna";
inline constexpr std::string_view numero_treno_predefinito = "7381";

struct documento_scenario {
    file_uscita file;
    std::span<const std::string_view> righe;
};

// Line description, train description, notes, slowdown order, train card.
extern const std::array<documento_scenario, 5> documenti_scenario;

// The entry of the table that writes `file`.
const documento_scenario& documento(file_uscita file);

} // namespace corvenna
