// Writes the scenario's line and train descriptions, as the program writes them, into one seed
// file of the fuzz target: the switch byte, the line description, a NUL byte, the train
// description. Usage: scrivi_seme_scenario FILE [SWITCHES]

#include "format/righe_documento.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "uso: scrivi_seme_scenario FILE [OPZIONI]\n";
        return 2;
    }
    const char opzioni = static_cast<char>(argc == 3 ? std::atoi(argv[2]) : 1);
    std::ofstream uscita(argv[1], std::ios::binary);
    uscita << opzioni << corvenna::testo_righe(corvenna::righe_linea) << '\0'
           << corvenna::testo_righe(corvenna::righe_treno);
    return uscita ? 0 : 1;
}
