#include "format/identita_valida.hpp"

#include "format/nomi_file.hpp"
#include "model/costruzione.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace corvenna {

namespace {

// The most bytes a file name may hold on the file systems of both systems.
constexpr std::size_t byte_massimi_nome_file = 255;

// The names Windows keeps for its devices, whatever follows them after a dot.
constexpr std::array<std::string_view, 22> nomi_riservati{
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

bool riservato(std::string_view nome) {
    std::string radice(nome.substr(0, nome.find('.')));
    while (!radice.empty() && radice.back() == ' ')
        radice.pop_back();
    for (char& c : radice)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::find(nomi_riservati.begin(), nomi_riservati.end(), radice) != nomi_riservati.end();
}

// The longest of the names a run derives from `identita`.
std::string nome_derivato_piu_lungo(const identita_scenario& identita) {
    costruzione c;
    c.nome_scenario = identita.nome_scenario;
    c.numero_treno = identita.numero_treno;
    std::string piu_lungo;
    for (const file_uscita f :
         {file_uscita::descrizione_linea, file_uscita::descrizione_treno, file_uscita::note,
          file_uscita::rallentamenti, file_uscita::scheda_treno, file_uscita::planimetria,
          file_uscita::voci, file_uscita::celle}) {
        std::string nome = nome_file(c, f);
        if (nome.size() > piu_lungo.size())
            piu_lungo = std::move(nome);
    }
    return piu_lungo;
}

// Why `nome` cannot be the scenario's name, or std::nullopt when it can.
std::optional<std::string> difetto_del_nome(std::string_view nome) {
    constexpr std::string_view vietati = "/\\:*?\"<>|";
    if (nome.empty())
        return "e' vuoto";
    for (const char c : nome) {
        if (c < 0x20 || c > 0x7E)
            return std::string("contiene un carattere che non e' ASCII stampabile");
        if (vietati.find(c) != std::string_view::npos)
            return std::string("contiene il carattere '") + c + "' (vietati: / \\ : * ? \" < > |)";
    }
    if (nome.find("..") != std::string_view::npos)
        return "contiene \"..\"";
    if (nome.back() == '.' || nome.back() == ' ')
        return "finisce con un punto o uno spazio";
    if (riservato(nome))
        return "e' un nome che Windows riserva ai dispositivi (CON, PRN, AUX, NUL, COM1-9, "
               "LPT1-9)";
    return std::nullopt;
}

bool quattro_cifre(std::string_view numero) {
    return numero.size() == 4 &&
           std::all_of(numero.begin(), numero.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<std::string> identita_non_valida(const identita_scenario& identita) {
    if (const auto difetto = difetto_del_nome(identita.nome_scenario))
        return "il nome dello scenario \"" + identita.nome_scenario +
               "\" non puo' dare nomi di file: " + *difetto;
    if (!quattro_cifre(identita.numero_treno))
        return "il numero del treno \"" + identita.numero_treno +
               "\" non e' valido: servono quattro cifre (come 0042 o 7381)";
    const std::string piu_lungo = nome_derivato_piu_lungo(identita);
    if (piu_lungo.size() > byte_massimi_nome_file)
        return "il nome dello scenario \"" + identita.nome_scenario +
               "\" e' troppo lungo: il nome di file " + piu_lungo + " avrebbe " +
               std::to_string(piu_lungo.size()) + " byte, il massimo e' " +
               std::to_string(byte_massimi_nome_file);
    return std::nullopt;
}

} // namespace corvenna
