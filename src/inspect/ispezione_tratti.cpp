#include "inspect/ispezione_tratti.hpp"

#include "input/scritta_cartello.hpp"
#include "input/velocita_effettiva.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "model/tipi_cella.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>

namespace corvenna {

namespace {

std::string km(double metro, const std::vector<sistema_progressiva>& s) {
    return "km " + testo_progressiva(progressiva_al_metro(s, metro));
}

std::string a_metro(std::int64_t metro, const std::vector<sistema_progressiva>& s) {
    return "a " + std::to_string(metro) + " m (" + km(static_cast<double>(metro), s) + ")";
}

std::string tre(int a, int b, int c) {
    return std::to_string(a) + "/" + std::to_string(b) + "/" + std::to_string(c);
}

std::string nome_tipo_segnale(int sx) {
    switch (sx) {
    case 1:
        return "avviso";
    case 2:
        return "principale";
    default:
        return "di tipo " + std::to_string(sx);
    }
}

void segnale(const cella& x, elemento_tratto& e, const std::vector<sistema_progressiva>& s) {
    const int rapp = x.dato4 / 10;
    const int sx = x.dato4 % 10 / 3;
    const int dx = x.dato4 % 10 % 3;
    const int s1 = x.dato1 / 10, s2 = x.dato2 / 10, s3 = x.dato3 / 10;
    const int d1 = x.dato1 % 10, d2 = x.dato2 % 10, d3 = x.dato3 % 10;
    e.cosa = "segnale";
    e.descrizione = "segnale " + nome_tipo_segnale(sx) + " " + a_metro(e.metro, s) + ": aspetti " +
                    tre(s1, s2, s3) + ", seconda serie tipo " + std::to_string(dx) + " aspetti " +
                    tre(d1, d2, d3) + ", ripetizione " + (rapp != 0 ? "si" : "no");
    if (x.tempo != 0)
        e.descrizione += ", tempo " + std::to_string(x.tempo);
    e.valori = {{"tipo_segnale", nome_tipo_segnale(sx)},
                {"tipo_segnale_codice", sx},
                {"aspetti", tre(s1, s2, s3)},
                {"seconda_serie_tipo", dx},
                {"seconda_serie_aspetti", tre(d1, d2, d3)},
                {"ripetizione", rapp},
                {"tempo", x.tempo}};
}

void cartello_velocita(const cella& x, elemento_tratto& e, cartello_in_vigore& b,
                       const std::vector<sistema_progressiva>& s) {
    const std::int16_t v[3] = {x.dato1, x.dato2, x.dato3};
    for (int i = 0; i < 3; ++i) {
        b.prima_serie_kmh[i] = v[i] / 100 * 5;
        b.seconda_serie_kmh[i] = v[i] % 100 * 5;
    }
    b.metro = e.metro;
    e.cosa = "cartello_velocita";
    e.descrizione = "cartello di velocita " + a_metro(e.metro, s) + ": ranghi A/B/C " +
                    serie_kmh(b.prima_serie_kmh) + " km/h, strisce " + std::to_string(x.dato4 / 10);
    const bool seconda = b.seconda_serie_kmh[0] != 0 || b.seconda_serie_kmh[1] != 0 ||
                         b.seconda_serie_kmh[2] != 0 || x.dato4 % 10 != 0;
    if (seconda)
        e.descrizione += "; seconda serie " + serie_kmh(b.seconda_serie_kmh) + " km/h, strisce " +
                         std::to_string(x.dato4 % 10);
    e.valori = {{"ranghi_abc_kmh", serie_kmh(b.prima_serie_kmh)},
                {"strisce", x.dato4 / 10},
                {"seconda_serie_kmh", serie_kmh(b.seconda_serie_kmh)},
                {"seconda_serie_strisce", x.dato4 % 10}};
}

struct contesto {
    const costruzione& c;
    const std::vector<sistema_progressiva>& s;
    const std::map<std::int32_t, rallentamento_celle>& rallentamenti; // by start cell
    const std::map<int, std::string>& nomi_stazioni;                  // by item, shown names
};

std::string nome_voce(const costruzione& c, int numero) {
    if (numero < 0 || numero >= numero_voci)
        return "";
    return nome_csv(c.voci[static_cast<std::size_t>(numero)].nome);
}

// The feature a cell stores, decoded; false for plain track.
bool elemento_cella(const contesto& k, std::size_t indice, elemento_tratto& e,
                    std::optional<cartello_in_vigore>& cartello) {
    const cella& x = k.c.celle[indice];
    if (x.tipo == tipo_cella::binario)
        return false;
    e.cella = static_cast<std::int32_t>(indice);
    e.metro = metro_elemento(static_cast<std::int64_t>(indice));
    const std::string dove = a_metro(e.metro, k.s);
    switch (x.tipo) {
    case tipo_cella::segnale:
        segnale(x, e, k.s);
        break;
    case tipo_cella::indicatore_v_max: {
        cartello_in_vigore b;
        cartello_velocita(x, e, b, k.s);
        cartello = b;
        break;
    }
    case tipo_cella::inizio_rallentamento: {
        e.cosa = "inizio_rallentamento";
        e.descrizione = "inizio rallentamento a " + std::to_string(x.dato1) + " km/h " + dove;
        e.valori = {{"velocita_kmh", x.dato1}};
        if (const auto r = k.rallentamenti.find(e.cella); r != k.rallentamenti.end()) {
            e.descrizione += ", fino a " + std::to_string(r->second.fine) + " m";
            e.valori.emplace_back("fino_a_metro", r->second.fine);
        }
        e.valori.emplace_back("dato_tt", x.dato3);
        e.valori.emplace_back("dato_dv", x.dato2);
        break;
    }
    case tipo_cella::fine_rallentamento:
        e.cosa = "fine_rallentamento";
        e.descrizione = "fine rallentamento (" + std::to_string(x.dato1) + " km/h) " + dove;
        e.valori = {{"velocita_kmh", x.dato1}};
        break;
    case tipo_cella::avviso_rallentamento:
        e.cosa = "avviso_rallentamento";
        e.descrizione = "avviso di rallentamento a " + std::to_string(x.dato1) + " km/h " + dove;
        e.valori = {{"velocita_kmh", x.dato1}};
        break;
    case tipo_cella::preavviso_numerato:
        e.cosa = "preavviso_rallentamento";
        e.descrizione = "preavviso di rallentamento n. " + std::to_string(x.dato1) + " " + dove;
        e.valori = {{"numero", x.dato1}};
        break;
    case tipo_cella::fermata: {
        e.cosa = "fermata";
        const auto n = k.nomi_stazioni.find(x.dato1);
        e.descrizione = "punto di fermata di " +
                        (n != k.nomi_stazioni.end() ? n->second : "una voce senza stazione") +
                        " (voce " + std::to_string(x.dato1) + ") " + dove;
        e.valori = {{"voce", x.dato1}};
        break;
    }
    case tipo_cella::marcatore_galleria:
        e.cosa = "marcatore_galleria";
        e.descrizione = "marcatore di galleria " + dove;
        break;
    case tipo_cella::abbattimento_valore:
        e.cosa = "abbattimento";
        e.descrizione = "abbattimento, valore " + std::to_string(x.dato1) + ", " + dove;
        e.valori = {{"valore", x.dato1}};
        break;
    case tipo_cella::abbattimento:
        e.cosa = "abbattimento";
        e.descrizione = "abbattimento senza valore " + dove;
        break;
    case tipo_cella::cartello: {
        e.cosa = "cartello";
        const std::string testo = scritta_cartello(nome_voce(k.c, x.dato1));
        e.descrizione = "cartello \"" + testo + "\" " + dove;
        e.valori = {{"testo", testo}, {"voce", x.dato1}};
        break;
    }
    default:
        e.cosa = "tipo_" + std::to_string(x.tipo);
        e.descrizione = "elemento di tipo " + std::to_string(x.tipo) + " " + dove;
        break;
    }
    return true;
}

std::size_t tratto_del_metro(std::int64_t metro, std::size_t celle) {
    const std::int64_t i = metro < 0 ? 0 : metro / 50;
    return static_cast<std::size_t>(
        std::min<std::int64_t>(i, static_cast<std::int64_t>(celle) - 1));
}

} // namespace

std::string serie_kmh(const int (&serie)[3]) {
    return tre(serie[0], serie[1], serie[2]);
}

ispezione ispeziona_tratti(const costruzione& c, const fonti_celle& fonti) {
    ispezione r;
    r.sistemi = sistemi_progressiva(c);
    r.lunghezza_percorso = c.voci[voce_percorso].fine;
    const std::size_t n = c.celle.size();
    if (n == 0)
        return r;

    const std::vector<rallentamento_celle> rallentamenti = rallentamenti_celle(c);
    const std::vector<int> treno = velocita_effettiva_celle(c, rallentamenti);
    // The slowdowns alone: the same computation over a line without a limit of its own.
    costruzione senza_limite;
    senza_limite.celle = c.celle;
    for (cella& x : senza_limite.celle)
        x.velocita = 255;
    const std::vector<int> solo_rallentamenti =
        velocita_effettiva_celle(senza_limite, rallentamenti);

    std::map<std::int32_t, rallentamento_celle> per_inizio;
    for (const rallentamento_celle& x : rallentamenti)
        per_inizio.emplace(x.cella_inizio, x);
    const derivati_scenario d = deriva(c);
    std::map<int, std::string> nomi_stazioni;
    for (std::size_t j = 0; j < d.ruoli.size(); ++j)
        if (d.ruoli[j] == ruolo_voce::stazione)
            nomi_stazioni[static_cast<int>(j)] = nome_csv(c.voci[j].nome);
    const contesto k{c, r.sistemi, per_inizio, nomi_stazioni};

    // Relief runs: maximal runs of one nonzero type; a run with a tunnel marker is a tunnel.
    std::vector<bool> galleria(n, false);
    for (std::size_t i = 0; i < n;) {
        std::size_t j = i;
        bool ha_marcatore = false;
        while (j < n && c.celle[j].montagna == c.celle[i].montagna) {
            ha_marcatore = ha_marcatore || c.celle[j].tipo == tipo_cella::marcatore_galleria;
            ++j;
        }
        if (c.celle[i].montagna != 0 && ha_marcatore)
            std::fill(galleria.begin() + static_cast<std::ptrdiff_t>(i),
                      galleria.begin() + static_cast<std::ptrdiff_t>(j), true);
        i = j;
    }

    r.tratti.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        tratto_ispezione& t = r.tratti[i];
        const cella& x = c.celle[i];
        t.cella = static_cast<std::int32_t>(i);
        t.da_metro = 50 * static_cast<std::int64_t>(i);
        t.a_metro = t.da_metro + 50;
        t.progressiva_m = progressiva_al_metro(r.sistemi, static_cast<double>(t.da_metro));
        t.velocita_linea_kmh = velocita_kmh(x);
        t.velocita_treno_kmh = treno[i];
        if (solo_rallentamenti[i] < 5 * 255)
            t.rallentamento_kmh = solo_rallentamenti[i];
        t.pendenza_per_mille = pendenza_per_mille(x);
        t.aderenza = x.aderenza;
        t.rilievo = x.montagna;
        t.galleria = galleria[i];
    }

