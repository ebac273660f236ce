// Writes the scenario's line and train descriptions, as the program writes them, into one seed
// file of the fuzz target: the switch byte, the line description, a NUL byte, the train
// description. Usage: scrivi_seme_scenario FILE [SWITCHES]

#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "output/codifica_1252.hpp"
#include "output/righe_documento.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

namespace {

std::string testo(std::span<const std::string_view> righe) {
    std::string t;
    for (const std::string_view riga : righe) {
        if (riga == corvenna::fine_tabella)
            break;
        t += corvenna::in_1252(riga);
        t += "\r\n";
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "uso: scrivi_seme_scenario FILE [OPZIONI]\n";
        return 2;
    }
    const char opzioni = static_cast<char>(argc == 3 ? std::atoi(argv[2]) : 1);
    std::ofstream uscita(argv[1], std::ios::binary);
    uscita << opzioni << testo(corvenna::righe_linea) << '\0' << testo(corvenna::righe_treno);
    return uscita ? 0 : 1;
}
