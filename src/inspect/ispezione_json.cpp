#include "inspect/ispezione_json.hpp"

#include "base/codifica_1252.hpp"
#include "format/tracciato_record.hpp"
#include "input/velocita_effettiva.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_curve.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "inspect/ispezione_risposte.hpp"
#include "model/costruzione.hpp"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

// Bytes collected and handed to the stream in blocks: the plan view is millions of numbers.
class testo_a_blocchi {
  public:
    explicit testo_a_blocchi(std::ostream& uscita) : uscita_(uscita) {}
    ~testo_a_blocchi() { svuota(); }
    testo_a_blocchi(const testo_a_blocchi&) = delete;
    testo_a_blocchi& operator=(const testo_a_blocchi&) = delete;

    testo_a_blocchi& operator<<(std::string_view testo) {
        testo_ += testo;
        if (testo_.size() >= blocco)
            svuota();
        return *this;
    }
    void svuota() {
        uscita_.write(testo_.data(), static_cast<std::streamsize>(testo_.size()));
        testo_.clear();
    }

  private:
    static constexpr std::size_t blocco = std::size_t{1} << 16;
    std::ostream& uscita_;
    std::string testo_;
};

std::string compatto(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A record's fields under their file names; texts in UTF-8.
template <typename Record>
json campi_json(std::size_t indice, const Record& record) {
    json j;
    j["indice"] = indice;
    per_campi(record, [&j](std::string_view nome, const auto& campo) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(campo)>, std::string>)
            j[std::string(nome)] = da_1252(campo);
        else
            j[std::string(nome)] = campo;
    });
    return j;
}

// "[" then the elements, one to a line, then "]".
template <typename Elemento>
void elenco(testo_a_blocchi& t, std::size_t quanti, std::string_view a_capo, Elemento elemento) {
    t << "[" << a_capo;
    for (std::size_t i = 0; i < quanti; ++i)
        t << compatto(elemento(i)) << (i + 1 < quanti ? "," : "") << a_capo;
    t << "]";
}

std::string testo_intero(std::int64_t numero) {
    char testo[24];
    const std::to_chars_result r = std::to_chars(testo, testo + sizeof testo, numero);
    return std::string(testo, r.ptr);
}

// One element a metre; each number goes straight into the block, with no string of its own.
void valori_asse(testo_a_blocchi& t, const asse_planimetria& asse) {
    t << "[";
    char testo[byte_testo_doppio + 1];
    for (std::size_t metro = 0; metro < asse.size(); ++metro) {
        char* fine = testo;
        if (metro > 0)
            *fine++ = ',';
        switch (asse.tipo(metro)) {
        case tipo_valore::intero:
            fine = std::to_chars(fine, testo + sizeof testo,
                                 static_cast<std::int16_t>(asse.numero(metro)))
                       .ptr;
            break;
        case tipo_valore::doppio:
            fine = scrivi_testo_doppio(fine, asse.numero(metro));
            break;
        case tipo_valore::vuoto:
            t << std::string_view(testo, fine) << "null";
            continue;
        }
        t << std::string_view(testo, fine);
    }
    t << "]";
}

// The runs of equal kind along an axis: [{"da": 0, "a": 1, "tipo": "intero"}, ...].
json tipi_asse(const asse_planimetria& asse) {
    json tratti = json::array();
    std::size_t da = 0;
    for (std::size_t metro = 1; metro <= asse.size(); ++metro)
        if (metro == asse.size() || asse.tipo(metro) != asse.tipo(da)) {
            tratti.push_back(
                {{"da", da}, {"a", metro - 1}, {"tipo", nome_tipo_valore(asse.tipo(da))}});
            da = metro;
        }
    return tratti;
}

void planimetria_json(testo_a_blocchi& t, const costruzione& c, std::string_view a_capo) {
    if (c.genera_planimetria == 0) {
        t << "null";
        return;
    }
    const asse_planimetria& x = c.planimetria[asse_x];
    const asse_planimetria& y = c.planimetria[asse_y];
    t << "{" << a_capo << "\"metri\": " << testo_intero(static_cast<std::int64_t>(x.size())) << ","
      << a_capo << "\"x\": ";
    valori_asse(t, x);
    t << "," << a_capo << "\"y\": ";
    valori_asse(t, y);
    const json tipi = {{"x", tipi_asse(x)}, {"y", tipi_asse(y)}};
    t << "," << a_capo << "\"tipi\": " << compatto(tipi) << a_capo << "}";
}

