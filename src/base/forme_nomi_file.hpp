#pragma once

// The forms of the names of the files the tools write, built from a scenario's name and its
// train's number, and their recognition: one table gives both, so that what a run writes and
// what a record of a set may name (platform/registro_sostituzione.hpp) never disagree.
//
//     NOME_linea.txt               the line's description
//     NOME_NUMERO-.txt             the train's description
//     NOME_NUMERO_note.txt         the notes
//     NOME_NUMERO_rallentamenti.txt the slowdown order
//     NOME_NUMERO_scheda_treno.txt the train card
//     NOME_linea.dat               the plan view
//     NOME_NUMERO.sim              the item file
//     NOME_NUMERO.dat              the cell file

#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

enum class file_uscita {
    descrizione_linea,
    descrizione_treno,
    note,
    rallentamenti,
    scheda_treno,
    planimetria,
    voci,
    celle,
};

// The name of the file `f` of the scenario `nome_scenario` and its train `numero_treno`.
std::string nome_di_file(std::string_view nome_scenario, std::string_view numero_treno,
                         file_uscita f);

// Which file of some scenario `nome` names, by its form: a name that is not empty, and for a
// train's file "_", four digits and the file's ending; std::nullopt for any other name.
std::optional<file_uscita> file_di_nome(std::string_view nome);

// Whether `f` is one of the two descriptions, the author's own text (the other files are made
// from them).
bool e_descrizione(file_uscita f);

} // namespace corvenna
