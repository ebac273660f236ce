#pragma once

// `scenario esporta CARTELLA`: the built-in scenario's line and train descriptions and its three
// documents, the same bytes the generator writes, as a template for an author to edit.

#include "tool/comando.hpp"

#include <filesystem>
#include <ostream>

namespace corvenna {

// Writes the five files into `cartella` (created when missing) under its lock, all five or none.
// Files of those names that exist are an author's work: without `sovrascrivi` nothing is written
// and the message on `errori` names them (status uso_errato). Once written, `uscita` lists each
// file with what it holds, and the command that compiles the two descriptions.
int esegui_esporta(const std::filesystem::path& cartella, bool sovrascrivi, std::ostream& uscita,
                   std::ostream& errori);

void aggiungi_esporta(CLI::App& app, azione_comando& azione);

} // namespace corvenna
