#pragma once

// The three binary scenario files, packed little-endian field by field.

#include "base/cartella_uscita.hpp"

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

// The compiled scenario: the plan view (when the build made one), the item table and the cell
// array, each under the name the scenario's identity gives it, in that order.
void scrivi_scenario(cartella_uscita& cartella, const costruzione& c);

} // namespace corvenna
