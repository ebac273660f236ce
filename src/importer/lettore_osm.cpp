#include "importer/lettore_osm.hpp"

#include "importer/coordinate.hpp"
#include "importer/nome_stazione.hpp"

#include <expat.h>
#include <osmium/geom/haversine.hpp>
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
#include <memory>
#include <optional>
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
    bool letto = false; // false until the node itself is met in the map
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
    double longitudine = 0;
    double latitudine = 0;
    bool valido = false;
};

struct relazione_letta {
    std::int64_t id = 0;
    std::vector<std::int64_t> vie;
};

// What the reader keeps at most, whatever the map's size: the node references of the railway
// ways and of the route relation taken together, and the named stations. A large region's
// railways fit; a map beyond them is refused before it can take the machine's memory (a PBF
// file of dense nodes packs millions of them in a few hundred kilobytes).
constexpr std::size_t riferimenti_massimi = 4'000'000;
constexpr std::size_t stazioni_massime = 100'000;

// Thrown by a handler to end the read with an error on a map element.
struct lettura_interrotta {
    errore_mappa errore;
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

std::string nodo(std::int64_t id) {
    return "nodo " + std::to_string(id);
}
std::string via(std::int64_t id) {
    return "via " + std::to_string(id);
}

[[noreturn]] void troppi(const std::string& cosa, std::size_t massimo) {
    throw lettura_interrotta{{"mappa", "la mappa ha piu' di " + std::to_string(massimo) + " " +
                                           cosa + ": ritagliare la zona del percorso"}};
}

// The first pass: the railway ways and the first route=train relation, which say which nodes
// the second pass keeps.
struct raccolta_vie : public osmium::handler::Handler {
    std::vector<via_letta> vie;
    std::optional<relazione_letta> relazione;
    std::size_t riferimenti = 0;

    void conta(std::size_t n) {
        riferimenti += n;
        if (riferimenti > riferimenti_massimi)
            troppi("nodi di ferrovie", riferimenti_massimi);
    }

    void way(const osmium::Way& w) {
        if (!via_ferroviaria(w.tags()))
            return;
        conta(w.nodes().size());
        via_letta v;
        v.id = w.id();
        v.nodi.reserve(w.nodes().size());
        for (const osmium::NodeRef& r : w.nodes())
            v.nodi.push_back(r.ref());
        const char* galleria = w.tags()["tunnel"];
        v.galleria = galleria != nullptr && std::string_view(galleria) != "no";
        v.velocita = numero_tag(w.tags()["maxspeed"]);
        vie.push_back(std::move(v));
    }

    void relation(const osmium::Relation& r) {
        if (relazione)
            return;
        const char* tipo = r.tags()["type"];
        const char* route = r.tags()["route"];
        if (tipo == nullptr || route == nullptr || std::string_view(tipo) != "route" ||
            std::string_view(route) != "train")
            return;
        conta(r.members().size());
        relazione_letta rel{r.id(), {}};
        for (const osmium::RelationMember& m : r.members()) {
            const std::string_view ruolo(m.role());
            if (m.type() == osmium::item_type::way && ruolo != "platform" && ruolo != "stop")
                rel.vie.push_back(m.ref());
        }
        relazione = std::move(rel);
    }
};

// The second pass: the nodes of the railway ways (and only those), the named stations wherever
// they are, and the level crossings on the railway ways.
struct raccolta_nodi : public osmium::handler::Handler {
    // The ids of the railway ways' nodes, sorted, and each one's data at the same index.
    std::vector<std::int64_t> id;
    std::vector<nodo_letto> dati;
    std::vector<stazione_letta> stazioni;
    std::vector<std::int64_t> passaggi;
    std::vector<nota_importazione> note;

    explicit raccolta_nodi(const std::vector<via_letta>& vie) {
        for (const via_letta& v : vie)
            id.insert(id.end(), v.nodi.begin(), v.nodi.end());
        std::sort(id.begin(), id.end());
        id.erase(std::unique(id.begin(), id.end()), id.end());
        id.shrink_to_fit();
        dati.resize(id.size());
    }

