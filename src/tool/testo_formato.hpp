#pragma once

// The reference of the description format, from its table, as text for the terminal or as
// Markdown (docs/formato.md is the whole reference in Markdown). Every text is ASCII: the
// table spells accented letters the descriptions' way.

#include "description/formato_descrizioni.hpp"

#include <string>

namespace corvenna {

enum class stile_formato { testo, markdown };

// One keyword: what it is, how its keyword field is recognised, its values one a line with
// type, unit and range, what a value outside the range becomes, what the compile makes of the
// row, an example and the diagnostics it can raise.
std::string riferimento_parola_chiave(const parola_chiave_formato& p, stile_formato stile);
// A word that is no keyword: what it is in the format, then the keywords it leads to.
std::string riferimento_rimando(const rimando_formato& r, stile_formato stile);
// One section and the keywords written under it.
std::string riferimento_sezione(const sezione_formato& s, stile_formato stile);
// The reading rules, then every section of the line description and of the train description.
std::string riferimento_completo(stile_formato stile);

} // namespace corvenna
