#include "diagnostics/raccolta_diagnostiche.hpp"

namespace corvenna {

std::int64_t chiave_tipo(const diagnostica& d) {
    return d.tipo
               ? static_cast<std::int64_t>(*d.tipo)
               : static_cast<std::int64_t>(numero_tipi_avviso) + (std::int64_t{1} << 32) + d.codice;
}

diagnostica* raccolta_diagnostiche::aggiungi(elenco_diagnostiche& elenco, diagnostica d) {
    tenute& t = per_chiave_[chiave_tipo(d)];
    if (t.quante >= per_tipo_ && t.ultima < elenco.size()) {
        elenco[t.ultima].altre_uguali += 1 + d.altre_uguali;
        return nullptr;
    }
    ++t.quante;
    t.ultima = elenco.size();
    elenco.push_back(std::move(d));
    return &elenco.back();
}

} // namespace corvenna
