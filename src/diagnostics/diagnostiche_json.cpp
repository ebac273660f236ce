#include "diagnostics/diagnostiche_json.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <nlohmann/json.hpp>

#include <utility>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

// A line or column: null when not known.
json numero_o_null(int n) {
    return n > 0 ? json(n) : json(nullptr);
}

} // namespace

std::string diagnostiche_json(const elenco_diagnostiche& elenco, std::string_view nome_linea,
                              std::string_view nome_treno, int rientro) {
    json array = json::array();
    for (const diagnostica& d : elenco) {
        json x;
        if (d.file)
            x["file"] = std::string(*d.file == descrizione::linea ? nome_linea : nome_treno);
        else
            x["file"] = nullptr;
        x["riga"] = numero_o_null(d.riga);
        x["colonna"] = d.riga > 0 ? numero_o_null(d.colonna) : json(nullptr);
        const bool errore = d.livello == gravita::errore;
        x["gravita"] = errore ? "errore" : "avviso";
        // A warning made an error keeps its name.
        if (d.tipo)
            x["codice"] = std::string(tipo_di(*d.tipo).nome);
        else
            x["codice"] = d.codice;
        x["messaggio"] = da_1252(d.messaggio);
        if (d.metri)
            x["metri"] = *d.metri;
        else
            x["metri"] = nullptr;
        array.push_back(std::move(x));
    }
    // A name that is not valid UTF-8 must not stop the report: its bad bytes are replaced.
    return array.dump(rientro, ' ', false, json::error_handler_t::replace);
}

} // namespace corvenna
