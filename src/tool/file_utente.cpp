#include "tool/file_utente.hpp"

#include "platform/cartella_bloccata.hpp"

#include <array>
#include <string>

namespace corvenna {

void scrivi_file_utente(const std::filesystem::path& percorso, const scrittura_file& scrivi) {
    const std::filesystem::path cartella =
        percorso.has_parent_path() ? percorso.parent_path() : std::filesystem::path(".");
    cartella_bloccata uscita(cartella);
    const std::array<std::string, 1> nomi{percorso.filename().string()};
    uscita.rimuovi_temporanei(nomi);
    uscita.sostituisci(nomi[0], scrivi, persistenza::durevole);
    uscita.sincronizza();
}

} // namespace corvenna
