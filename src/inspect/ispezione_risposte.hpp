#pragma once

// The answers of `scenario ispeziona` to a query (--al-metro, --al-km, --da/--a) and the table of
// stretches: one stretch of the route a line of text, a JSON object or a CSV row. The names say
// what each value is, with its unit; the stored fields stay under "grezzo". The JSON follows
// docs/schemi/ispeziona.schema.json.

#include "inspect/ispezione_tratti.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <ostream>
#include <string_view>
#include <vector>

namespace corvenna {

// A stretch as a JSON object: its values, its features (each with its stored cell's fields
// under "grezzo") and its own cell's fields under "grezzo".
nlohmann::ordered_json tratto_json(const costruzione& c, const ispezione& i, std::size_t k);

// The stretches `scelti`, each line ended by `a_capo`:
//   testo  one line each;
//   json   {"risposte": [...]}, one stretch a line;
//   csv    a header and one row each (the default table of --formato csv).
void scrivi_risposte_testo(std::ostream& uscita, const ispezione& i,
                           const std::vector<std::size_t>& scelti, std::string_view a_capo);
void scrivi_risposte_json(std::ostream& uscita, const costruzione& c, const ispezione& i,
                          const std::vector<std::size_t>& scelti, std::string_view a_capo);
void scrivi_risposte_csv(std::ostream& uscita, const ispezione& i,
                         const std::vector<std::size_t>& scelti, std::string_view a_capo);

} // namespace corvenna