    // Cell features, in the stretch that holds their metre; the board in force carried on.
    std::optional<cartello_in_vigore> in_vigore;
    for (std::size_t j = 0; j < n; ++j) {
        elemento_tratto e;
        std::optional<cartello_in_vigore> nuovo;
        if (!elemento_cella(k, j, e, nuovo))
            continue;
        if (j < fonti.size())
            e.fonte = fonti[j];
        r.tratti[tratto_del_metro(e.metro, n)].elementi.push_back(std::move(e));
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (i + 1 < n && c.celle[i + 1].tipo == tipo_cella::indicatore_v_max) {
            elemento_tratto e;
            elemento_cella(k, i + 1, e, in_vigore);
        }
        r.tratti[i].cartello_velocita = in_vigore;
    }
    if (n > 0 && c.celle[0].tipo == tipo_cella::indicatore_v_max) {
        // A board on cell 0 stands before the route: in force from its start.
        elemento_tratto e;
        std::optional<cartello_in_vigore> primo;
        elemento_cella(k, 0, e, primo);
        for (std::size_t i = 0; i < n && !r.tratti[i].cartello_velocita; ++i)
            r.tratti[i].cartello_velocita = primo;
    }

    // Stations, at the position the author wrote, with their role.
    for (const auto& [j, nome] : nomi_stazioni) {
        const voce& v = c.voci[static_cast<std::size_t>(j)];
        const auto fermata = d.celle_fermata[static_cast<std::size_t>(j)];
        elemento_tratto e;
        e.cosa = "stazione";
        e.voce = j;
        e.metro = v.posizione;
        e.cella = fermata ? static_cast<std::int32_t>(*fermata) : -1;
        e.descrizione = "stazione " + nome + " " + a_metro(e.metro, r.sistemi) + ": ";
        e.valori = {{"nome", nome}, {"voce", j}, {"tipo_stazione", v.tipo}};
        if (fermata) {
            e.descrizione += v.orario != 0 ? "fermata alle " + ora_del_giorno(v.orario)
                                           : std::string("fermata, ora non indicata");
            e.valori.emplace_back("ruolo", std::string("fermata"));
            if (v.orario != 0)
                e.valori.emplace_back("ora", ora_del_giorno(v.orario));
            e.valori.emplace_back("metro_fermata",
                                  metro_elemento(static_cast<std::int64_t>(*fermata)));
            if (*fermata < fonti.size())
                e.fonte = fonti[*fermata];
        } else {
            e.descrizione += "transito senza fermata";
            e.valori.emplace_back("ruolo", std::string("transito"));
        }
        e.descrizione +=
            ", marciapiede da " + std::to_string(v.inizio) + " a " + std::to_string(v.fine) + " m";
        e.valori.emplace_back("marciapiede_da_metro", v.inizio);
        e.valori.emplace_back("marciapiede_a_metro", v.fine);
        auto& elementi = r.tratti[tratto_del_metro(e.metro, n)].elementi;
        elementi.insert(elementi.begin(), std::move(e));
    }
    return r;
}

