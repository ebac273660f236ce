#include "diagnostics/indice_righe.hpp"

namespace corvenna {

indice_righe indicizza_righe(std::string_view testo) {
    indice_righe indice{testo, {0}};
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n')
            ++i;
        if (testo[i] == '\r' || testo[i] == '\n')
            indice.inizi.push_back(i + 1);
    }
    return indice;
}

std::string_view riga_indicizzata(const indice_righe& indice, int riga) {
    if (riga < 1 || static_cast<std::size_t>(riga) > indice.inizi.size())
        return {};
    const std::size_t inizio = indice.inizi[static_cast<std::size_t>(riga) - 1];
    std::size_t fine = static_cast<std::size_t>(riga) < indice.inizi.size()
                           ? indice.inizi[static_cast<std::size_t>(riga)]
                           : indice.testo.size();
    // Back over the line end: LF, CR or CR LF.
    if (fine > inizio && indice.testo[fine - 1] == '\n')
        --fine;
    if (fine > inizio && indice.testo[fine - 1] == '\r')
        --fine;
    return indice.testo.substr(inizio, fine - inizio);
}

} // namespace corvenna
