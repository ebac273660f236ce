#include "tool/destinazione_sicura.hpp"

#include "platform/file_regolare.hpp"

#include <string>

namespace corvenna {

std::optional<std::filesystem::path>
stesso_file_di(const std::filesystem::path& scritto,
               const std::vector<std::filesystem::path>& letti) {
    const std::optional<identita_file> identita = identita_di(scritto);
    if (!identita)
        return std::nullopt;
    for (const std::filesystem::path& letto : letti)
        if (identita_di(letto) == identita)
            return letto;
    return std::nullopt;
}

void controlla_destinazione(const std::filesystem::path& destinazione, const char* opzione,
                            const std::vector<std::filesystem::path>& letti) {
    const std::string nome = std::string(opzione) + " " + destinazione.string();
    const tipo_voce tipo = tipo_di_voce(destinazione);
    if (tipo != tipo_voce::regolare && tipo != tipo_voce::inesistente)
        throw errore_destinazione(nome + ": e' " + descrivi_tipo(tipo) +
                                  ": si scrive solo in un file regolare o in un nome nuovo (- per "
                                  "lo standard output)");
    if (const auto letto = stesso_file_di(destinazione, letti))
        throw errore_destinazione(nome + ": e' lo stesso file di " + letto->string() +
                                  ", che il comando legge: indicare un altro file");
}

} // namespace corvenna
