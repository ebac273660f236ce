#include "diagnostics/esito_rapporto.hpp"

#include "diagnostics/diagnostiche_sarif.hpp"
#include "diagnostics/limite_diagnostiche.hpp"
#include "diagnostics/uri_percorso.hpp"

#include <nlohmann/json.hpp>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

std::string_view nome_di(const esito_comando& esito) {
    return esito.stato == 64 ? nome_uso_errato : nome_file_inaccessibile;
}

// The report as JSON of the kind `adatto` accepts; std::nullopt when it is none.
template <typename Adatto>
std::optional<json> leggi_rapporto(std::string_view rapporto, Adatto adatto) {
    json x = json::parse(rapporto, nullptr, false);
    if (x.is_discarded() || !adatto(x))
        return std::nullopt;
    return x;
}

std::string testo(const json& x) {
    return x.dump(2, ' ', false, json::error_handler_t::replace) + '\n';
}

} // namespace

std::string json_con_esito(std::string_view rapporto, const esito_comando& esito) {
    json array = leggi_rapporto(rapporto, [](const json& x) {
                     return x.is_array();
                 }).value_or(json::array());
    json x;
    x["file"] = esito.file ? json(*esito.file) : json(nullptr);
    x["riga"] = nullptr;
    x["colonna"] = nullptr;
    x["gravita"] = "errore";
    x["codice"] = std::string(nome_di(esito));
    x["messaggio"] = esito.messaggio;
    x["metri"] = nullptr;
    x["nome"] = std::string(nome_di(esito));
    x["numero"] = nullptr;
    x["colonna_fine"] = nullptr;
    x["correlati"] = json::array();
    x["correzioni"] = json::array();
    x["stato"] = esito.stato;
    array.push_back(std::move(x));
    return testo(array);
}

std::string sarif_con_esito(std::string_view rapporto, const esito_comando& esito) {
    const auto e_sarif = [](const json& x) {
        return x.is_object() && x.contains("runs") && x["runs"].is_array() &&
               x["runs"].size() == 1 && x["runs"][0].is_object();
    };
    std::optional<json> log = leggi_rapporto(rapporto, e_sarif);
    if (!log) {
        limite_diagnostiche limite;
        log = json::parse(diagnostiche_sarif({}, {}, limite));
    }
    json& run = (*log)["runs"][0];
    if (!run.contains("invocations") || !run["invocations"].is_array() ||
        run["invocations"].empty())
        run["invocations"] = json::array({json::object()});
    json& invocazione = run["invocations"][0];
    invocazione["executionSuccessful"] = false;
    invocazione["exitCode"] = esito.stato;
    json n;
    n["level"] = "error";
    n["message"]["text"] = esito.messaggio;
    n["descriptor"]["id"] = std::string(nome_di(esito));
    if (esito.file) {
        json l;
        l["physicalLocation"]["artifactLocation"]["uri"] = uri_di_percorso(*esito.file);
        n["locations"] = json::array({std::move(l)});
    }
    invocazione["toolExecutionNotifications"].push_back(std::move(n));
    return testo(*log);
}

} // namespace corvenna
