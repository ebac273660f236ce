#include "importer/lettore_osm.hpp"

#include "importer/coordinate.hpp"

#include <osmium/handler.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/xml_input.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>
#include <osmium/visitor.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace corvenna {

namespace {

struct nodo_letto {
    double longitudine = 0;
    double latitudine = 0;
    bool valido = false;
    std::optional<double> quota;
};

struct via_letta {
    std::int64_t id = 0;
    std::vector<std::int64_t> nodi;
    bool galleria = false;
    std::optional<double> velocita;
};

struct stazione_letta {
    std::int64_t id = 0;
    std::string nome;
    std::optional<double> marciapiede;
};

struct relazione_letta {
    std::int64_t id = 0;
    std::vector<std::int64_t> vie;
};

// The leading decimal number of a tag value ("100", "80 km/h", "60 mph", "1.5"), converted to
// the unit the value names; std::nullopt for anything else ("none", "signals").
std::optional<double> numero_tag(const char* valore) {
    if (valore == nullptr)
        return std::nullopt;
    std::string_view v(valore);
    while (!v.empty() && v.front() == ' ')
        v.remove_prefix(1);
    double numero = 0;
    const auto [fine, errore] = std::from_chars(v.data(), v.data() + v.size(), numero);
    if (errore != std::errc() || !std::isfinite(numero))
        return std::nullopt;
    const std::string_view resto(fine, static_cast<std::size_t>(v.data() + v.size() - fine));
    if (resto.find("mph") != std::string_view::npos)
        numero *= 1.609344;
    return numero;
}

bool via_ferroviaria(const osmium::TagList& tag) {
    const char* r = tag["railway"];
    if (r == nullptr)
        return false;
    const std::string_view v(r);
    return v == "rail" || v == "light_rail" || v == "narrow_gauge";
}

struct raccolta : public osmium::handler::Handler {
    std::unordered_map<std::int64_t, nodo_letto> nodi;
    std::vector<via_letta> vie;
    std::vector<stazione_letta> stazioni;
    std::vector<std::int64_t> passaggi;
    std::vector<relazione_letta> relazioni;

    void node(const osmium::Node& n) {
        nodo_letto letto;
        const osmium::Location l = n.location();
        if (l.is_defined() && l.valid()) {
            letto.longitudine = l.lon_without_check();
            letto.latitudine = l.lat_without_check();
            letto.valido = coordinate_valide(letto.longitudine, letto.latitudine);
        }
        letto.quota = numero_tag(n.tags()["ele"]);
        nodi[n.id()] = letto;
        const char* r = n.tags()["railway"];
        if (r == nullptr)
            return;
        const std::string_view tipo(r);
        if ((tipo == "station" || tipo == "halt") && n.tags()["name"] != nullptr)
            stazioni.push_back(
                {n.id(), n.tags()["name"], numero_tag(n.tags()["railway:platform_length"])});
        else if (tipo == "level_crossing")
            passaggi.push_back(n.id());
    }

    void way(const osmium::Way& w) {
        if (!via_ferroviaria(w.tags()))
            return;
        via_letta v;
        v.id = w.id();
        for (const osmium::NodeRef& r : w.nodes())
            v.nodi.push_back(r.ref());
        const char* galleria = w.tags()["tunnel"];
        v.galleria = galleria != nullptr && std::string_view(galleria) != "no";
        v.velocita = numero_tag(w.tags()["maxspeed"]);
        vie.push_back(std::move(v));
    }

