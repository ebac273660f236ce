#include "checking/righe_testo.hpp"

namespace corvenna {

std::vector<riga_testo> righe_di(std::string_view testo) {
    std::vector<riga_testo> righe;
    std::size_t inizio = 0;
    std::size_t i = 0;
    while (i < testo.size()) {
        const char c = testo[i];
        if (c == '\r' || c == '\n') {
            righe.push_back({inizio, i - inizio});
            i += (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ? 2 : 1;
            inizio = i;
        } else {
            ++i;
        }
    }
    if (inizio < testo.size())
        righe.push_back({inizio, testo.size() - inizio});
    return righe;
}

std::string senza_riga(std::string_view testo, const std::vector<riga_testo>& righe, int riga) {
    if (riga < 1 || static_cast<std::size_t>(riga) > righe.size())
        return std::string(testo);
    const riga_testo& r = righe[static_cast<std::size_t>(riga - 1)];
    std::string risultato(testo.substr(0, r.inizio));
    risultato.append(testo.substr(r.inizio + r.lunghezza));
    return risultato;
}

} // namespace corvenna
