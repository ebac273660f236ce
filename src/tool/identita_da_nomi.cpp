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

namespace {

bool nome_ammesso(std::string_view nome) {
    constexpr std::string_view vietati = "/\\:*?\"<>|";
    if (nome.empty())
        return false;
    for (const char c : nome)
        if (c < 0x20 || c > 0x7E || vietati.find(c) != std::string_view::npos)
            return false;
    return true;
}

} // namespace

std::optional<std::string> identita_non_valida(const identita_scenario& identita) {
    if (!nome_ammesso(identita.nome_scenario))
        return "il nome dello scenario \"" + identita.nome_scenario + "\"";
    if (!nome_ammesso(identita.numero_treno))
        return "il numero del treno \"" + identita.numero_treno + "\"";
    return std::nullopt;
}

} // namespace corvenna