    // The node's data when it is a railway way's node and the map holds it.
    const nodo_letto* trova(std::int64_t n) const {
        const auto it = std::lower_bound(id.begin(), id.end(), n);
        if (it == id.end() || *it != n)
            return nullptr;
        const nodo_letto& d = dati[static_cast<std::size_t>(it - id.begin())];
        return d.letto ? &d : nullptr;
    }

    void node(const osmium::Node& n) {
        nodo_letto letto;
        letto.letto = true;
        const osmium::Location l = n.location();
        if (l.is_defined() && l.valid()) {
            letto.longitudine = l.lon_without_check();
            letto.latitudine = l.lat_without_check();
            letto.valido = coordinate_valide(letto.longitudine, letto.latitudine);
        }
        const auto it = std::lower_bound(id.begin(), id.end(), n.id());
        const bool di_ferrovia = it != id.end() && *it == n.id();
        const char* r = n.tags()["railway"];
        const std::string_view tipo(r == nullptr ? "" : r);
        const char* nome = n.tags()["name"];
        if ((tipo == "station" || tipo == "halt") && nome != nullptr) {
            if (stazioni.size() >= stazioni_massime)
                troppi("stazioni", stazioni_massime);
            if (const auto motivo = nome_troppo_lungo(nome))
                throw lettura_interrotta{{nodo(n.id()), *motivo}};
            const char* lunghezza = n.tags()["railway:platform_length"];
            const auto marciapiede = marciapiede_plausibile(numero_tag(lunghezza));
            if (lunghezza != nullptr && numero_tag(lunghezza) && !marciapiede)
                note.push_back({nodo(n.id()), marciapiede_fuori_intervallo(lunghezza)});
            stazioni.push_back(
                {n.id(), nome, marciapiede, letto.longitudine, letto.latitudine, letto.valido});
        }
        if (!di_ferrovia)
            return;
        letto.quota = numero_tag(n.tags()["ele"]);
        dati[static_cast<std::size_t>(it - id.begin())] = letto;
        if (tipo == "level_crossing")
            passaggi.push_back(n.id());
    }
};

struct raccolta {
    std::vector<via_letta> vie;
    std::optional<relazione_letta> relazione;
    raccolta_nodi nodi;

    const nodo_letto* trova(std::int64_t n) const { return nodi.trova(n); }
};

// Where the XML parser stood when the map's reader stopped: the reader's own checks (an entity
// declaration, an element it does not know or does not allow there) throw from inside the
// parser, which loses the position. A second parse with the same parser stops at the first
// declaration or element the message names and gives its line and column.
class ricerca_posizione {
  public:
    explicit ricerca_posizione(std::string_view messaggio) {
        constexpr std::string_view sconosciuto = "Unknown element in <";
        constexpr std::string_view in_cima = "Unknown top-level element: ";
        if (messaggio.find("entities") != std::string_view::npos) {
            entita_ = true;
        } else if (messaggio.rfind(in_cima, 0) == 0) {
            elemento_ = messaggio.substr(in_cima.size());
            profondita_ = 2;
        } else if (messaggio.rfind(sconosciuto, 0) == 0) {
            const auto chiusa = messaggio.find(">: ");
            if (chiusa != std::string_view::npos) {
                padre_ = messaggio.substr(sconosciuto.size(), chiusa - sconosciuto.size());
                elemento_ = messaggio.substr(chiusa + 3);
            }
        } else if (messaggio.rfind("No element in", 0) == 0) {
            // "No element inside <tag> allowed", "No element in <text> allowed"
            const auto apre = messaggio.find('<');
            const auto chiusa = messaggio.find('>');
            if (apre != std::string_view::npos && chiusa != std::string_view::npos && chiusa > apre)
                padre_ = messaggio.substr(apre + 1, chiusa - apre - 1);
            qualsiasi_figlio_ = true;
        }
    }

