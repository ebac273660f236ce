#pragma once

// Who a scenario is: the scenario's name and the train's number, from which every file name and
// the scenario codes are built.

#include <string>

namespace corvenna {

struct identita_scenario {
    std::string nome_scenario;
    std::string numero_treno;
};

} // namespace corvenna
