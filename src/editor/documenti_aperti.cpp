#include "editor/documenti_aperti.hpp"

#include "editor/posizioni_testo.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace corvenna {

namespace {

posizione_lsp posizione_da_json(const nlohmann::json& p) {
    return {p.at("line").get<int>(), p.at("character").get<int>()};
}

} // namespace

void applica_modifica(std::string& testo, const nlohmann::json& modifica) {
    const std::string& nuovo = modifica.at("text").get_ref<const std::string&>();
    const auto intervallo = modifica.find("range");
    if (intervallo == modifica.end() || intervallo->is_null()) {
        testo = nuovo;
        return;
    }
    const std::size_t inizio = offset_di(testo, posizione_da_json(intervallo->at("start")));
    const std::size_t fine =
        std::max(inizio, offset_di(testo, posizione_da_json(intervallo->at("end"))));
    testo.replace(inizio, fine - inizio, nuovo);
}

void documenti_aperti::apri(const std::string& percorso, documento_aperto d) {
    aperti_[percorso] = std::move(d);
}

bool documenti_aperti::modifica(const std::string& percorso, const nlohmann::json& modifiche,
                                std::int64_t versione) {
    const auto d = aperti_.find(percorso);
    if (d == aperti_.end())
        return false;
    // Applied to a copy: a malformed entry leaves the document as it was.
    std::string testo = d->second.testo;
    for (const nlohmann::json& m : modifiche)
        applica_modifica(testo, m);
    d->second.testo = std::move(testo);
    d->second.versione = versione;
    return true;
}

void documenti_aperti::chiudi(const std::string& percorso) {
    aperti_.erase(percorso);
}

const documento_aperto* documenti_aperti::trova(const std::string& percorso) const {
    const auto d = aperti_.find(percorso);
    return d == aperti_.end() ? nullptr : &d->second;
}

} // namespace corvenna
