#include "format/righe_documento.hpp"

#include "base/codifica_1252.hpp"
#include "base/errore_file.hpp"

#include <string>

namespace corvenna {

namespace {

std::size_t indice_fine(std::span<const std::string_view> tabella) {
    std::size_t indice = 0;
    while (indice < tabella.size() && tabella[indice] != fine_tabella)
        ++indice;
    return indice;
}

// The bytes of the table, encoded before the file is touched, so an unencodable character
// leaves the earlier file in place.
std::string testo_per(const std::filesystem::path& destinazione,
                      std::span<const std::string_view> tabella) {
    try {
        return testo_righe(tabella);
    } catch (const errore_codifica& e) {
        throw errore_file(destinazione, e.what());
    }
}

} // namespace

std::string testo_righe(std::span<const std::string_view> tabella) {
    const std::size_t indice = indice_fine(tabella);
    std::string testo;
    for (std::size_t i = 0; i < indice; ++i) {
        try {
            testo += in_1252(tabella[i]);
        } catch (const errore_codifica& e) {
            throw errore_codifica("riga " + std::to_string(i + 1) + ": " + e.what());
        }
        testo += "\r\n";
    }
    return testo;
}

int scrivi_righe(cartella_uscita& cartella, const std::string& nome,
                 std::span<const std::string_view> tabella, persistenza durata) {
    const std::string testo = testo_per(cartella.percorso(nome), tabella);
    cartella.sostituisci(
        nome, [&](std::ostream& uscita) { uscita.write(testo.data(), testo.size()); }, durata);
    return static_cast<int>(indice_fine(tabella));
}

} // namespace corvenna
