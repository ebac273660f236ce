#include "format/nomi_file.hpp"

#include "model/costruzione.hpp"

namespace corvenna {

std::string nome_file(const costruzione& c, file_uscita f) {
    return nome_di_file(c.nome_scenario, c.numero_treno, f);
}

} // namespace corvenna
