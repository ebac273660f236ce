#include "running/modello_treno.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

// The locomotive and coach of the model "locomotiva": an electric locomotive of 80 t and 20 m
// with 4000 kW at the rim and 250 kN at the start, and coaches of 40 t and 26.4 m.
constexpr double massa_locomotiva_t = 80;
constexpr double lunghezza_locomotiva_m = 20;
constexpr double massa_vettura_t = 40;
constexpr double lunghezza_vettura_m = 26.4;
constexpr int vetture_massime = 30;

modello_treno locomotiva(const costruzione& c) {
    const int vetture = std::clamp<int>(c.voci[voce_percorso].posizione, 0, vetture_massime);
    modello_treno m;
    m.nome = "locomotiva";
    m.massa_t = massa_locomotiva_t + massa_vettura_t * vetture;
    m.lunghezza_m = lunghezza_locomotiva_m + lunghezza_vettura_m * vetture;
    m.masse_rotanti = 0.06;
    m.davis_a_N = 12.75 * m.massa_t;
    m.davis_b_N_s_m = 0.15 * m.massa_t;
    m.davis_c_N_s2_m2 = 4.0 + 0.4 * vetture;
    m.trazione = {{0, 250},   {57.6, 250}, {60, 240},    {80, 180},
                  {100, 144}, {120, 120},  {140, 102.9}, {160, 90}};
    m.velocita_massima_kmh = 160;
    m.frenatura_servizio_ms2 = 0.6;
    return m;
}

// A four-car electric multiple unit: 260 t, 110 m, 2000 kW and 180 kN at the start.
modello_treno regionale() {
    modello_treno m;
    m.nome = "regionale";
    m.massa_t = 260;
    m.lunghezza_m = 110;
    m.masse_rotanti = 0.08;
    m.davis_a_N = 3300;
    m.davis_b_N_s_m = 45;
    m.davis_c_N_s2_m2 = 5.5;
    m.trazione = {{0, 180},  {40, 180}, {60, 120},   {80, 90},
                  {100, 72}, {120, 60}, {140, 51.4}, {160, 45}};
    m.velocita_massima_kmh = 160;
    m.frenatura_servizio_ms2 = 0.6;
    m.frenatura_emergenza_ms2 = 1.0;
    return m;
}

// A freight train of 1200 t and 500 m behind a locomotive of 3750 kW.
modello_treno merci() {
    modello_treno m;
    m.nome = "merci";
    m.massa_t = 1200;
    m.lunghezza_m = 500;
    m.masse_rotanti = 0.05;
    m.davis_a_N = 14000;
    m.davis_b_N_s_m = 180;
    m.davis_c_N_s2_m2 = 12;
    m.trazione = {{0, 300}, {45, 300}, {50, 270}, {60, 225}, {80, 169}, {100, 135}};
    m.velocita_massima_kmh = 100;
    m.frenatura_servizio_ms2 = 0.3;
    return m;
}

// A field's reading: the number, or why it is refused.
struct lettura {
    const json& oggetto;
    std::string errore;

    // A number within [minimo, massimo]; `aperto_sotto` excludes the minimum itself.
    double numero(const char* nome, double minimo, double massimo, bool aperto_sotto,
                  const json& in) {
        if (!errore.empty())
            return 0;
        const auto i = in.find(nome);
        if (i == in.end()) {
            errore = std::string("manca il campo ") + nome;
            return 0;
        }
        return valore(nome, *i, minimo, massimo, aperto_sotto);
    }
    double valore(const std::string& nome, const json& v, double minimo, double massimo,
                  bool aperto_sotto) {
        if (!errore.empty())
            return 0;
        const bool fuori = !v.is_number() || !std::isfinite(v.get<double>()) ||
                           v.get<double>() > massimo ||
                           (aperto_sotto ? v.get<double>() <= minimo : v.get<double>() < minimo);
        if (fuori) {
            errore = nome + " deve essere un numero " +
                     (aperto_sotto ? "maggiore di " + testo_numero(minimo) + " e al piu' "
                                   : "fra " + testo_numero(minimo) + " e ") +
                     testo_numero(massimo);
            return 0;
        }
        return v.get<double>();
    }
    static std::string testo_numero(double x) {
        char t[32];
        std::snprintf(t, sizeof t, "%g", x);
        return t;
    }
    // Refuses a member not among `noti`, naming it.
    void solo(const json& in, std::initializer_list<const char*> noti, const std::string& dove) {
        if (!errore.empty())
            return;
        for (const auto& voce : in.items()) {
            const std::string& chiave = voce.key();
            if (std::none_of(noti.begin(), noti.end(),
                             [&](const char* n) { return chiave == n; })) {
                errore = "campo sconosciuto " + dove + chiave;
                return;
            }
        }
    }
};

} // namespace

double frenatura_emergenza_da_lambda(double lambda) {
    return 0.0075 * lambda + 0.076;
}

double frenatura_emergenza(const modello_treno& m, const costruzione& c) {
    if (m.frenatura_emergenza_ms2)
        return *m.frenatura_emergenza_ms2;
    return frenatura_emergenza_da_lambda(c.voci[voce_percorso].inizio);
}

double forza_trazione_N(const modello_treno& m, double velocita_ms) {
    const std::vector<punto_trazione>& p = m.trazione;
    if (p.empty())
        return 0;
    const double v = velocita_ms * 3.6;
    if (v <= p.front().velocita_kmh)
        return 1000 * p.front().forza_kN;
    for (std::size_t i = 1; i < p.size(); ++i)
        if (v <= p[i].velocita_kmh) {
            const double t =
                (v - p[i - 1].velocita_kmh) / (p[i].velocita_kmh - p[i - 1].velocita_kmh);
            return 1000 * (p[i - 1].forza_kN + t * (p[i].forza_kN - p[i - 1].forza_kN));
        }
    return 1000 * p.back().forza_kN;
}

