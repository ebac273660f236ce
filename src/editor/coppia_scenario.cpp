#include "editor/coppia_scenario.hpp"

#include <algorithm>
#include <cctype>

namespace corvenna {

namespace {

constexpr std::string_view fine_linea = "_linea.txt";
constexpr std::string_view fine_treno = "-.txt";

std::string unisci(std::string_view cartella, std::string_view nome) {
    std::string r(cartella);
    r += nome;
    return r;
}

} // namespace

std::optional<nome_descrizione> riconosci_nome(std::string_view nome_file) {
    nome_descrizione r;
    if (nome_file.size() > fine_linea.size() && nome_file.ends_with(fine_linea)) {
        r.tipo = descrizione::linea;
        r.identita.nome_scenario = nome_file.substr(0, nome_file.size() - fine_linea.size());
        return r;
    }
    // NOME_NUMERO-.txt: four digits after the last underscore.
    if (!nome_file.ends_with(fine_treno))
        return std::nullopt;
    const std::string_view base = nome_file.substr(0, nome_file.size() - fine_treno.size());
    const std::size_t trattino = base.rfind('_');
    if (trattino == std::string_view::npos || trattino == 0 || base.size() - trattino != 5)
        return std::nullopt;
    const std::string_view numero = base.substr(trattino + 1);
    if (!std::all_of(numero.begin(), numero.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    r.tipo = descrizione::treno;
    r.identita.nome_scenario = base.substr(0, trattino);
    r.identita.numero_treno = numero;
    return r;
}

std::string_view cartella_di(std::string_view percorso) {
    const std::size_t barra = percorso.find_last_of("/\\");
    return barra == std::string_view::npos ? std::string_view{} : percorso.substr(0, barra + 1);
}

std::string_view nome_di(std::string_view percorso) {
    return percorso.substr(cartella_di(percorso).size());
}

std::optional<coppia_scenario> coppia_di(const std::string& percorso,
                                         const std::vector<std::string>& candidati) {
    const auto nome = riconosci_nome(nome_di(percorso));
    if (!nome)
        return std::nullopt;
    const std::string_view cartella = cartella_di(percorso);
    coppia_scenario c;
    c.identita = nome->identita;
    if (nome->tipo == descrizione::treno) {
        c.treno = percorso;
        c.linea = unisci(cartella, nome->identita.nome_scenario + std::string(fine_linea));
        return c;
    }
    c.linea = percorso;
    std::optional<std::string> scelto;
    for (const std::string& candidato : candidati) {
        const auto altro = riconosci_nome(candidato);
        if (altro && altro->tipo == descrizione::treno &&
            altro->identita.nome_scenario == nome->identita.nome_scenario &&
            (!scelto || candidato < *scelto))
            scelto = candidato;
    }
    if (!scelto)
        return c;
    c.treno = unisci(cartella, *scelto);
    c.identita.numero_treno = riconosci_nome(*scelto)->identita.numero_treno;
    return c;
}

} // namespace corvenna
