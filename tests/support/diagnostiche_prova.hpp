#pragma once

// Builds two small description texts through the build function and shows its diagnostics in
// the text form, the line description named "L.txt" and the train description "T.txt".

#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/testo_diagnostica.hpp"
#include "format/righe_documento.hpp"
#include "pipeline/costruisci_scenario.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace corvenna::prova_diagnostiche {

inline constexpr std::string_view nome_linea = "L.txt";
inline constexpr std::string_view nome_treno = "T.txt";

struct costruito {
    std::optional<std::string> linea;
    std::optional<std::string> treno;
    scenario_costruito s;

    // Every diagnostic in the text form, one after the other.
    std::string testo() const {
        std::string t;
        for (const diagnostica& d : s.diagnostiche)
            t += testo_di(d);
        return t;
    }
    std::string testo_di(const diagnostica& d) const {
        const bool di_linea = d.file == descrizione::linea;
        const auto& sorgente = di_linea ? linea : treno;
        return testo_diagnostica(d, di_linea ? nome_linea : nome_treno,
                                 sorgente ? std::string_view(*sorgente) : std::string_view());
    }
    // The first line of each diagnostic of `livello`, each followed by "\n".
    std::string prime_righe(gravita livello) const {
        std::string t;
        for (const diagnostica& d : s.diagnostiche)
            if (d.livello == livello) {
                const std::string tutto = testo_di(d);
                t += tutto.substr(0, tutto.find('\n') + 1);
            }
        return t;
    }
    // The first line of each warning named `nome`.
    std::string avvisi(std::string_view nome) const {
        std::string t;
        for (const diagnostica& d : s.diagnostiche)
            if (d.livello == gravita::avviso && d.tipo && tipo_di(*d.tipo).nome == nome) {
                const std::string tutto = testo_di(d);
                t += tutto.substr(0, tutto.find('\n') + 1);
            }
        return t;
    }
};

// Builds the two texts (a missing one is a description that does not exist) with the plan view.
inline costruito costruisci_testi(std::optional<std::string> linea,
                                  std::optional<std::string> treno,
                                  std::int32_t genera_planimetria = 1) {
    costruito r{std::move(linea), std::move(treno), {}};
    sorgente_memoria sorgente;
    if (r.linea)
        sorgente.testi[descrizione::linea] = *r.linea;
    if (r.treno)
        sorgente.testi[descrizione::treno] = *r.treno;
    r.s = costruisci_scenario(sorgente, {"Corvenna", "7381"}, genera_planimetria);
    return r;
}

// The lines of a built-in table joined with CR LF, up to its end marker.
template <class tabella>
std::string testo_tabella(const tabella& righe) {
    std::string t;
    for (std::string_view riga : righe) {
        if (riga == fine_tabella)
            break;
        t += riga;
        t += "\r\n";
    }
    return t;
}

} // namespace corvenna::prova_diagnostiche
