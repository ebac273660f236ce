#include "editor/documenti_aperti.hpp"

#include "base/descrizione.hpp"
#include "editor/posizioni_testo.hpp"
#include "editor/risposte_json.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace corvenna {

namespace {

// Forgets a text too large, its memory included.
void lascia_testo(documento_aperto& d, std::size_t byte) {
    std::string().swap(d.testo);
    d.byte_oltre = byte;
}

} // namespace

std::size_t applica_modifica(std::string& testo, const nlohmann::json& modifica,
                             std::size_t massimo) {
    const std::string& nuovo = modifica.at("text").get_ref<const std::string&>();
    const auto intervallo = modifica.find("range");
    if (intervallo == modifica.end() || intervallo->is_null()) {
        if (nuovo.size() <= massimo)
            testo = nuovo;
        return nuovo.size();
    }
    const intervallo_testo i = intervallo_da_json(*intervallo);
    const std::size_t inizio = offset_di(testo, i.inizio);
    const std::size_t fine = std::max(inizio, offset_di(testo, i.fine));
    const std::size_t dopo = testo.size() - (fine - inizio) + nuovo.size();
    if (dopo <= massimo)
        testo.replace(inizio, fine - inizio, nuovo);
    return dopo;
}

void documenti_aperti::apri(const std::string& percorso, documento_aperto d) {
    if (d.testo.size() > byte_massimi_descrizione)
        lascia_testo(d, d.testo.size());
    aperti_[percorso] = std::move(d);
}

bool documenti_aperti::modifica(const std::string& percorso, const nlohmann::json& modifiche,
                                std::int64_t versione) {
    const auto d = aperti_.find(percorso);
    if (d == aperti_.end())
        return false;
    documento_aperto& doc = d->second;
    // Applied to a copy: a malformed entry leaves the document as it was.
    std::string testo = doc.testo;
    std::optional<std::size_t> oltre = doc.byte_oltre;
    for (const nlohmann::json& m : modifiche) {
        // A document too large is not held: only a whole text can be taken again.
        if (oltre && m.contains("range") && !m.at("range").is_null())
            continue;
        const std::size_t byte = applica_modifica(testo, m, byte_massimi_descrizione);
        if (byte > byte_massimi_descrizione) {
            std::string().swap(testo);
            oltre = byte;
        } else {
            oltre.reset();
        }
    }
    doc.testo = std::move(testo);
    doc.byte_oltre = oltre;
    doc.versione = versione;
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