std::optional<std::size_t> tratto_al_metro(const ispezione& i, double metro) {
    if (!std::isfinite(metro) || metro < 0 || i.tratti.empty())
        return std::nullopt;
    const auto k = static_cast<std::size_t>(std::floor(metro / 50));
    if (k >= i.tratti.size())
        return std::nullopt;
    return k;
}

std::vector<std::size_t> tratti_tra(const ispezione& i, double da, double a) {
    std::vector<std::size_t> scelti;
    if (i.tratti.empty() || !std::isfinite(da) || !std::isfinite(a))
        return scelti;
    if (a < da)
        std::swap(da, a);
    const double ultimo = 50.0 * static_cast<double>(i.tratti.size()) - 1;
    da = std::max(da, 0.0);
    a = std::min(a, ultimo);
    for (auto k = static_cast<std::size_t>(std::floor(da / 50));
         static_cast<double>(k) * 50 <= a && k < i.tratti.size(); ++k)
        scelti.push_back(k);
    return scelti;
}

void aggiungi_curve(ispezione& i, const costruzione& c, const fonti_curve& fonti) {
    i.curve.clear();
    i.ha_planimetria = c.genera_planimetria != 0 && !c.planimetria[asse_x].empty() &&
                       !c.planimetria[asse_y].empty();
    if (i.ha_planimetria) {
        const auto ultimo = static_cast<std::int64_t>(std::min(c.planimetria[asse_x].size(),
                                                               c.planimetria[asse_y].size())) -
                            1;
        for (const curva_planimetria& p :
             curve_lette_planimetria(c, std::min<std::int64_t>(ultimo, i.lunghezza_percorso))) {
            curva_ispezione curva;
            static_cast<curva_planimetria&>(curva) = p;
            for (const auto& [inizio, fonte] : fonti)
                if (inizio == p.da_metro)
                    curva.fonte = fonte;
            i.curve.push_back(std::move(curva));
        }
    }
}

