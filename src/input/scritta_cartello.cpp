#include "input/scritta_cartello.hpp"

#include <cstddef>

namespace corvenna {

namespace {

std::string_view senza_spazi(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

} // namespace

std::string scritta_cartello(std::string_view testo) {
    std::string risultato;
    std::string_view resto = testo;
    bool gruppi = false;
    while (!resto.empty()) {
        const std::size_t apre = resto.find('(');
        const std::size_t chiude = apre == std::string_view::npos ? apre : resto.find(')', apre);
        if (chiude == std::string_view::npos)
            break;
        const std::string_view gruppo = senza_spazi(resto.substr(apre + 1, chiude - apre - 1));
        if (!gruppo.empty()) {
            if (!risultato.empty())
                risultato += " / ";
            risultato += gruppo;
        }
        gruppi = true;
        resto.remove_prefix(chiude + 1);
    }
    return gruppi ? risultato : std::string(senza_spazi(testo));
}

} // namespace corvenna
