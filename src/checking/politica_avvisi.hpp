#pragma once

// What the authors' tool makes of each kind of warning: the kinds whose result no author can
// mean are errors unless allowed by name (`--consenti NOME`), any warning can be made an error
// (`--vieta NOME`), or all of them (`--avvisi-come-errori`). An allowed warning that is not an
// error by default is not shown at all: the author has seen it and keeps it on purpose. The
// compile and the generator never look at this.

#include "diagnostics/diagnostica.hpp"

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace corvenna {

struct politica_avvisi {
    std::set<std::string, std::less<>> consentiti;
    std::set<std::string, std::less<>> vietati;
    bool avvisi_come_errori = false;
};

// Why `nome` cannot be given to --consenti (`consenti`) or --vieta: not a warning's name (with
// the nearest one), or an error's, which the compile refuses whatever the tool says.
// std::nullopt when it can.
std::optional<std::string> nome_non_accettato(std::string_view nome, bool consenti);

// Each diagnostic's severity as the tool reports it; allowed warnings are removed.
void applica_politica(elenco_diagnostiche& diagnostiche, const politica_avvisi& politica);

} // namespace corvenna