json scenario_json(const costruzione& c, const derivati_scenario& d) {
    const voce& scenario = c.voci[voce_scenario];
    const voce& treno = c.voci[voce_treno];
    const std::int16_t codice_og_letto = c.celle.size() > 1 ? c.celle[1].dato2 : 0;
    return {
        {"nome", nome_csv(scenario.nome)},
        {"treno", nome_csv(treno.nome)},
        {"lunghezza_percorso_metri", c.voci[voce_percorso].fine},
        {"lunghezza_tracciato_metri", c.lunghezza_totale},
        {"celle", c.celle.size()},
        {"planimetria", c.genera_planimetria != 0},
        {"orologio", ora_del_giorno(std::int64_t{treno.i3} * 3600 + treno.i4 * 60 + treno.i5)},
        {"percentuale_massa_frenata", c.voci[voce_percorso].inizio},
        {"numero_vetture", c.voci[voce_percorso].posizione},
        {"sabbia", treno.i1},
        {"ripetizione_segnali", treno.fine != 0 ? json{{"da_metro", treno.inizio},
                                                       {"a_metro", treno.fine},
                                                       {"codici", treno.posizione}}
                                                : json(nullptr)},
        {"codice_st", scenario.orario},
        {"codice_og", codice_og_letto},
        {"codici_concordano", scenario.orario == d.codice_st && codice_og_letto == d.codice_og},
    };
}

json progressive_json(const ispezione& i) {
    json elenco = json::array();
    int voce = voce_progressiva_tre;
    for (const sistema_progressiva& s : i.sistemi)
        elenco.push_back({{"voce", voce++},
                          {"da_metro", s.inizio},
                          {"lettura_al_metro_zero_metri", s.offset},
                          {"decrescente", s.decrescente}});
    return elenco;
}

// A station as the author wrote it: its position, platform, role and time. A station the train
// passes has no stop cell and no time.
json stazione_json(const costruzione& c, const derivati_scenario& d, const ispezione& i,
                   std::size_t n) {
    const voce& v = c.voci[n];
    const auto fermata = d.celle_fermata[n];
    json j;
    j["voce"] = n;
    j["nome"] = nome_csv(v.nome);
    j["tipo_stazione"] = v.tipo;
    j["metro"] = v.posizione;
    j["progressiva"] = testo_progressiva(progressiva_al_metro(i.sistemi, v.posizione));
    j["marciapiede_da_metro"] = v.inizio;
    j["marciapiede_a_metro"] = v.fine;
    j["ruolo"] = fermata ? "fermata" : "transito";
    j["ora"] = fermata && v.orario != 0 ? json(ora_del_giorno(v.orario)) : json(nullptr);
    j["metro_fermata"] =
        fermata ? json(metro_elemento(static_cast<std::int64_t>(*fermata))) : json(nullptr);
    j["cella_fermata"] = fermata ? json(*fermata) : json(nullptr);
    return j;
}

} // namespace

void scrivi_json(std::ostream& uscita, const costruzione& c, std::string_view a_capo,
                 const fonti_celle& fonti, const fonti_curve& curve) {
    const derivati_scenario d = deriva(c);
    ispezione i = ispeziona_tratti(c, fonti);
    aggiungi_curve(i, c, curve);
    std::vector<std::size_t> stazioni;
    for (std::size_t n = 0; n < d.ruoli.size(); ++n)
        if (d.ruoli[n] == ruolo_voce::stazione)
            stazioni.push_back(n);

    testo_a_blocchi t(uscita);
    t << "{" << a_capo;
    t << "\"scenario\": " << compatto(scenario_json(c, d)) << "," << a_capo;
    t << "\"progressive\": " << compatto(progressive_json(i)) << "," << a_capo;
    t << "\"stazioni\": ";
    elenco(t, stazioni.size(), a_capo,
           [&](std::size_t n) { return stazione_json(c, d, i, stazioni[n]); });
    t << "," << a_capo << "\"curve\": ";
    elenco(t, i.curve.size(), a_capo,
           [&](std::size_t n) { return curva_json(i.curve[n], i.sistemi); });
    t << "," << a_capo << "\"tratti\": ";
    elenco(t, i.tratti.size(), a_capo, [&](std::size_t k) { return tratto_json(c, i, k); });
    t << "," << a_capo << "\"planimetria\": ";
    planimetria_json(t, c, a_capo);
    t << "," << a_capo << "\"grezzo\": {" << a_capo << "\"voci\": ";
    elenco(t, c.voci.size(), a_capo, [&](std::size_t n) {
        json j = campi_json(n, c.voci[n]);
        j["ruolo"] = nome_ruolo(d.ruoli[n]);
        return j;
    });
    t << "," << a_capo << "\"celle\": ";
    elenco(t, c.celle.size(), a_capo, [&](std::size_t k) { return campi_json(k, c.celle[k]); });
    t << a_capo << "}" << a_capo << "}" << a_capo;
}

} // namespace corvenna
