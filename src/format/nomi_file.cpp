#include "format/nomi_file.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

std::string nome_file(const costruzione& c, file_uscita f) {
    const std::string& s = c.nome_scenario;
    const std::string st = c.nome_scenario + "_" + c.numero_treno;
    switch (f) {
    case file_uscita::descrizione_linea:
        return s + "_linea.txt";
    case file_uscita::descrizione_treno:
        return st + "-.txt";
    case file_uscita::note:
        return st + "_note.txt";
    case file_uscita::rallentamenti:
        return st + "_rallentamenti.txt";
    case file_uscita::scheda_treno:
        return st + "_scheda_treno.txt";
    case file_uscita::planimetria:
        return s + "_linea.dat";
    case file_uscita::voci:
        return st + ".sim";
    case file_uscita::celle:
        return st + ".dat";
    }
    return {};
}

} // namespace corvenna
