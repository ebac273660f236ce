#include "inspect/ispezione_json.hpp"

#include "base/codifica_1252.hpp"
#include "format/tracciato_record.hpp"
#include "inspect/ispezione_derivati.hpp"
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
        {"nome", da_1252(scenario.nome)},
        {"treno", da_1252(treno.nome)},
        {"lunghezza_percorso", c.voci[voce_percorso].fine},
        {"lunghezza_totale", c.lunghezza_totale},
        {"ultima_cella", c.ultima_cella},
        {"planimetria", c.genera_planimetria != 0},
        {"orologio", ora_del_giorno(std::int64_t{treno.i3} * 3600 + treno.i4 * 60 + treno.i5)},
        {"codice_st", scenario.orario},
        {"codice_og", codice_og_letto},
        {"codici_concordano", scenario.orario == d.codice_st && codice_og_letto == d.codice_og},
    };
}

json stazione_json(const costruzione& c, const derivati_scenario& d, std::size_t i) {
    const voce& v = c.voci[i];
    json j;
    j["voce"] = i;
    j["nome"] = da_1252(v.nome);
    j["ora"] = ora_del_giorno(v.orario);
    j["cella_fermata"] = d.celle_fermata[i] ? json(*d.celle_fermata[i]) : json(nullptr);
    return j;
}

json cella_derivata_json(const costruzione& c, std::size_t k) {
    const cella& x = c.celle[k];
    const std::optional<std::string_view> nome = nome_tipo_cella(x.tipo);
    json j;
    j["indice"] = k;
    j["da_metro"] = metro_iniziale(k);
    j["nome_tipo"] = nome ? json(*nome) : json(nullptr);
    j["velocita_kmh"] = velocita_kmh(x);
    j["pendenza_per_mille"] = pendenza_per_mille(x);
    return j;
}

} // namespace

void scrivi_json(std::ostream& uscita, const costruzione& c, std::string_view a_capo) {
    const derivati_scenario d = deriva(c);
    std::vector<std::size_t> stazioni;
    for (std::size_t i = 0; i < d.ruoli.size(); ++i)
        if (d.ruoli[i] == ruolo_voce::stazione)
            stazioni.push_back(i);

    testo_a_blocchi t(uscita);
    t << "{" << a_capo << "\"voci\": ";
    elenco(t, c.voci.size(), a_capo, [&](std::size_t i) { return campi_json(i, c.voci[i]); });
    t << "," << a_capo << "\"celle\": ";
    elenco(t, c.celle.size(), a_capo, [&](std::size_t k) { return campi_json(k, c.celle[k]); });
    t << "," << a_capo << "\"planimetria\": ";
    planimetria_json(t, c, a_capo);

    t << "," << a_capo << "\"derivati\": {" << a_capo;
    t << "\"scenario\": " << compatto(scenario_json(c, d)) << "," << a_capo;
    t << "\"voci\": ";
    elenco(t, d.ruoli.size(), a_capo, [&](std::size_t i) {
        return json{{"indice", i}, {"ruolo", nome_ruolo(d.ruoli[i])}};
    });
    t << "," << a_capo << "\"stazioni\": ";
    elenco(t, stazioni.size(), a_capo,
           [&](std::size_t n) { return stazione_json(c, d, stazioni[n]); });
    t << "," << a_capo << "\"celle\": ";
    elenco(t, c.celle.size(), a_capo, [&](std::size_t k) { return cella_derivata_json(c, k); });
    t << a_capo << "}" << a_capo << "}" << a_capo;
}

} // namespace corvenna
