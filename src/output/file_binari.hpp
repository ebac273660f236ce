#pragma once

// The three binary scenario files, packed little-endian field by field.

#include "output/cartella_uscita.hpp"

#include <ostream>
#include <string>

namespace corvenna {

struct costruzione;

void scrivi_planimetria(std::ostream& uscita, const costruzione& c);
void scrivi_voci(std::ostream& uscita, const costruzione& c);
void scrivi_celle(std::ostream& uscita, const costruzione& c);

// The same, each replacing the file `nome` of `cartella` durably (persistenza::durevole).
void scrivi_planimetria(cartella_uscita& cartella, const std::string& nome, const costruzione& c);
void scrivi_voci(cartella_uscita& cartella, const std::string& nome, const costruzione& c);
void scrivi_celle(cartella_uscita& cartella, const std::string& nome, const costruzione& c);

} // namespace corvenna
