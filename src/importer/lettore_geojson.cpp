#include "importer/lettore_geojson.hpp"

#include "base/json_limitato.hpp"
#include "importer/coordinate.hpp"
#include "importer/nome_stazione.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace corvenna {

namespace {

using json = nlohmann::json;

// The "type" member of an object, or "" when there is none or it is not a text.
std::string tipo_di(const json& oggetto) {
    if (!oggetto.is_object())
        return {};
    const auto t = oggetto.find("type");
    return t != oggetto.end() && t->is_string() ? t->get<std::string>() : std::string();
}

struct lettura {
    mappa_importata mappa;
    std::optional<errore_mappa> errore;
    bool linea_trovata = false;
};

std::optional<punto_geografico> posizione(const json& p, std::string& motivo) {
    if (!p.is_array() || p.size() < 2 || p.size() > 3) {
        motivo = "una posizione deve essere un array di due o tre numeri";
        return std::nullopt;
    }
    for (const json& v : p)
        if (!v.is_number()) {
            motivo = "una posizione deve essere un array di due o tre numeri";
            return std::nullopt;
        }
    punto_geografico g{p[0].get<double>(), p[1].get<double>(), std::nullopt};
    if (!coordinate_valide(g.longitudine, g.latitudine)) {
        motivo = "coordinate fuori dall'intervallo (lon " + std::to_string(g.longitudine) +
                 ", lat " + std::to_string(g.latitudine) + ")";
        return std::nullopt;
    }
    if (p.size() == 3)
        g.quota = p[2].get<double>();
    return g;
}

void aggiungi_linea(lettura& l, const json& coordinate, const std::string& elemento) {
    if (!coordinate.is_array()) {
        l.errore = errore_mappa{elemento, "le coordinate di una LineString devono essere un array"};
        return;
    }
    for (std::size_t i = 0; i < coordinate.size(); ++i) {
        std::string motivo;
        const auto g = posizione(coordinate[i], motivo);
        if (!g) {
            l.errore = errore_mappa{elemento + ", punto " + std::to_string(i), motivo};
            return;
        }
        l.mappa.elementi_punti.push_back("punto " + std::to_string(l.mappa.percorso.size()) + " (" +
                                         elemento + ", posizione " + std::to_string(i) + ")");
        l.mappa.percorso.push_back(*g);
    }
}

std::optional<double> numero_proprieta(const json& proprieta, const char* chiave) {
    const auto v = proprieta.find(chiave);
    if (v == proprieta.end())
        return std::nullopt;
    if (v->is_number())
        return v->get<double>();
    if (v->is_string()) {
        try {
            return std::stod(v->get<std::string>());
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void leggi_geometria(lettura& l, const json& geometria, const json& proprieta,
                     const std::string& elemento) {
    if (!geometria.is_object() || l.errore)
        return;
    const std::string t = tipo_di(geometria);
    const auto coordinate = geometria.find("coordinates");
    if (t == "GeometryCollection") {
        const auto figlie = geometria.find("geometries");
        if (figlie != geometria.end() && figlie->is_array())
            for (const json& g : *figlie)
                leggi_geometria(l, g, proprieta, elemento);
        return;
    }
    if (coordinate == geometria.end())
        return;
    if (t == "LineString" && !l.linea_trovata) {
        l.linea_trovata = true;
        aggiungi_linea(l, *coordinate, elemento);
    } else if (t == "MultiLineString" && !l.linea_trovata && coordinate->is_array()) {
        l.linea_trovata = true;
        for (std::size_t i = 0; i < coordinate->size() && !l.errore; ++i)
            aggiungi_linea(l, (*coordinate)[i], elemento + ", parte " + std::to_string(i));
    } else if (t == "Point") {
        std::string motivo;
        const auto g = posizione(*coordinate, motivo);
        if (!g) {
            l.errore = errore_mappa{elemento, motivo};
            return;
        }
        const auto nome = proprieta.is_object() ? proprieta.find("name") : proprieta.end();
        if (!proprieta.is_object() || nome == proprieta.end() || !nome->is_string() ||
            nome->get<std::string>().empty()) {
            l.mappa.note.push_back({elemento, "punto senza nome: non e' una stazione, ignorato"});
            return;
        }
        if (const auto motivo = nome_troppo_lungo(nome->get_ref<const std::string&>())) {
            l.errore = errore_mappa{elemento, *motivo};
            return;
        }
        std::optional<double> marciapiede;
        for (const char* chiave : {"platform_length", "lunghezza_marciapiede"}) {
            const auto v = proprieta.find(chiave);
            if (v == proprieta.end())
                continue;
            const std::optional<double> letto = numero_proprieta(proprieta, chiave);
            marciapiede = marciapiede_plausibile(letto);
            if (!marciapiede && (letto || v->is_number()))
                l.mappa.note.push_back(
                    {elemento, marciapiede_fuori_intervallo(v->is_string() ? v->get<std::string>()
                                                                           : v->dump())});
            break;
        }
        l.mappa.stazioni.push_back(
            {nome->get<std::string>(), g->longitudine, g->latitudine, marciapiede, elemento});
    }
}

} // namespace

esito_mappa leggi_geojson(std::string_view byte) {
    if (byte.empty())
        return mappa_fallita("byte 0", "il file e' vuoto");
    json_letto letto = leggi_json(byte);
    if (letto.difetto == difetto_json::sintassi)
        return mappa_fallita("byte " + std::to_string(letto.byte), "JSON non valido");
    if (!letto.riuscito())
        return mappa_fallita("file", testo_difetto(letto));
    const json radice = std::move(letto.valore);
    lettura l;
    const json nessuna = json::object();
    if (tipo_di(radice) == "FeatureCollection") {
        const auto feature = radice.find("features");
        if (feature == radice.end() || !feature->is_array())
            return mappa_fallita("file", "FeatureCollection senza l'array features");
        for (std::size_t i = 0; i < feature->size() && !l.errore; ++i) {
            const json& f = (*feature)[i];
            if (!f.is_object())
                continue;
            const auto g = f.find("geometry");
            const auto p = f.find("properties");
            if (g != f.end())
                leggi_geometria(l, *g, p != f.end() ? *p : nessuna, "feature " + std::to_string(i));
        }
    } else if (tipo_di(radice) == "Feature") {
        const auto g = radice.find("geometry");
        const auto p = radice.find("properties");
        if (g != radice.end())
            leggi_geometria(l, *g, p != radice.end() ? *p : nessuna, "feature 0");
    } else {
        leggi_geometria(l, radice, nessuna, "geometria");
    }
    if (l.errore)
        return {std::nullopt, l.errore};
    if (l.mappa.percorso.size() < 2)
        return mappa_fallita("file", "nessuna LineString con almeno due punti");
    return {std::move(l.mappa), std::nullopt};
}

} // namespace corvenna
