#pragma once

// `scenario confronta A B`: what changed from scenario A to scenario B, one line per change
// (confronto_scenari.hpp), or as JSON. Each side is a compiled scenario's directory or two
// descriptions (LINEA.txt TRENO.txt), read or compiled as `ispeziona` does. Exit status 0
// when nothing changed, 1 when something did.

#include "tool/comando.hpp"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace corvenna {

struct opzioni_confronta {
    std::vector<std::filesystem::path> percorsi;
    std::string formato = "testo"; // or "json"
    bool rigoroso = false;
};

int esegui_confronta(const opzioni_confronta& o, std::ostream& uscita, std::ostream& errori);

void aggiungi_confronta(CLI::App& app, azione_comando& azione);

} // namespace corvenna
