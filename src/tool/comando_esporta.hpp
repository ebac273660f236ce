#pragma once

// `scenario esporta CARTELLA`: the built-in scenario's line and train descriptions and its three
// documents, the same bytes the generator writes, as a template for an author to edit.

#include "tool/comando.hpp"

#include <filesystem>

namespace corvenna {

// Writes the five files into `cartella` (created when missing) under its lock.
int esegui_esporta(const std::filesystem::path& cartella);

void aggiungi_esporta(CLI::App& app, azione_comando& azione);

} // namespace corvenna
