#include "tool/stampa_diagnostiche.hpp"

#include "diagnostics/diagnostiche_json.hpp"
#include "diagnostics/diagnostiche_sarif.hpp"
#include "diagnostics/indice_righe.hpp"
#include "diagnostics/limite_diagnostiche.hpp"
#include "diagnostics/testo_diagnostica.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "diagnostics/uri_percorso.hpp"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <utility>

namespace corvenna {

forma_diagnostiche forma_di_nome(std::string_view nome) {
    return nome == "json"    ? forma_diagnostiche::json
           : nome == "sarif" ? forma_diagnostiche::sarif
                             : forma_diagnostiche::testo;
}

std::string uri_relativo(const std::filesystem::path& percorso) {
    std::filesystem::path relativo = percorso;
    if (percorso.is_absolute()) {
        std::error_code errore;
        const std::filesystem::path corrente = std::filesystem::current_path(errore);
        relativo = errore ? std::filesystem::path() : percorso.lexically_relative(corrente);
        if (relativo.empty())
            return uri_file(percorso.generic_string());
    }
    return uri_di_percorso(relativo.lexically_normal().generic_string());
}

std::string uri_cartella_corrente() {
    std::error_code errore;
    const std::filesystem::path corrente = std::filesystem::current_path(errore);
    if (errore)
        return {};
    std::string uri = uri_file(corrente.generic_string());
    if (uri.back() != '/')
        uri += '/';
    return uri;
}

conteggio_diagnostiche stampa_diagnostiche(const elenco_diagnostiche& diagnostiche,
                                           const file_mostrati& file, forma_diagnostiche forma,
                                           std::ostream& uscita, std::ostream& errori) {
    conteggio_diagnostiche n;
    for (const diagnostica& d : diagnostiche)
        (d.livello == gravita::errore ? n.errori : n.avvisi) += 1 + d.altre_uguali;

    const auto nome = [&](descrizione x) {
        const auto f = file.find(x);
        return f == file.end() ? std::string() : f->second.nome;
    };
    // The first few of each kind; the rest is told in one line per kind.
    limite_diagnostiche limite;
    if (forma == forma_diagnostiche::sarif) {
        luoghi_sarif luoghi;
        luoghi.uri_linea = uri_relativo(nome(descrizione::linea));
        luoghi.uri_treno = uri_relativo(nome(descrizione::treno));
        luoghi.uri_base = uri_cartella_corrente();
        uscita << diagnostiche_sarif(diagnostiche, luoghi, limite, 2) << '\n';
    } else if (forma == forma_diagnostiche::json) {
        scrivi_diagnostiche_json(uscita, diagnostiche, nome(descrizione::linea),
                                 nome(descrizione::treno), limite, 2);
        uscita << '\n';
    } else {
        // Each shown file's lines are found once, when a diagnostic first needs one.
        std::map<descrizione, indice_righe> indici;
        for (const diagnostica& originale : diagnostiche) {
            if (!limite.mostra(originale))
                continue;
            diagnostica d = originale;
            d.messaggio = da_1252_mostrabile(d.messaggio);
            for (luogo_correlato& c : d.correlati)
                c.messaggio = da_1252_mostrabile(c.messaggio);
            for (correzione& c : d.correzioni)
                c.titolo = da_1252_mostrabile(c.titolo);
            const auto f = d.file ? file.find(*d.file) : file.end();
            if (f == file.end()) {
                errori << testo_diagnostica_su_riga(d, {}, {}, true)
                       << testo_correlati(d, nome(descrizione::linea), nome(descrizione::treno),
                                          true);
                continue;
            }
            auto indice = indici.find(f->first);
            if (indice == indici.end())
                indice = indici.emplace(f->first, indicizza_righe(f->second.testo_utf8)).first;
            errori << testo_diagnostica_su_riga(d, f->second.nome,
                                                riga_indicizzata(indice->second, d.riga), true)
                   << testo_correlati(d, nome(descrizione::linea), nome(descrizione::treno), true);
        }
        for (const diagnostiche_tralasciate& t : limite.tralasciate())
            errori << testo_tralasciate(t) << '\n';
    }
    errori << n.errori << (n.errori == 1 ? " errore, " : " errori, ") << n.avvisi
           << (n.avvisi == 1 ? " avviso\n" : " avvisi\n");
    return n;
}

} // namespace corvenna
