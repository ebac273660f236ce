#pragma once

// Two small rules on numbers that the plan's and the profile's fits and the summary share.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace corvenna {

// The median of the values (the upper one of an even count); 0 for none.
inline double mediana(std::vector<double> valori) {
    if (valori.empty())
        return 0;
    std::nth_element(valori.begin(), valori.begin() + valori.size() / 2, valori.end());
    return valori[valori.size() / 2];
}

// A number with a fixed count of decimals, as the summary and the warnings print it.
inline std::string cifre(double valore, int decimali) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "%.*f", decimali, valore);
    return testo;
}

} // namespace corvenna