modello_letto leggi_modello_treno(std::string_view testo_json) {
    modello_letto r;
    json j;
    try {
        j = json::parse(testo_json);
    } catch (const json::parse_error& e) {
        r.errore = "il file non e' JSON (byte " + std::to_string(e.byte) + ")";
        return r;
    }
    if (!j.is_object()) {
        r.errore = "il modello deve essere un oggetto JSON";
        return r;
    }
    lettura l{j, {}};
    l.solo(j,
           {"$schema", "nome", "massa_t", "lunghezza_m", "masse_rotanti", "davis", "trazione",
            "velocita_massima_kmh", "frenatura_servizio_ms2", "frenatura_emergenza_ms2",
            "tempo_reazione_s"},
           "");
    modello_treno m;
    if (const auto n = j.find("nome"); l.errore.empty() && n != j.end()) {
        if (!n->is_string())
            l.errore = "nome deve essere un testo";
        else
            m.nome = n->get<std::string>();
    }
    m.massa_t = l.numero("massa_t", 0, 100000, true, j);
    m.lunghezza_m = l.numero("lunghezza_m", 0, 5000, true, j);
    if (l.errore.empty() && j.contains("masse_rotanti"))
        m.masse_rotanti = l.numero("masse_rotanti", 0, 1, false, j);
    if (l.errore.empty()) {
        const auto d = j.find("davis");
        if (d == j.end())
            l.errore = "manca il campo davis";
        else if (!d->is_object())
            l.errore = "davis deve essere un oggetto con a_N, b_N_s_m e c_N_s2_m2";
        else {
            l.solo(*d, {"a_N", "b_N_s_m", "c_N_s2_m2"}, "davis.");
            m.davis_a_N = l.valore("davis.a_N", d->value("a_N", json()), 0, 1e7, false);
            m.davis_b_N_s_m = l.valore("davis.b_N_s_m", d->value("b_N_s_m", json()), 0, 1e7, false);
            m.davis_c_N_s2_m2 =
                l.valore("davis.c_N_s2_m2", d->value("c_N_s2_m2", json()), 0, 1e7, false);
        }
    }
    if (l.errore.empty()) {
        const auto t = j.find("trazione");
        if (t == j.end())
            l.errore = "manca il campo trazione";
        else if (!t->is_array() || t->empty())
            l.errore = "trazione deve essere un elenco di punti [km/h, kN]";
        else
            for (std::size_t i = 0; i < t->size() && l.errore.empty(); ++i) {
                const json& p = (*t)[i];
                const std::string nome = "trazione[" + std::to_string(i) + "]";
                if (!p.is_array() || p.size() != 2) {
                    l.errore = nome + " deve essere una coppia [km/h, kN]";
                    break;
                }
                punto_trazione q;
                q.velocita_kmh = l.valore(nome + " (km/h)", p[0], 0, 1000, false);
                q.forza_kN = l.valore(nome + " (kN)", p[1], 0, 10000, false);
                if (l.errore.empty() && !m.trazione.empty() &&
                    q.velocita_kmh <= m.trazione.back().velocita_kmh)
                    l.errore = nome + ": le velocita' dei punti devono crescere";
                m.trazione.push_back(q);
            }
    }
    m.velocita_massima_kmh = l.numero("velocita_massima_kmh", 0, 1000, true, j);
    m.frenatura_servizio_ms2 = l.numero("frenatura_servizio_ms2", 0, 10, true, j);
    if (l.errore.empty() && j.contains("frenatura_emergenza_ms2"))
        m.frenatura_emergenza_ms2 = l.numero("frenatura_emergenza_ms2", 0, 10, true, j);
    if (l.errore.empty() && j.contains("tempo_reazione_s"))
        m.tempo_reazione_s = l.numero("tempo_reazione_s", 0, 60, false, j);
    if (!l.errore.empty()) {
        r.errore = l.errore;
        return r;
    }
    r.modello = std::move(m);
    return r;
}

std::string modello_in_json(const modello_treno& m) {
    json j;
    j["nome"] = m.nome;
    j["massa_t"] = m.massa_t;
    j["lunghezza_m"] = m.lunghezza_m;
    j["masse_rotanti"] = m.masse_rotanti;
    j["davis"] = {
        {"a_N", m.davis_a_N}, {"b_N_s_m", m.davis_b_N_s_m}, {"c_N_s2_m2", m.davis_c_N_s2_m2}};
    j["trazione"] = json::array();
    for (const punto_trazione& p : m.trazione)
        j["trazione"].push_back({p.velocita_kmh, p.forza_kN});
    j["velocita_massima_kmh"] = m.velocita_massima_kmh;
    j["frenatura_servizio_ms2"] = m.frenatura_servizio_ms2;
    if (m.frenatura_emergenza_ms2)
        j["frenatura_emergenza_ms2"] = *m.frenatura_emergenza_ms2;
    j["tempo_reazione_s"] = m.tempo_reazione_s;
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::vector<std::string_view> nomi_modelli() {
    return {"locomotiva", "regionale", "merci"};
}

std::optional<modello_treno> modello_di_nome(std::string_view nome, const costruzione& c) {
    if (nome == "locomotiva")
        return locomotiva(c);
    if (nome == "regionale")
        return regionale();
    if (nome == "merci")
        return merci();
    return std::nullopt;
}

modello_treno modello_predefinito(const costruzione& c) {
    return locomotiva(c);
}

} // namespace corvenna
