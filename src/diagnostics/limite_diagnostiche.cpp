#include "diagnostics/limite_diagnostiche.hpp"

#include "diagnostics/raccolta_diagnostiche.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

namespace corvenna {

bool limite_diagnostiche::mostra(const diagnostica& d) {
    conteggio& c = per_chiave_[chiave_tipo(d)];
    const bool mostrata = ++c.viste <= per_tipo_;
    // Those its pass only counted are left out with the kind's others.
    const std::size_t lasciate = d.altre_uguali + (mostrata ? 0 : 1);
    if (lasciate == 0)
        return mostrata;
    if (!c.tralasciate) {
        c.tralasciate = true;
        c.gruppo = tralasciate_.size();
        diagnostiche_tralasciate t;
        // A warning made an error keeps its kind; its severity is the first one left out.
        t.livello = d.livello;
        t.tipo = d.tipo;
        t.codice = d.codice;
        t.nome = d.tipo ? std::string(tipo_di(*d.tipo).nome) : "codice " + std::to_string(d.codice);
        tralasciate_.push_back(std::move(t));
    }
    tralasciate_[c.gruppo].quante += lasciate;
    return mostrata;
}

std::string testo_tralasciate(const diagnostiche_tralasciate& t) {
    if (t.quante == 1)
        return "... e un'altra diagnostica dello stesso tipo (" + t.nome + ")";
    return "... e altre " + std::to_string(t.quante) + " diagnostiche dello stesso tipo (" +
           t.nome + ")";
}

} // namespace corvenna
