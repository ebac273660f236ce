#include "editor/hover_marcia.hpp"

namespace corvenna {

std::string hover_marcia(const riga_letta& r, int indice, int riga,
                         const compilazione_coppia& compilata) {
    if (r.voce == nullptr || !compilata.marcia_riga || indice < 0)
        return {};
    const voce_riga& v = *r.voce;
    bool chiede = v.parola == "segnale";
    if (v.parola == "stazione" && indice >= 1 &&
        static_cast<std::size_t>(indice) <= v.campi.size()) {
        const std::string_view campo = v.campi[static_cast<std::size_t>(indice - 1)].nome;
        chiede = campo == "ore" || campo == "minuti" || campo == "secondi";
    }
    if (!chiede)
        return {};
    const std::string testo = compilata.marcia_riga(riga + 1);
    return testo.empty() ? std::string() : "\n\nNella " + testo;
}

} // namespace corvenna
