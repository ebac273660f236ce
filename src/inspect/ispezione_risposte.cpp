#include "inspect/ispezione_risposte.hpp"

#include "inspect/ispezione_csv.hpp"

#include <string>
#include <variant>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

std::string riga_json(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

json cella_grezza(const cella& x) {
    return {{"tipo", x.tipo},         {"dato1", x.dato1},       {"dato2", x.dato2},
            {"dato3", x.dato3},       {"dato4", x.dato4},       {"tempo", x.tempo},
            {"avviso", x.avviso},     {"montagna", x.montagna}, {"velocita", x.velocita},
            {"pendenza", x.pendenza}, {"aderenza", x.aderenza}};
}

json elemento_json(const costruzione& c, const ispezione& i, const elemento_tratto& e) {
    json j;
    j["cosa"] = e.cosa;
    j["metro"] = e.metro;
    const double lettura = progressiva_al_metro(i.sistemi, static_cast<double>(e.metro));
    j["progressiva"] = testo_progressiva(lettura);
    j["progressiva_metri"] = lettura;
    j["descrizione"] = e.descrizione;
    json valori = json::object();
    for (const auto& [nome_valore, valore] : e.valori) {
        const std::string& nome = nome_valore;
        std::visit([&valori, &nome](const auto& v) { valori[nome] = v; }, valore);
    }
    j["valori"] = std::move(valori);
    j["fonte"] = e.fonte ? json{{"file", e.fonte->file}, {"riga", e.fonte->riga}} : json(nullptr);
    if (e.cella >= 0 && static_cast<std::size_t>(e.cella) < c.celle.size())
        j["grezzo"] = {{"cella", e.cella},
                       {"campi", cella_grezza(c.celle[static_cast<std::size_t>(e.cella)])}};
    else
        j["grezzo"] = nullptr;
    return j;
}

std::string testo_cartello(const tratto_ispezione& t) {
    if (!t.cartello_velocita)
        return "";
    return serie_kmh(t.cartello_velocita->prima_serie_kmh);
}

} // namespace

json tratto_json(const costruzione& c, const ispezione& i, std::size_t k) {
    const tratto_ispezione& t = i.tratti[k];
    json j;
    j["cella"] = t.cella;
    j["da_metro"] = t.da_metro;
    j["a_metro"] = t.a_metro;
    j["progressiva"] = testo_progressiva(t.progressiva_m);
    j["progressiva_metri"] = t.progressiva_m;
    j["velocita_treno_kmh"] = t.velocita_treno_kmh;
    j["velocita_linea_kmh"] = t.velocita_linea_kmh;
    j["rallentamento_kmh"] = t.rallentamento_kmh ? json(*t.rallentamento_kmh) : json(nullptr);
    if (t.cartello_velocita) {
        const cartello_in_vigore& b = *t.cartello_velocita;
        j["cartello_velocita"] = {
            {"metro", b.metro},
            {"ranghi_abc_kmh", {b.prima_serie_kmh[0], b.prima_serie_kmh[1], b.prima_serie_kmh[2]}},
            {"seconda_serie_kmh",
             {b.seconda_serie_kmh[0], b.seconda_serie_kmh[1], b.seconda_serie_kmh[2]}}};
    } else {
        j["cartello_velocita"] = nullptr;
    }
    j["pendenza_per_mille"] = t.pendenza_per_mille;
    j["aderenza"] = t.aderenza;
    j["rilievo"] =
        t.rilievo != 0 ? json{{"tipo", t.rilievo}, {"galleria", t.galleria}} : json(nullptr);
    json elementi = json::array();
    for (const elemento_tratto& e : t.elementi)
        elementi.push_back(elemento_json(c, i, e));
    j["elementi"] = std::move(elementi);
    j["grezzo"] = cella_grezza(c.celle[k]);
    return j;
}

void scrivi_risposte_testo(std::ostream& uscita, const ispezione& i,
                           const std::vector<std::size_t>& scelti, std::string_view a_capo) {
    for (const std::size_t k : scelti)
        uscita << riga_tratto(i, i.tratti[k]) << a_capo;
}

void scrivi_risposte_json(std::ostream& uscita, const costruzione& c, const ispezione& i,
                          const std::vector<std::size_t>& scelti, std::string_view a_capo) {
    uscita << "{" << a_capo << "\"risposte\": [" << a_capo;
    for (std::size_t n = 0; n < scelti.size(); ++n)
        uscita << riga_json(tratto_json(c, i, scelti[n])) << (n + 1 < scelti.size() ? "," : "")
               << a_capo;
    uscita << "]" << a_capo << "}" << a_capo;
}

void scrivi_risposte_csv(std::ostream& uscita, const ispezione& i,
                         const std::vector<std::size_t>& scelti, std::string_view a_capo) {
    uscita << "cella,da_metro,a_metro,progressiva,velocita_treno_kmh,velocita_linea_kmh,"
              "rallentamento_kmh,cartello_velocita_abc_kmh,pendenza_per_mille,aderenza,"
              "rilievo_tipo,galleria,elementi,fonti"
           << a_capo;
    for (const std::size_t k : scelti) {
        const tratto_ispezione& t = i.tratti[k];
        std::string elementi;
        std::string fonti;
        for (const elemento_tratto& e : t.elementi) {
            elementi += (elementi.empty() ? "" : " | ") + e.descrizione;
            if (e.fonte)
                fonti += (fonti.empty() ? "" : " | ") + e.fonte->file + ":" +
                         std::to_string(e.fonte->riga);
        }
        uscita << t.cella << ',' << t.da_metro << ',' << t.a_metro << ','
               << testo_progressiva(t.progressiva_m) << ',' << t.velocita_treno_kmh << ','
               << t.velocita_linea_kmh << ','
               << (t.rallentamento_kmh ? std::to_string(*t.rallentamento_kmh) : "") << ','
               << testo_cartello(t) << ',' << t.pendenza_per_mille << ',' << t.aderenza << ','
               << t.rilievo << ',' << (t.galleria ? "si" : "no") << ',' << campo_csv(elementi)
               << ',' << campo_csv(fonti) << a_capo;
    }
}

} // namespace corvenna
