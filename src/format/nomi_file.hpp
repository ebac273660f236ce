#pragma once

// The name of every file a run writes, built from the scenario identity by the forms of
// base/forme_nomi_file.hpp.

#include "base/forme_nomi_file.hpp"

#include <filesystem>
#include <string>

namespace corvenna {

struct costruzione;

std::string nome_file(const costruzione& c, file_uscita f);

inline std::filesystem::path percorso_file(const std::filesystem::path& cartella,
                                           const costruzione& c, file_uscita f) {
    return cartella / nome_file(c, f);
}

} // namespace corvenna
