#pragma once

// The curves of a compiled scenario as ispeziona shows them: the `curve` array of the JSON
// (docs/schemi/ispeziona.schema.json) and the table `--tabella curve` of the CSV. Each curve
// with its ends in route metres and in the driver's kilometres, its hand, class and radius,
// and the description line that wrote it when known.

#include "inspect/ispezione_tratti.hpp"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string_view>

namespace corvenna {

// "destra" or "sinistra".
std::string_view mano_curva(const curva_ispezione& c);

nlohmann::ordered_json curva_json(const curva_ispezione& c,
                                  const std::vector<sistema_progressiva>& sistemi);

// A header and one row per curve of `i`, each line ended by `a_capo`.
void scrivi_curve_csv(std::ostream& uscita, const ispezione& i, std::string_view a_capo);

} // namespace corvenna
