#include "diagnostics/limite_diagnostiche.hpp"

#include "diagnostics/tipi_diagnostica.hpp"

namespace corvenna {

bool limite_diagnostiche::mostra(const diagnostica& d) {
    const std::int64_t chiave =
        d.tipo ? static_cast<std::int64_t>(*d.tipo)
               : static_cast<std::int64_t>(numero_tipi_avviso) + (std::int64_t{1} << 32) + d.codice;
    conteggio& c = per_chiave_[chiave];
    if (++c.viste <= per_tipo_)
        return true;
    if (c.viste == per_tipo_ + 1) {
        c.gruppo = tralasciate_.size();
        diagnostiche_tralasciate t;
        // A warning made an error keeps its kind; its severity is the first one left out.
        t.livello = d.livello;
        t.tipo = d.tipo;
        t.codice = d.codice;
        t.nome = d.tipo ? std::string(tipo_di(*d.tipo).nome) : "codice " + std::to_string(d.codice);
        tralasciate_.push_back(std::move(t));
    }
    ++tralasciate_[c.gruppo].quante;
    return false;
}

std::string testo_tralasciate(const diagnostiche_tralasciate& t) {
    if (t.quante == 1)
        return "... e un'altra diagnostica dello stesso tipo (" + t.nome + ")";
    return "... e altre " + std::to_string(t.quante) + " diagnostiche dello stesso tipo (" +
           t.nome + ")";
}

} // namespace corvenna