    void relation(const osmium::Relation& r) {
        const char* tipo = r.tags()["type"];
        const char* route = r.tags()["route"];
        if (tipo == nullptr || route == nullptr || std::string_view(tipo) != "route" ||
            std::string_view(route) != "train")
            return;
        relazione_letta rel{r.id(), {}};
        for (const osmium::RelationMember& m : r.members()) {
            const std::string_view ruolo(m.role());
            if (m.type() == osmium::item_type::way && ruolo != "platform" && ruolo != "stop")
                rel.vie.push_back(m.ref());
        }
        relazioni.push_back(std::move(rel));
    }
};

// The distance in metres between two points, on a sphere of the Earth's mean radius.
double distanza(const nodo_letto& a, const nodo_letto& b) {
    constexpr double raggio = 6371008.8;
    constexpr double grado = 3.14159265358979323846 / 180;
    const double dlat = (b.latitudine - a.latitudine) * grado;
    const double dlon = (b.longitudine - a.longitudine) * grado;
    const double h = std::sin(dlat / 2) * std::sin(dlat / 2) +
                     std::cos(a.latitudine * grado) * std::cos(b.latitudine * grado) *
                         std::sin(dlon / 2) * std::sin(dlon / 2);
    return 2 * raggio * std::asin(std::min(1.0, std::sqrt(h)));
}

std::string nodo(std::int64_t id) {
    return "nodo " + std::to_string(id);
}
std::string via(std::int64_t id) {
    return "via " + std::to_string(id);
}

bool stesso_nome(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A path as the map's nodes in running order, with the way each step between two nodes runs on.
struct catena {
    std::vector<std::int64_t> nodi;
    std::vector<std::size_t> vie; // index into raccolta::vie, one per step
};

struct esito_catena {
    std::optional<catena> percorso;
    std::optional<errore_mappa> errore;
};

// The railway graph: the nodes of the railway ways, joined where ways share a node (a way split
// in the middle, a junction), each edge with its length and its way.
struct grafo {
    std::unordered_map<std::int64_t, std::size_t> indice;
    std::vector<std::int64_t> id;
    struct arco {
        std::size_t verso;
        double lunghezza;
        std::size_t via;
    };
    std::vector<std::vector<arco>> archi;

    std::size_t nodo_di(std::int64_t n) {
        const auto [it, nuovo] = indice.try_emplace(n, id.size());
        if (nuovo) {
            id.push_back(n);
            archi.emplace_back();
        }
        return it->second;
    }
};

esito_catena tra_stazioni(const raccolta& r, const scelta_percorso_osm& scelta,
                          std::vector<nota_importazione>& note) {
    grafo g;
    for (std::size_t v = 0; v < r.vie.size(); ++v) {
        const via_letta& w = r.vie[v];
        for (std::size_t i = 0; i + 1 < w.nodi.size(); ++i) {
            const auto a = r.nodi.find(w.nodi[i]);
            const auto b = r.nodi.find(w.nodi[i + 1]);
            if (a == r.nodi.end() || b == r.nodi.end()) {
                const std::int64_t mancante = a == r.nodi.end() ? w.nodi[i] : w.nodi[i + 1];
                return {std::nullopt,
                        errore_mappa{via(w.id), "il " + nodo(mancante) + " non e' nella mappa"}};
            }
            if (!a->second.valido || !b->second.valido) {
                const std::int64_t fuori = !a->second.valido ? w.nodi[i] : w.nodi[i + 1];
                return {std::nullopt,
                        errore_mappa{nodo(fuori), "coordinate fuori dall'intervallo"}};
            }
            const double l = distanza(a->second, b->second);
            const std::size_t ia = g.nodo_di(w.nodi[i]);
            const std::size_t ib = g.nodo_di(w.nodi[i + 1]);
            g.archi[ia].push_back({ib, l, v});
            g.archi[ib].push_back({ia, l, v});
        }
    }
    if (g.id.empty())
        return {std::nullopt,
                errore_mappa{"mappa", "nessuna ferrovia (via con railway=rail) nella mappa"}};

    // Each named station's node on the graph: itself, or the nearest railway node.
    auto ancora = [&](const std::string& nome) -> std::variant<std::size_t, errore_mappa> {
        const stazione_letta* trovata = nullptr;
        for (const stazione_letta& s : r.stazioni)
            if (stesso_nome(s.nome, nome)) {
                trovata = &s;
                break;
            }
        if (trovata == nullptr)
            return errore_mappa{"mappa", "nessuna stazione di nome \"" + nome + "\""};
        if (const auto it = g.indice.find(trovata->id); it != g.indice.end())
            return it->second;
        const nodo_letto& s = r.nodi.at(trovata->id);
        if (!s.valido)
            return errore_mappa{nodo(trovata->id), "coordinate fuori dall'intervallo"};
        std::size_t migliore = 0;
        double minima = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < g.id.size(); ++i) {
            const double d = distanza(s, r.nodi.at(g.id[i]));
            if (d < minima) {
                minima = d;
                migliore = i;
            }
        }
        if (minima > 1000)
            return errore_mappa{nodo(trovata->id), "la stazione \"" + nome +
                                                       "\" e' a piu' di 1000 m da ogni ferrovia"};
        note.push_back(
            {nodo(trovata->id), "la stazione \"" + nome +
                                    "\" e' fuori dal binario: il percorso parte dal " +
                                    nodo(g.id[migliore]) + ", a " +
                                    std::to_string(static_cast<int>(std::lround(minima))) + " m"});
        return migliore;
    };
    const auto da = ancora(scelta.da);
    if (const auto* e = std::get_if<errore_mappa>(&da))
        return {std::nullopt, *e};
    const auto a = ancora(scelta.a);
    if (const auto* e = std::get_if<errore_mappa>(&a))
        return {std::nullopt, *e};
    const std::size_t partenza = std::get<std::size_t>(da);
    const std::size_t arrivo = std::get<std::size_t>(a);
    if (partenza == arrivo)
        return {std::nullopt, errore_mappa{nodo(g.id[partenza]),
                                           "le stazioni di partenza e di arrivo coincidono"}};

    // Dijkstra from the start to the end.
    std::vector<double> costo(g.id.size(), std::numeric_limits<double>::infinity());
    std::vector<std::size_t> da_nodo(g.id.size(), g.id.size());
    std::vector<std::size_t> da_via(g.id.size(), 0);
    using voce = std::pair<double, std::size_t>;
    std::priority_queue<voce, std::vector<voce>, std::greater<>> coda;
    costo[partenza] = 0;
    coda.push({0, partenza});
    while (!coda.empty()) {
        const auto [c, n] = coda.top();
        coda.pop();
        if (c > costo[n])
            continue;
        if (n == arrivo)
            break;
        for (const grafo::arco& e : g.archi[n])
            if (c + e.lunghezza < costo[e.verso]) {
                costo[e.verso] = c + e.lunghezza;
                da_nodo[e.verso] = n;
                da_via[e.verso] = e.via;
                coda.push({costo[e.verso], e.verso});
            }
    }
    if (!std::isfinite(costo[arrivo]))
        return {std::nullopt,
                errore_mappa{nodo(g.id[partenza]), "nessuna ferrovia collega \"" + scelta.da +
                                                       "\" (" + nodo(g.id[partenza]) + ") a \"" +
                                                       scelta.a + "\" (" + nodo(g.id[arrivo]) +
                                                       "): le vie non si congiungono"}};
    catena c;
    for (std::size_t n = arrivo; n != partenza; n = da_nodo[n]) {
        c.nodi.push_back(g.id[n]);
        c.vie.push_back(da_via[n]);
    }
    c.nodi.push_back(g.id[partenza]);
    std::reverse(c.nodi.begin(), c.nodi.end());
    std::reverse(c.vie.begin(), c.vie.end());
    return {c, std::nullopt};
}

esito_catena da_relazione(const raccolta& r) {
    if (r.relazioni.empty())
        return {std::nullopt,
                errore_mappa{"mappa", "nessuna relazione route=train: indicare le stazioni con "
                                      "--da e --a"}};
    const relazione_letta& rel = r.relazioni.front();
    const std::string nome_rel = "relazione " + std::to_string(rel.id);
    std::unordered_map<std::int64_t, std::size_t> per_id;
    for (std::size_t v = 0; v < r.vie.size(); ++v)
        per_id[r.vie[v].id] = v;
    std::vector<std::size_t> vie;
    for (const std::int64_t id : rel.vie) {
        const auto it = per_id.find(id);
        if (it == per_id.end())
            return {std::nullopt,
                    errore_mappa{nome_rel, "la " + via(id) + " non e' una ferrovia della mappa"}};
        if (r.vie[it->second].nodi.size() >= 2)
            vie.push_back(it->second);
    }
    if (vie.empty())
        return {std::nullopt, errore_mappa{nome_rel, "nessuna ferrovia nella relazione"}};
    catena c;
    for (std::size_t k = 0; k < vie.size(); ++k) {
        std::vector<std::int64_t> nodi = r.vie[vie[k]].nodi;
        if (k == 0) {
            // The first way runs toward the second.
            if (vie.size() > 1) {
                const auto& dopo = r.vie[vie[1]].nodi;
                if (nodi.front() == dopo.front() || nodi.front() == dopo.back())
                    std::reverse(nodi.begin(), nodi.end());
            }
            c.nodi = nodi;
            c.vie.assign(nodi.size() - 1, vie[k]);
            continue;
        }
        if (nodi.back() == c.nodi.back())
            std::reverse(nodi.begin(), nodi.end());
        if (nodi.front() != c.nodi.back())
            return {std::nullopt, errore_mappa{nome_rel, "la " + via(r.vie[vie[k]].id) +
                                                             " non si congiunge alla precedente " +
                                                             via(r.vie[vie[k - 1]].id)}};
        c.nodi.insert(c.nodi.end(), nodi.begin() + 1, nodi.end());
        c.vie.insert(c.vie.end(), nodi.size() - 1, vie[k]);
    }
    for (const std::int64_t n : c.nodi) {
        const auto it = r.nodi.find(n);
        if (it == r.nodi.end())
            return {std::nullopt, errore_mappa{nome_rel, "il " + nodo(n) + " non e' nella mappa"}};
        if (!it->second.valido)
            return {std::nullopt, errore_mappa{nodo(n), "coordinate fuori dall'intervallo"}};
    }
    return {c, std::nullopt};
}

} // namespace

