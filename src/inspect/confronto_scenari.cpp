#include "inspect/confronto_scenari.hpp"

#include "input/chilometri_guida.hpp"
#include "inspect/ispezione_csv.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "inspect/ispezione_tratti.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <tuple>
#include <variant>

namespace corvenna {

namespace {

struct lato {
    const costruzione& c;
    ispezione i;
};

std::string dove(const lato& l, std::int64_t metro) {
    return std::to_string(metro) + " m (km " +
           testo_progressiva(progressiva_al_metro(l.i.sistemi, static_cast<double>(metro))) + ")";
}

std::string testo_valore(const valore_elemento& v) {
    return std::visit(
        [](const auto& x) {
            if constexpr (std::is_same_v<std::decay_t<decltype(x)>, std::string>)
                return x;
            else
                return std::to_string(x);
        },
        v);
}

// The values that make a feature what it is, without where it stands nor the item it is kept
// in (which moves when signs are added before it).
std::string firma(const elemento_tratto& e) {
    std::string f = e.cosa;
    for (const auto& [nome, valore] : e.valori)
        if (nome != "voce" && nome != "fino_a_metro")
            f += ";" + nome + "=" + testo_valore(valore);
    return f;
}

std::string valori_leggibili(const elemento_tratto& e) {
    std::string t;
    for (const auto& [nome, valore] : e.valori)
        if (nome != "voce")
            t += (t.empty() ? "" : ", ") + nome + " " + testo_valore(valore);
    return t;
}

bool confrontato(const std::string& cosa) {
    // A station is compared by its item; its stop point, the finishing pass's cells and the
    // slowdown's own end, warning and numbered cells follow from other features.
    return cosa != "stazione" && cosa != "fermata" && cosa != "marcatore_galleria" &&
           cosa != "fine_rallentamento" && cosa != "avviso_rallentamento" &&
           cosa != "preavviso_rallentamento" && cosa != "abbattimento";
}

std::string nome_gruppo(const std::string& cosa) {
    return cosa == "inizio_rallentamento" ? "rallentamento" : cosa;
}

std::string parola(const std::string& cosa) {
    if (cosa == "inizio_rallentamento")
        return "rallentamento";
    if (cosa == "cartello_velocita")
        return "cartello di velocita";
    return cosa;
}

void elementi(const lato& a, const lato& b, std::vector<modifica>& m) {
    std::map<std::string, std::vector<const elemento_tratto*>> pa, pb;
    for (const tratto_ispezione& t : a.i.tratti)
        for (const elemento_tratto& e : t.elementi)
            if (confrontato(e.cosa))
                pa[e.cosa].push_back(&e);
    for (const tratto_ispezione& t : b.i.tratti)
        for (const elemento_tratto& e : t.elementi)
            if (confrontato(e.cosa))
                pb[e.cosa].push_back(&e);
    std::vector<std::string> tipi;
    for (const auto& [k, v] : pa)
        tipi.push_back(k);
    for (const auto& [k, v] : pb)
        if (!pa.contains(k))
            tipi.push_back(k);

    for (const std::string& cosa : tipi) {
        std::vector<const elemento_tratto*> ra = pa[cosa], rb = pb[cosa];
        const auto chiave = [](const elemento_tratto* e) { return std::pair{e->metro, firma(*e)}; };
        std::sort(ra.begin(), ra.end(), [&](auto x, auto y) { return chiave(x) < chiave(y); });
        std::sort(rb.begin(), rb.end(), [&](auto x, auto y) { return chiave(x) < chiave(y); });
        // Equal in both: left out.
        std::vector<const elemento_tratto*> sa, sb;
        std::set_difference(ra.begin(), ra.end(), rb.begin(), rb.end(), std::back_inserter(sa),
                            [&](auto x, auto y) { return chiave(x) < chiave(y); });
        std::set_difference(rb.begin(), rb.end(), ra.begin(), ra.end(), std::back_inserter(sb),
                            [&](auto x, auto y) { return chiave(x) < chiave(y); });
        std::vector<bool> usato_b(sb.size(), false);
        std::vector<bool> usato_a(sa.size(), false);
        const std::string p = parola(cosa);
        // The same metre, other values: changed.
        for (std::size_t x = 0; x < sa.size(); ++x)
            for (std::size_t y = 0; y < sb.size(); ++y)
                if (!usato_b[y] && sb[y]->metro == sa[x]->metro) {
                    usato_a[x] = usato_b[y] = true;
                    m.push_back({nome_gruppo(cosa), sa[x]->metro,
                                 p + " a " + dove(a, sa[x]->metro) + " cambiato: " +
                                     valori_leggibili(*sa[x]) + " -> " + valori_leggibili(*sb[y])});
                    break;
                }
        // The same values at the nearest other metre: moved.
        for (std::size_t x = 0; x < sa.size(); ++x) {
            if (usato_a[x])
                continue;
            std::optional<std::size_t> migliore;
            for (std::size_t y = 0; y < sb.size(); ++y)
                if (!usato_b[y] && firma(*sb[y]) == firma(*sa[x]) &&
                    (!migliore || std::llabs(sb[y]->metro - sa[x]->metro) <
                                      std::llabs(sb[*migliore]->metro - sa[x]->metro)))
                    migliore = y;
            if (!migliore)
                continue;
            usato_a[x] = usato_b[*migliore] = true;
            m.push_back({nome_gruppo(cosa), sa[x]->metro,
                         p + " a " + dove(a, sa[x]->metro) + " spostato a " +
                             dove(b, sb[*migliore]->metro)});
        }
        for (std::size_t x = 0; x < sa.size(); ++x)
            if (!usato_a[x])
                m.push_back({nome_gruppo(cosa), sa[x]->metro,
                             p + " a " + dove(a, sa[x]->metro) + " tolto (" +
                                 valori_leggibili(*sa[x]) + ")"});
        for (std::size_t y = 0; y < sb.size(); ++y)
            if (!usato_b[y])
                m.push_back({nome_gruppo(cosa), sb[y]->metro,
                             p + " a " + dove(b, sb[y]->metro) + " aggiunto (" +
                                 valori_leggibili(*sb[y]) + ")"});
    }
}

std::string ora_o_niente(const voce& v) {
    return v.orario != 0 ? ora_del_giorno(v.orario) : std::string("nessuna");
}

void stazioni(const lato& a, const lato& b, std::vector<modifica>& m) {
    std::map<int, const elemento_tratto*> sa, sb;
    for (const tratto_ispezione& t : a.i.tratti)
        for (const elemento_tratto& e : t.elementi)
            if (e.cosa == "stazione")
                sa[e.voce] = &e;
    for (const tratto_ispezione& t : b.i.tratti)
        for (const elemento_tratto& e : t.elementi)
            if (e.cosa == "stazione")
                sb[e.voce] = &e;
    for (const auto& [j, ea] : sa) {
        const voce& va = a.c.voci[static_cast<std::size_t>(j)];
        const std::string nome = nome_csv(va.nome);
        const auto trovata = sb.find(j);
        if (trovata == sb.end()) {
            m.push_back({"stazione", ea->metro,
                         "stazione " + nome + " a " + dove(a, ea->metro) + " tolta"});
            continue;
        }
        const voce& vb = b.c.voci[static_cast<std::size_t>(j)];
        const std::string inizio = "stazione " + nome + " a " + dove(a, ea->metro);
        std::vector<std::string> cosa;
        if (va.nome != vb.nome)
            cosa.push_back("rinominata " + nome_csv(vb.nome));
        if (va.posizione != vb.posizione)
            cosa.push_back("spostata a " + dove(b, vb.posizione));
        if (va.tipo != vb.tipo)
            cosa.push_back("tipo " + std::to_string(va.tipo) + " -> " + std::to_string(vb.tipo));
        if (va.orario != vb.orario)
            cosa.push_back("ora " + ora_o_niente(va) + " -> " + ora_o_niente(vb));
        if (va.inizio - va.posizione != vb.inizio - vb.posizione ||
            va.fine - va.posizione != vb.fine - vb.posizione)
            cosa.push_back("marciapiede " + std::to_string(va.inizio) + "-" +
                           std::to_string(va.fine) + " -> " + std::to_string(vb.inizio) + "-" +
                           std::to_string(vb.fine) + " m");
        if (va.b1 != vb.b1 || va.b2 != vb.b2 || va.b3 != vb.b3 || va.b4 != vb.b4 ||
            va.b5 != vb.b5 || va.i1 != vb.i1 || va.i2 != vb.i2 || va.i3 != vb.i3 ||
            va.i4 != vb.i4 || va.i5 != vb.i5)
            cosa.push_back("altri valori della riga cambiati");
        if (cosa.empty())
            continue;
        std::string t = inizio;
        for (std::size_t n = 0; n < cosa.size(); ++n)
            t += (n == 0 ? " " : ", ") + cosa[n];
        m.push_back({"stazione", ea->metro, t});
    }
    for (const auto& [j, eb] : sb)
        if (!sa.contains(j))
            m.push_back({"stazione", eb->metro,
                         "stazione " + nome_csv(b.c.voci[static_cast<std::size_t>(j)].nome) +
                             " a " + dove(b, eb->metro) + " aggiunta"});
}

// The metres both routes hold: the track laid past a route's end is no part of what an author
// compares (a longer route is told as a change of its length).
std::int64_t percorso_comune(const lato& a, const lato& b) {
    return std::max<std::int64_t>(0, std::min(a.i.lunghezza_percorso, b.i.lunghezza_percorso));
}

// Stretches of cells where a per-cell value differs, cut where either side's value changes, so
// that each keeps one value on both sides; within the routes.
template <typename Valore, typename Testo>
void proprieta(const lato& a, const lato& b, const std::string& gruppo, Valore valore, Testo testo,
               std::vector<modifica>& m) {
    const std::size_t n = std::min({a.i.tratti.size(), b.i.tratti.size(),
                                    static_cast<std::size_t>((percorso_comune(a, b) + 49) / 50)});
    std::size_t k = 0;
    while (k < n) {
        const auto va = valore(a, k);
        const auto vb = valore(b, k);
        if (va == vb) {
            ++k;
            continue;
        }
        std::size_t fine = k + 1;
        while (fine < n && valore(a, fine) == va && valore(b, fine) == vb)
            ++fine;
        const auto da = 50 * static_cast<std::int64_t>(k);
        m.push_back({gruppo, da,
                     gruppo + " da " + dove(a, da) + " a " +
                         std::to_string(50 * static_cast<std::int64_t>(fine)) + " m: " + testo(va) +
                         " -> " + testo(vb)});
        k = fine;
    }
}

// The bend at metre m: the angle between the two steps that meet there, which does not depend
// on their length (a curve lengthens the steps after it a little).
std::optional<double> curvatura(const costruzione& c, std::size_t m) {
    const asse_planimetria& x = c.planimetria[asse_x];
    const asse_planimetria& y = c.planimetria[asse_y];
    if (m < 2 || m >= x.size() || m >= y.size())
        return std::nullopt;
    for (std::size_t i = m - 2; i <= m; ++i)
        if (x.tipo(i) == tipo_valore::vuoto || y.tipo(i) == tipo_valore::vuoto)
            return std::nullopt;
    const double dx1 = x.numero(m - 1) - x.numero(m - 2), dy1 = y.numero(m - 1) - y.numero(m - 2);
    const double dx2 = x.numero(m) - x.numero(m - 1), dy2 = y.numero(m) - y.numero(m - 1);
    return std::atan2(dx1 * dy2 - dy1 * dx2, dx1 * dx2 + dy1 * dy2);
}

std::string metri_testo(double d) {
    char t[32];
    std::snprintf(t, sizeof t, "%.2f", d);
    return t;
}

void planimetria(const lato& a, const lato& b, std::vector<modifica>& m) {
    const bool ha_a = a.c.genera_planimetria != 0 && !a.c.planimetria[asse_x].empty();
    const bool ha_b = b.c.genera_planimetria != 0 && !b.c.planimetria[asse_x].empty();
    if (ha_a != ha_b) {
        m.push_back(
            {"planimetria", std::nullopt, ha_a ? "planimetria tolta" : "planimetria aggiunta"});
        return;
    }
    if (!ha_a)
        return;
    const std::size_t n = std::min({a.c.planimetria[asse_x].size(), b.c.planimetria[asse_x].size(),
                                    static_cast<std::size_t>(percorso_comune(a, b)) + 1});
    constexpr double soglia_curvatura = 1e-9; // radians a metre
    // Stretches of metres where the line bends otherwise.
    std::vector<std::pair<std::size_t, std::size_t>> tratti;
    for (std::size_t metro = 2; metro < n; ++metro) {
        const auto ka = curvatura(a.c, metro);
        const auto kb = curvatura(b.c, metro);
        const bool diversa =
            ka.has_value() != kb.has_value() || (ka && std::abs(*ka - *kb) > soglia_curvatura);
        if (!diversa)
            continue;
        if (!tratti.empty() && tratti.back().second + 1 >= metro)
            tratti.back().second = metro;
        else
            tratti.push_back({metro, metro});
    }
    const asse_planimetria& xa = a.c.planimetria[asse_x];
    const asse_planimetria& ya = a.c.planimetria[asse_y];
    const asse_planimetria& xb = b.c.planimetria[asse_x];
    const asse_planimetria& yb = b.c.planimetria[asse_y];
    for (std::size_t t = 0; t < tratti.size(); ++t) {
        const std::size_t fino = t + 1 < tratti.size() ? tratti[t + 1].first : n;
        double massimo = 0;
        std::size_t dove_massimo = tratti[t].first;
        for (std::size_t metro = tratti[t].first; metro < fino; ++metro) {
            if (xa.tipo(metro) == tipo_valore::vuoto || xb.tipo(metro) == tipo_valore::vuoto ||
                ya.tipo(metro) == tipo_valore::vuoto || yb.tipo(metro) == tipo_valore::vuoto)
                continue;
            const double d = std::hypot(xa.numero(metro) - xb.numero(metro),
                                        ya.numero(metro) - yb.numero(metro));
            if (d > massimo) {
                massimo = d;
                dove_massimo = metro;
            }
        }
        const auto da = static_cast<std::int64_t>(tratti[t].first);
        m.push_back({"planimetria", da,
                     "planimetria: la linea curva diversamente da " + dove(a, da) + " a " +
                         std::to_string(tratti[t].second) + " m; si sposta al massimo di " +
                         metri_testo(massimo) + " m (a " + std::to_string(dove_massimo) + " m)"});
    }
}

void scenario(const lato& a, const lato& b, std::vector<modifica>& m) {
    const auto campo = [&m](const std::string& nome, const std::string& va, const std::string& vb) {
        if (va != vb)
            m.push_back({"scenario", std::nullopt, nome + ": " + va + " -> " + vb});
    };
    const auto n = [](std::int64_t v) { return std::to_string(v); };
    const voce& pa = a.c.voci[voce_percorso];
    const voce& pb = b.c.voci[voce_percorso];
    const voce& ta = a.c.voci[voce_treno];
    const voce& tb = b.c.voci[voce_treno];
    campo("nome dello scenario", nome_csv(a.c.voci[voce_scenario].nome),
          nome_csv(b.c.voci[voce_scenario].nome));
    campo("numero del treno", nome_csv(ta.nome), nome_csv(tb.nome));
    campo("lunghezza del percorso", n(pa.fine) + " m", n(pb.fine) + " m");
    campo("percentuale di massa frenata", n(pa.inizio), n(pb.inizio));
    campo("numero di vetture", n(pa.posizione), n(pb.posizione));
    campo("sabbia", n(ta.i1), n(tb.i1));
    campo("orologio", ora_del_giorno(std::int64_t{ta.i3} * 3600 + ta.i4 * 60 + ta.i5),
          ora_del_giorno(std::int64_t{tb.i3} * 3600 + tb.i4 * 60 + tb.i5));
    campo("ripetizione segnali", n(ta.inizio) + "-" + n(ta.fine) + " m, " + n(ta.posizione),
          n(tb.inizio) + "-" + n(tb.fine) + " m, " + n(tb.posizione));
    const voce& sa = a.c.voci[voce_scenario];
    const voce& sb = b.c.voci[voce_scenario];
    campo("sfondi", n(sa.inizio) + "/" + n(sa.posizione) + "/" + n(sa.fine),
          n(sb.inizio) + "/" + n(sb.posizione) + "/" + n(sb.fine));
    for (std::size_t s = 0; s < a.i.sistemi.size() && s < b.i.sistemi.size(); ++s) {
        const sistema_progressiva& x = a.i.sistemi[s];
        const sistema_progressiva& y = b.i.sistemi[s];
        const auto t = [&n](const sistema_progressiva& z) {
            return "da " + n(z.inizio) + " m, lettura al metro 0 " + n(z.offset) + " m" +
                   (z.decrescente ? ", decrescente" : "");
        };
        campo("progressiva chilometrica (voce " + n(voce_progressiva_tre + std::int64_t(s)) + ")",
              t(x), t(y));
    }
}

} // namespace

std::vector<modifica> confronta_scenari(const costruzione& ca, const costruzione& cb) {
    const lato a{ca, ispeziona_tratti(ca)};
    const lato b{cb, ispeziona_tratti(cb)};
    std::vector<modifica> m;
    scenario(a, b, m);
    std::vector<modifica> lungo;
    stazioni(a, b, lungo);
    elementi(a, b, lungo);
    const auto kmh = [](int v) { return std::to_string(v) + " km/h"; };
    proprieta(
        a, b, "velocita",
        [](const lato& l, std::size_t k) { return l.i.tratti[k].velocita_linea_kmh; }, kmh, lungo);
    proprieta(
        a, b, "pendenza",
        [](const lato& l, std::size_t k) { return l.i.tratti[k].pendenza_per_mille; },
        [](int v) { return std::to_string(v) + " per mille"; }, lungo);
    proprieta(
        a, b, "aderenza", [](const lato& l, std::size_t k) { return l.i.tratti[k].aderenza; },
        [](int v) { return std::to_string(v); }, lungo);
    proprieta(
        a, b, "rilievo",
        [](const lato& l, std::size_t k) {
            return std::pair{l.i.tratti[k].rilievo, l.i.tratti[k].galleria};
        },
        [](std::pair<int, bool> v) {
            return v.first == 0 ? std::string("nessuno")
                                : (v.second ? "galleria tipo " : "tipo ") + std::to_string(v.first);
        },
        lungo);
    planimetria(a, b, lungo);
    std::stable_sort(lungo.begin(), lungo.end(),
                     [](const modifica& x, const modifica& y) { return x.metro < y.metro; });
    m.insert(m.end(), lungo.begin(), lungo.end());
    return m;
}

} // namespace corvenna
