#include "tool/ingresso_standard.hpp"

#include "platform/flusso_standard.hpp"
#include "tool/ingresso_descrizione.hpp"

namespace corvenna {

bool e_ingresso_standard(const std::filesystem::path& percorso) {
    return percorso == "-";
}

std::string leggi_descrizione(const std::filesystem::path& percorso) {
    if (!e_ingresso_standard(percorso))
        return leggi_file_intero(percorso);
    piattaforma::flussi_standard_binari();
    std::string testo;
    char blocco[1 << 16];
    while (const std::size_t letti = piattaforma::leggi_ingresso_standard(blocco, sizeof blocco))
        testo.append(blocco, letti);
    return testo;
}

} // namespace corvenna
