#include "output/righe_documento.hpp"

#include "output/codifica_1252.hpp"
#include "output/errore_file.hpp"
#include "output/sostituzione_file.hpp"

#include <string>

namespace corvenna {

namespace {

// The bytes of the table up to the end marker, and where writing stops. Everything is encoded
// before the file is touched, so an unencodable character leaves the earlier file in place.
std::string testo_tabella(const std::filesystem::path& destinazione,
                          std::span<const std::string_view> tabella, int& indice) {
    std::size_t fine = 0;
    while (fine < tabella.size() && tabella[fine] != fine_tabella)
        ++fine;
    std::string testo;
    for (std::size_t i = 0; i < fine; ++i) {
        try {
            testo += in_1252(tabella[i]);
        } catch (const errore_codifica& e) {
            throw errore_file(destinazione, "riga " + std::to_string(i + 1) + ": " + e.what());
        }
        testo += "\r\n";
    }
    indice = static_cast<int>(fine);
    return testo;
}

} // namespace

int scrivi_righe(cartella_uscita& cartella, const std::string& nome,
                 std::span<const std::string_view> tabella, persistenza durata) {
    int indice = 0;
    const std::string testo = testo_tabella(cartella.percorso(nome), tabella, indice);
    cartella.sostituisci(
        nome, [&](std::ostream& uscita) { uscita.write(testo.data(), testo.size()); }, durata);
    return indice;
}

int scrivi_righe(const std::filesystem::path& destinazione,
                 std::span<const std::string_view> tabella) {
    int indice = 0;
    const std::string testo = testo_tabella(destinazione, tabella, indice);
    sostituisci_file(destinazione,
                     [&](std::ostream& uscita) { uscita.write(testo.data(), testo.size()); });
    return indice;
}

} // namespace corvenna