esito_mappa leggi_osm(std::string_view byte, formato_osm formato,
                      const scelta_percorso_osm& scelta) {
    if (byte.empty())
        return mappa_fallita("byte 0", "il file e' vuoto");
    raccolta r;
    try {
        osmium::io::File file(byte.data(), byte.size(),
                              formato == formato_osm::pbf ? "pbf" : "osm");
        osmium::io::Reader lettore(file);
        osmium::apply(lettore, r);
        lettore.close();
    } catch (const osmium::xml_error& e) {
        return mappa_fallita("riga " + std::to_string(e.line) + ", colonna " +
                                 std::to_string(e.column),
                             "XML non valido: " + e.error_string);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return mappa_fallita("file", std::string(formato == formato_osm::pbf
                                                     ? "dati PBF danneggiati: "
                                                     : "dati della mappa danneggiati: ") +
                                         e.what());
    }
    if (r.vie.empty())
        return mappa_fallita("mappa", "nessuna ferrovia (via con railway=rail) nella mappa");

    mappa_importata mappa;
    const esito_catena c =
        scelta.da.empty() ? da_relazione(r) : tra_stazioni(r, scelta, mappa.note);
    if (c.errore)
        return {std::nullopt, c.errore};
    const catena& percorso = *c.percorso;

    std::unordered_map<std::int64_t, std::size_t> posto;
    for (std::size_t i = 0; i < percorso.nodi.size(); ++i) {
        const nodo_letto& n = r.nodi.at(percorso.nodi[i]);
        mappa.percorso.push_back({n.longitudine, n.latitudine, n.quota});
        mappa.elementi_punti.push_back(nodo(percorso.nodi[i]));
        posto.try_emplace(percorso.nodi[i], i);
    }
    for (const std::int64_t p : r.passaggi)
        if (const auto it = posto.find(p); it != posto.end())
            mappa.passaggi_livello.push_back({it->second, nodo(p)});
    std::sort(mappa.passaggi_livello.begin(), mappa.passaggi_livello.end(),
              [](const punto_mappa& x, const punto_mappa& y) { return x.indice < y.indice; });

    // Tunnels: runs of steps on tunnel ways; speeds: where the way's maxspeed changes.
    std::optional<double> velocita;
    for (std::size_t i = 0; i < percorso.vie.size(); ++i) {
        const via_letta& w = r.vie[percorso.vie[i]];
        if (w.galleria) {
            if (!mappa.gallerie.empty() && mappa.gallerie.back().a == i &&
                mappa.gallerie.back().elemento == via(w.id))
                mappa.gallerie.back().a = i + 1;
            else if (!mappa.gallerie.empty() && mappa.gallerie.back().a == i)
                mappa.gallerie.back().a = i + 1;
            else
                mappa.gallerie.push_back({i, i + 1, via(w.id)});
        }
        if (w.velocita && w.velocita != velocita) {
            velocita = w.velocita;
            mappa.velocita.push_back({i, *w.velocita, via(w.id)});
        }
    }
    for (const stazione_letta& s : r.stazioni) {
        const nodo_letto& n = r.nodi.at(s.id);
        if (!n.valido) {
            mappa.note.push_back(
                {nodo(s.id), "stazione con coordinate fuori dall'intervallo: ignorata"});
            continue;
        }
        mappa.stazioni.push_back({s.nome, n.longitudine, n.latitudine, s.marciapiede, nodo(s.id)});
    }
    return {std::move(mappa), std::nullopt};
}

} // namespace corvenna