    std::optional<std::string> cerca(std::string_view byte) {
        if (!entita_ && elemento_.empty() && padre_.empty())
            return std::nullopt;
        const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(
            XML_ParserCreate(nullptr), XML_ParserFree);
        if (!parser)
            return std::nullopt;
        parser_ = parser.get();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &ricerca_posizione::apre, &ricerca_posizione::chiude);
        XML_SetEntityDeclHandler(parser_, &ricerca_posizione::entita);
        // A block at a time: expat counts a length in an int.
        constexpr std::size_t blocco = 1 << 20;
        for (std::size_t da = 0; da < byte.size() && !trovata_; da += blocco) {
            const std::size_t n = std::min(blocco, byte.size() - da);
            if (XML_Parse(parser_, byte.data() + da, static_cast<int>(n), da + n == byte.size()) !=
                XML_STATUS_OK)
                break;
        }
        return trovata_;
    }

  private:
    static void apre(void* dati, const XML_Char* nome, const XML_Char**) {
        auto& r = *static_cast<ricerca_posizione*>(dati);
        const std::string_view padre =
            r.aperti_.empty() ? std::string_view() : std::string_view(r.aperti_.back());
        const bool cercato =
            r.qualsiasi_figlio_
                ? padre == r.padre_ ||
                      (r.padre_ == "bbox>/<bounds" && (padre == "bbox" || padre == "bounds"))
                : nome == r.elemento_ && (r.profondita_ > 0 ? r.aperti_.size() + 1 == r.profondita_
                                                            : padre == r.padre_);
        if (cercato)
            r.ferma();
        r.aperti_.emplace_back(nome);
    }
    static void chiude(void* dati, const XML_Char*) {
        auto& r = *static_cast<ricerca_posizione*>(dati);
        if (!r.aperti_.empty())
            r.aperti_.pop_back();
    }
    static void entita(void* dati, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                       const XML_Char*, const XML_Char*, const XML_Char*) {
        auto& r = *static_cast<ricerca_posizione*>(dati);
        if (r.entita_)
            r.ferma();
    }
    void ferma() {
        if (trovata_)
            return;
        trovata_ = "riga " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ", colonna " +
                   std::to_string(XML_GetCurrentColumnNumber(parser_) + 1);
        XML_StopParser(parser_, XML_FALSE);
    }

    bool entita_ = false;
    bool qualsiasi_figlio_ = false;
    std::string elemento_;
    std::string padre_;
    std::size_t profondita_ = 0;
    std::vector<std::string> aperti_;
    XML_Parser parser_ = nullptr;
    std::optional<std::string> trovata_;
};

std::string posizione_xml(std::string_view byte, const osmium::xml_error& e) {
    if (e.line > 0)
        return "riga " + std::to_string(e.line) + ", colonna " + std::to_string(e.column + 1);
    return ricerca_posizione(e.error_string).cerca(byte).value_or("file");
}

// One pass of `gestore` over the map's elements of the kinds `tipi`; the error that ends it,
// when one does.
template <typename Gestore>
std::optional<errore_mappa> leggi_passo(std::string_view byte, formato_osm formato,
                                        osmium::osm_entity_bits::type tipi, Gestore& gestore) {
    try {
        osmium::io::File file(byte.data(), byte.size(),
                              formato == formato_osm::pbf ? "pbf" : "osm");
        osmium::io::Reader lettore(file, tipi);
        osmium::apply(lettore, gestore);
        lettore.close();
    } catch (const lettura_interrotta& e) {
        return e.errore;
    } catch (const osmium::xml_error& e) {
        return errore_mappa{posizione_xml(byte, e), "XML non valido: " + e.error_string};
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return errore_mappa{"file", std::string(formato == formato_osm::pbf
                                                    ? "dati PBF danneggiati: "
                                                    : "dati della mappa danneggiati: ") +
                                        e.what()};
    }
    return std::nullopt;
}

