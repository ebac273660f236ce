#pragma once

// The name of every file a run writes, built from the scenario identity.

#include <filesystem>
#include <string>

namespace corvenna {

struct costruzione;

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

std::string nome_file(const costruzione& c, file_uscita f);

inline std::filesystem::path percorso_file(const std::filesystem::path& cartella,
                                           const costruzione& c, file_uscita f) {
    return cartella / nome_file(c, f);
}

} // namespace corvenna
