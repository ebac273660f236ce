#include "checking/politica_avvisi.hpp"

#include "checking/suggerimento.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <vector>

namespace corvenna {

std::optional<std::string> nome_non_accettato(std::string_view nome, bool consenti) {
    const tipo_diagnostica* t = tipo_di_nome(nome);
    if (t && t->avviso)
        return std::nullopt;
    if (t) {
        if (!consenti)
            return std::nullopt; // an error is refused already
        return "'" + std::string(nome) +
               "' e' un errore della compilazione: non si puo' consentire";
    }
    std::vector<std::string_view> nomi;
    for (const tipo_diagnostica& x : tipi_diagnostica())
        if (x.avviso)
            nomi.push_back(x.nome);
    std::string messaggio = "'" + std::string(nome) + "' non e' il nome di un avviso";
    if (const auto vicino = piu_vicina(nome, nomi))
        messaggio += ": forse intendevi '" + *vicino + "'?";
    return messaggio;
}

void applica_politica(elenco_diagnostiche& diagnostiche, const politica_avvisi& politica) {
    std::erase_if(diagnostiche, [&](const diagnostica& d) {
        if (!d.tipo || d.livello != gravita::avviso)
            return false;
        const tipo_diagnostica& t = tipo_di(*d.tipo);
        return !t.errore_nello_strumento && politica.consentiti.contains(t.nome) &&
               !politica.vietati.contains(t.nome);
    });
    for (diagnostica& d : diagnostiche) {
        if (d.livello != gravita::avviso)
            continue;
        if (d.tipo) {
            const tipo_diagnostica& t = tipo_di(*d.tipo);
            if ((t.errore_nello_strumento && !politica.consentiti.contains(t.nome)) ||
                politica.vietati.contains(t.nome))
                d.livello = gravita::errore;
        }
        if (politica.avvisi_come_errori)
            d.livello = gravita::errore;
    }
}

} // namespace corvenna
