#pragma once

// The operating system's part of a run: the program's directory, the wait notice, the error
// box and the report of a failure. One implementation per platform; nothing else in the
// program knows which system it runs on.

#include <filesystem>
#include <string_view>

namespace corvenna::piattaforma {

// The directory that holds the running program.
std::filesystem::path cartella_programma();

// Shows the wait notice before any work starts, and removes it at the end.
void mostra_attesa();
void chiudi_attesa();

// Shows " Errore n. " followed by `a` and ends the program with a non-zero status.
[[noreturn]] void errore(std::string_view a);

// Tells the user why a run did not produce a sound scenario.
void segnala(std::string_view messaggio);

} // namespace corvenna::piattaforma
