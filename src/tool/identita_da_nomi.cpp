#include "tool/identita_da_nomi.hpp"

#include <string>
#include <string_view>

namespace corvenna {

std::optional<identita_scenario> identita_da_nomi(const std::filesystem::path& linea,
                                                  const std::filesystem::path& treno) {
    constexpr std::string_view coda_linea = "_linea.txt";
    constexpr std::string_view coda_treno = "-.txt";
    const std::string nome_linea = linea.filename().string();
    const std::string nome_treno = treno.filename().string();
    if (!nome_linea.ends_with(coda_linea) || nome_linea.size() == coda_linea.size())
        return std::nullopt;
    identita_scenario identita;
    identita.nome_scenario = nome_linea.substr(0, nome_linea.size() - coda_linea.size());
    const std::string prefisso = identita.nome_scenario + "_";
    if (!nome_treno.starts_with(prefisso) || !nome_treno.ends_with(coda_treno) ||
        nome_treno.size() <= prefisso.size() + coda_treno.size())
        return std::nullopt;
    identita.numero_treno =
        nome_treno.substr(prefisso.size(), nome_treno.size() - prefisso.size() - coda_treno.size());
    return identita;
}

std::optional<identita_scenario> identita_scelta(const std::filesystem::path& linea,
                                                 const std::filesystem::path& treno,
                                                 const std::string& nome,
                                                 const std::string& numero_treno) {
    std::optional<identita_scenario> identita = identita_da_nomi(linea, treno);
    if (!identita) {
        if (nome.empty() || numero_treno.empty())
            return std::nullopt;
        identita.emplace();
    }
    if (!nome.empty())
        identita->nome_scenario = nome;
    if (!numero_treno.empty())
        identita->numero_treno = numero_treno;
    return identita;
}

} // namespace corvenna