// The distance in metres between two points, on the map library's sphere of the Earth.
double distanza(const nodo_letto& a, const nodo_letto& b) {
    return osmium::geom::haversine::distance(
        osmium::geom::Coordinates{a.longitudine, a.latitudine},
        osmium::geom::Coordinates{b.longitudine, b.latitudine});
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
            const nodo_letto* a = r.trova(w.nodi[i]);
            const nodo_letto* b = r.trova(w.nodi[i + 1]);
            if (a == nullptr || b == nullptr) {
                const std::int64_t mancante = a == nullptr ? w.nodi[i] : w.nodi[i + 1];
                return {std::nullopt,
                        errore_mappa{via(w.id), "il " + nodo(mancante) + " non e' nella mappa"}};
            }
            if (!a->valido || !b->valido) {
                const std::int64_t fuori = !a->valido ? w.nodi[i] : w.nodi[i + 1];
                return {std::nullopt,
                        errore_mappa{nodo(fuori), "coordinate fuori dall'intervallo"}};
            }
            const double l = distanza(*a, *b);
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
        for (const stazione_letta& s : r.nodi.stazioni)
            if (stesso_nome(s.nome, nome)) {
                trovata = &s;
                break;
            }
        if (trovata == nullptr)
            return errore_mappa{"mappa", "nessuna stazione di nome \"" + nome + "\""};
        if (const auto it = g.indice.find(trovata->id); it != g.indice.end())
            return it->second;
        nodo_letto s;
        s.longitudine = trovata->longitudine;
        s.latitudine = trovata->latitudine;
        if (!trovata->valido)
            return errore_mappa{nodo(trovata->id), "coordinate fuori dall'intervallo"};
        std::size_t migliore = 0;
        double minima = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < g.id.size(); ++i) {
            const double d = distanza(s, *r.trova(g.id[i]));
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
    if (!r.relazione)
        return {std::nullopt,
                errore_mappa{"mappa", "nessuna relazione route=train: indicare le stazioni con "
                                      "--da e --a"}};
    const relazione_letta& rel = *r.relazione;
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
        const nodo_letto* letto = r.trova(n);
        if (letto == nullptr)
            return {std::nullopt, errore_mappa{nome_rel, "il " + nodo(n) + " non e' nella mappa"}};
        if (!letto->valido)
            return {std::nullopt, errore_mappa{nodo(n), "coordinate fuori dall'intervallo"}};
    }
    return {c, std::nullopt};
}

} // namespace

esito_mappa leggi_osm(std::string_view byte, formato_osm formato,
                      const scelta_percorso_osm& scelta) {
    if (byte.empty())
        return mappa_fallita("byte 0", "il file e' vuoto");
    // Two passes over the bytes: the railway ways first, then only their nodes and the
    // stations, so that what is kept grows with the railways, not with the map.
    raccolta_vie vie;
    if (auto errore = leggi_passo(
            byte, formato, osmium::osm_entity_bits::way | osmium::osm_entity_bits::relation, vie))
        return {std::nullopt, std::move(errore)};
    if (vie.vie.empty())
        return mappa_fallita("mappa", "nessuna ferrovia (via con railway=rail) nella mappa");
    raccolta_nodi nodi(vie.vie);
    raccolta r{std::move(vie.vie), std::move(vie.relazione), std::move(nodi)};
    if (auto errore = leggi_passo(byte, formato, osmium::osm_entity_bits::node, r.nodi))
        return {std::nullopt, std::move(errore)};

    mappa_importata mappa;
    mappa.note = std::move(r.nodi.note);
    const esito_catena c =
        scelta.da.empty() ? da_relazione(r) : tra_stazioni(r, scelta, mappa.note);
    if (c.errore)
        return {std::nullopt, c.errore};
    const catena& percorso = *c.percorso;

    std::unordered_map<std::int64_t, std::size_t> posto;
    for (std::size_t i = 0; i < percorso.nodi.size(); ++i) {
        const nodo_letto& n = *r.trova(percorso.nodi[i]);
        mappa.percorso.push_back({n.longitudine, n.latitudine, n.quota});
        mappa.elementi_punti.push_back(nodo(percorso.nodi[i]));
        posto.try_emplace(percorso.nodi[i], i);
    }
    for (const std::int64_t p : r.nodi.passaggi)
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
    for (const stazione_letta& s : r.nodi.stazioni) {
        if (!s.valido) {
            mappa.note.push_back(
                {nodo(s.id), "stazione con coordinate fuori dall'intervallo: ignorata"});
            continue;
        }
        mappa.stazioni.push_back({s.nome, s.longitudine, s.latitudine, s.marciapiede, nodo(s.id)});
    }
    return {std::move(mappa), std::nullopt};
}

} // namespace corvenna
