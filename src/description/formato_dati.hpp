#pragma once

// The table of the description format as stored (formato_dati.cpp); read it through the lookups
// of formato_descrizioni.hpp.

#include "description/formato_descrizioni.hpp"

#include <span>
#include <string_view>

namespace corvenna {

std::span<const parola_chiave_formato> tabella_parole_chiave();
std::span<const sezione_formato> tabella_sezioni();
std::span<const std::string_view> tabella_diagnostiche_comuni();
std::span<const std::string_view> tabella_regole_lettura();
std::span<const rimando_formato> tabella_rimandi();

} // namespace corvenna
