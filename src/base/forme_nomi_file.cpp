#include "base/forme_nomi_file.hpp"

#include <array>

namespace corvenna {

namespace {

// What follows the scenario's name: for a train's file, "_", the number and `coda`.
struct forma_nome {
    file_uscita file;
    bool del_treno;
    std::string_view coda;
};

// The descriptions come first: a name is taken for the first form it has.
constexpr std::array<forma_nome, 8> forme{{
    {file_uscita::descrizione_linea, false, "_linea.txt"},
    {file_uscita::descrizione_treno, true, "-.txt"},
    {file_uscita::note, true, "_note.txt"},
    {file_uscita::rallentamenti, true, "_rallentamenti.txt"},
    {file_uscita::scheda_treno, true, "_scheda_treno.txt"},
    {file_uscita::planimetria, false, "_linea.dat"},
    {file_uscita::voci, true, ".sim"},
    {file_uscita::celle, true, ".dat"},
}};

constexpr std::size_t cifre_numero_treno = 4;

// Whether `testo` ends with "_" and the four digits of a train's number.
bool finisce_con_numero(std::string_view testo) {
    if (testo.size() < cifre_numero_treno + 1)
        return false;
    const std::string_view numero = testo.substr(testo.size() - cifre_numero_treno);
    for (const char c : numero)
        if (c < '0' || c > '9')
            return false;
    return testo[testo.size() - cifre_numero_treno - 1] == '_';
}

} // namespace

std::string nome_di_file(std::string_view nome_scenario, std::string_view numero_treno,
                         file_uscita f) {
    for (const forma_nome& forma : forme)
        if (forma.file == f) {
            std::string nome(nome_scenario);
            if (forma.del_treno)
                (nome += '_') += numero_treno;
            return nome += forma.coda;
        }
    return {};
}

std::optional<file_uscita> file_di_nome(std::string_view nome) {
    for (const forma_nome& forma : forme) {
        if (!nome.ends_with(forma.coda))
            continue;
        const std::string_view prima = nome.substr(0, nome.size() - forma.coda.size());
        if (!forma.del_treno ? !prima.empty()
                             : finisce_con_numero(prima) && prima.size() > cifre_numero_treno + 1)
            return forma.file;
    }
    return std::nullopt;
}

bool e_descrizione(file_uscita f) {
    return f == file_uscita::descrizione_linea || f == file_uscita::descrizione_treno;
}

} // namespace corvenna