std::vector<std::size_t> curve_del_tratto(const ispezione& i, const tratto_ispezione& t) {
    std::vector<std::size_t> indici;
    for (std::size_t n = 0; n < i.curve.size(); ++n)
        if (i.curve[n].da_metro < t.a_metro && i.curve[n].a_metro > t.da_metro)
            indici.push_back(n);
    return indici;
}

std::string testo_curva(const curva_ispezione& c, const std::vector<sistema_progressiva>& s) {
    std::string testo = std::string("curva a ") + (c.destra ? "destra" : "sinistra") +
                        " di raggio " + std::to_string(static_cast<long long>(c.raggio_m)) + " m";
    if (c.classe != 0)
        testo += " (classe " + std::to_string(c.classe) + ")";
    testo += " da " + std::to_string(c.da_metro) + " a " + std::to_string(c.a_metro) + " m (" +
             km(static_cast<double>(c.da_metro), s) + " - " +
             km(static_cast<double>(c.a_metro), s) + ")";
    if (c.fonte)
        testo += " [" + c.fonte->file + ":" + std::to_string(c.fonte->riga) + "]";
    return testo;
}

std::string riga_tratto(const ispezione& i, const tratto_ispezione& t) {
    std::string riga = riga_tratto(t, i.sistemi);
    for (const std::size_t n : curve_del_tratto(i, t))
        riga += "; " + testo_curva(i.curve[n], i.sistemi);
    return riga;
}

std::string riga_tratto(const tratto_ispezione& t, const std::vector<sistema_progressiva>& s) {
    std::string riga = std::to_string(t.da_metro) + "-" + std::to_string(t.a_metro) + " m (" +
                       km(static_cast<double>(t.da_metro), s) + "): treno " +
                       std::to_string(t.velocita_treno_kmh) + " km/h (linea " +
                       std::to_string(t.velocita_linea_kmh) + " km/h";
    if (t.rallentamento_kmh)
        riga += ", rallentamento " + std::to_string(*t.rallentamento_kmh) + " km/h";
    if (t.cartello_velocita)
        riga += ", cartello a " + std::to_string(t.cartello_velocita->metro) +
                " m: " + serie_kmh(t.cartello_velocita->prima_serie_kmh) + " km/h";
    riga += "); pendenza " + std::to_string(t.pendenza_per_mille) + " per mille; aderenza " +
            std::to_string(t.aderenza);
    if (t.rilievo != 0)
        riga += std::string("; ") + (t.galleria ? "galleria" : "rilievo") + " tipo " +
                std::to_string(t.rilievo);
    for (const elemento_tratto& e : t.elementi) {
        riga += "; " + e.descrizione;
        if (e.fonte)
            riga += " [" + e.fonte->file + ":" + std::to_string(e.fonte->riga) + "]";
    }
    return riga;
}

} // namespace corvenna
