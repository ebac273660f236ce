#pragma once

// Reading a compiled scenario back: its three binary files, found in a directory or given one
// by one, into a model.

#include "model/costruzione.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace corvenna {

// `percorsi` is one directory, or the files themselves (NOME_linea.dat, NOME_NUMERO.sim,
// NOME_NUMERO.dat). In a directory the files are found by the identity `nome` and
// `numero_treno`, or, when these are empty, as the only scenario there. The plan-view file may
// be missing. Throws errore_file naming the file and what is wrong with it.
costruzione carica_scenario(const std::vector<std::filesystem::path>& percorsi,
                            const std::string& nome, const std::string& numero_treno);

} // namespace corvenna
