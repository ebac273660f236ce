#include "checking/suggerimento.hpp"

#include <algorithm>
#include <vector>

namespace corvenna {

namespace {

char minuscola_lettera(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int distanza_modifica(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    // Three rows of the table: two back, one back, this one (the swap needs two back).
    std::vector<int> due(m + 1), una(m + 1), ora(m + 1);
    for (std::size_t j = 0; j <= m; ++j)
        una[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        ora[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= m; ++j) {
            const int diverso = minuscola_lettera(a[i - 1]) == minuscola_lettera(b[j - 1]) ? 0 : 1;
            ora[j] = std::min({una[j] + 1, ora[j - 1] + 1, una[j - 1] + diverso});
            if (i > 1 && j > 1 && minuscola_lettera(a[i - 1]) == minuscola_lettera(b[j - 2]) &&
                minuscola_lettera(a[i - 2]) == minuscola_lettera(b[j - 1]))
                ora[j] = std::min(ora[j], due[j - 2] + 1);
        }
        std::swap(due, una);
        std::swap(una, ora);
    }
    return una[m];
}

std::optional<std::string> piu_vicina(std::string_view parola,
                                      std::span<const std::string_view> candidati) {
    if (parola.empty())
        return std::nullopt;
    const int soglia = std::min<int>(parola.size() <= 5 ? 1 : 2,
                                     std::max<int>(1, static_cast<int>(parola.size()) / 3));
    int migliore = soglia + 1;
    std::optional<std::string> scelta;
    bool pari = false;
    for (const std::string_view c : candidati) {
        // The distance is at least the difference of the lengths: a candidate that cannot come
        // within the threshold is not measured (a file of junk asks this for every line).
        const auto differenza =
            parola.size() > c.size() ? parola.size() - c.size() : c.size() - parola.size();
        if (differenza > static_cast<std::size_t>(migliore))
            continue;
        const int d = distanza_modifica(parola, c);
        if (d < migliore) {
            migliore = d;
            scelta = std::string(c);
            pari = false;
        } else if (d == migliore && scelta && *scelta != c) {
            pari = true;
        }
    }
    if (pari || migliore == 0)
        return std::nullopt;
    return scelta;
}

} // namespace corvenna
