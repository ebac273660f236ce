#include "tool/parola_vicina.hpp"

#include "checking/suggerimento.hpp"

#include <algorithm>

namespace corvenna {

std::optional<std::string> parola_vicina(std::string_view parola,
                                         std::span<const std::string> candidati) {
    const std::size_t ammessa = std::max<std::size_t>(2, parola.size() / 3);
    const std::string* migliore = nullptr;
    std::size_t distanza_migliore = ammessa + 1;
    for (const std::string& c : candidati) {
        const auto d = static_cast<std::size_t>(distanza_modifica(parola, c));
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
