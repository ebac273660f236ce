#include "drawing/disegno_origini.hpp"

namespace corvenna {

std::string testo_origine(const riga_origine& r) {
    return "riga " + std::to_string(r.riga) +
           (r.file == descrizione::linea ? " della descrizione della linea"
                                         : " della descrizione del treno");
}

} // namespace corvenna
