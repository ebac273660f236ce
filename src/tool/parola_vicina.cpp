#include "tool/parola_vicina.hpp"

#include <algorithm>
#include <vector>

namespace corvenna {

namespace {

char minuscola_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t distanza_modifica(std::string_view a, std::string_view b) {
    // One row of the table at a time: row i holds the distances of a's first i letters.
    std::vector<std::size_t> riga(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        riga[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonale = riga[0];
        riga[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t sopra = riga[j];
            const bool uguali = minuscola_ascii(a[i - 1]) == minuscola_ascii(b[j - 1]);
            riga[j] = std::min({sopra + 1, riga[j - 1] + 1, diagonale + (uguali ? 0 : 1)});
            diagonale = sopra;
        }
    }
    return riga[b.size()];
}

std::optional<std::string> parola_vicina(std::string_view parola,
                                         std::span<const std::string> candidati) {
    const std::size_t ammessa = std::max<std::size_t>(2, parola.size() / 3);
    const std::string* migliore = nullptr;
    std::size_t distanza_migliore = ammessa + 1;
    for (const std::string& c : candidati) {
        const std::size_t d = distanza_modifica(parola, c);
        if (d < distanza_migliore) {
            distanza_migliore = d;
            migliore = &c;
        }
    }
    if (migliore == nullptr)
        return std::nullopt;
    return *migliore;
}

} // namespace corvenna
