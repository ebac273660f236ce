#pragma once

// The command line in Italian: the help's headings, labels and standard flags, and the parse
// errors of the command-line library told in Italian with the option or argument they concern.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace corvenna {

// Sets the help's texts of `app` in Italian ("Uso:", "Opzioni:", "Comandi:", "-h,--help mostra
// questo aiuto ed esce"). To be called before the commands are added, which take them from it.
void aiuto_in_italiano(CLI::App& app);

// Puts each command's help flag, which the command takes from `app` before its options' group,
// among its options ("Opzioni:"). To be called once the commands are added.
void aiuto_dei_comandi_in_italiano(CLI::App& app);

// The parse error `e` as one Italian sentence, without the program's name: "manca
// l'argomento TRENO", "argomento inatteso: pippo", "--diagnostica: 'xml' non e' tra i valori
// ammessi (testo, json, sarif)". `rimasti` are the arguments the parse left (the app's
// remaining()): a missing command with one left over is an unknown command ("comando
// sconosciuto: pippo"). An error whose text is not one of the library's known forms keeps its
// own text.
std::string messaggio_in_italiano(const CLI::ParseError& e,
                                  const std::vector<std::string>& rimasti = {});

} // namespace corvenna
