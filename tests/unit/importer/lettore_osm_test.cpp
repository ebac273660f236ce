#include "importer/lettore_osm.hpp"

#include "importer/descrizioni_importate.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "support/cartella_temporanea.hpp"
#include "unit/importer/geometria_semplice.hpp"
#include "unit/importer/rete_di_prova.hpp"

#include <gtest/gtest.h>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/io/writer.hpp>
#include <osmium/io/xml_input.hpp>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace corvenna {
namespace {

using prova::passo_rete;
using prova::rete_osm;

std::vector<std::string> righe_con(const std::string& testo, const std::string& chiave) {
    std::vector<std::string> trovate;
    std::istringstream flusso(testo);
    for (std::string r; std::getline(flusso, r);) {
        if (!r.empty() && r.back() == '\r')
            r.pop_back();
        if (r.rfind(chiave, 0) == 0)
            trovate.push_back(r);
    }
    return trovate;
}

// The numbers of a description row after its keyword.
std::vector<long> numeri(const std::string& riga) {
    std::vector<long> valori;
    std::istringstream flusso(riga.substr(riga.find(',') + 1));
    for (std::string campo; std::getline(flusso, campo, ',');) {
        try {
            valori.push_back(std::stol(campo));
        } catch (const std::exception&) {
        }
    }
    return valori;
}

mappa_importata leggi(const std::string& da, const std::string& a) {
    esito_mappa e = leggi_osm(rete_osm, formato_osm::xml, {da, a});
    EXPECT_FALSE(e.errore) << e.errore->dove << ": " << e.errore->messaggio;
    return e.mappa.value_or(mappa_importata{});
}

TEST(LettoreOsm, ShortestPathBetweenTwoStationsFollowsTheLineAcrossSplitWays) {
    const mappa_importata m = leggi("Altavilla", "Borgofranco");
    EXPECT_EQ(m.elementi_punti, (std::vector<std::string>{"nodo 1", "nodo 2", "nodo 3", "nodo 4",
                                                          "nodo 5", "nodo 6", "nodo 7"}));
    // Through the junction onto the other line, and the other way round.
    EXPECT_EQ(leggi("Altavilla", "Dorna").elementi_punti,
              (std::vector<std::string>{"nodo 1", "nodo 2", "nodo 3", "nodo 4", "nodo 5", "nodo 6",
                                        "nodo 20", "nodo 21"}));
    EXPECT_EQ(leggi("dorna", "BORGOFRANCO").elementi_punti,
              (std::vector<std::string>{"nodo 21", "nodo 20", "nodo 6", "nodo 7"}));
}

TEST(LettoreOsm, TheRelationsWaysChainIntoOnePath) {
    esito_mappa e = leggi_osm(rete_osm, formato_osm::xml, {});
    ASSERT_TRUE(e.mappa);
    EXPECT_EQ(e.mappa->elementi_punti.front(), "nodo 1");
    EXPECT_EQ(e.mappa->elementi_punti.back(), "nodo 7");
    EXPECT_EQ(e.mappa->percorso.size(), 7u);
}

TEST(LettoreOsm, EveryFeatureLandsAtItsMetreAndTheDescriptionsCompile) {
    const mappa_importata m = leggi("Altavilla", "Borgofranco");
    const geometria_importata g = prova::geometria_semplice(m.percorso);
    const descrizioni_importate d = componi_descrizioni(m, g, {});

    auto vicino = [](long metri, double atteso) { return std::abs(metri - atteso) <= 25; };
    const auto stazioni = righe_con(d.treno, "stazione");
    ASSERT_EQ(stazioni.size(), 3u);
    EXPECT_TRUE(vicino(numeri(stazioni[0])[0], 0));
    EXPECT_NE(stazioni[0].find("ALTAVILLA"), std::string::npos);
    EXPECT_TRUE(vicino(numeri(stazioni[1])[0], 4.5 * passo_rete)) << stazioni[1];
    EXPECT_NE(stazioni[1].find("CASTELVERDE"), std::string::npos);
    EXPECT_TRUE(vicino(numeri(stazioni[2])[0], 6 * passo_rete)) << stazioni[2];

    const auto cartelli = righe_con(d.linea, "cartello_indicatore");
    ASSERT_EQ(cartelli.size(), 1u);
    EXPECT_TRUE(vicino(numeri(cartelli[0])[0], passo_rete)) << cartelli[0];
    EXPECT_NE(cartelli[0].find("(   P.L.  )(km 1+000)"), std::string::npos);

    const auto gallerie = righe_con(d.linea, "montagna");
    ASSERT_EQ(gallerie.size(), 1u);
    EXPECT_TRUE(vicino(numeri(gallerie[0])[0], 3 * passo_rete)) << gallerie[0];
    EXPECT_TRUE(vicino(numeri(gallerie[0])[1], 4 * passo_rete)) << gallerie[0];
    EXPECT_EQ(numeri(gallerie[0])[2], 11);

    const auto velocita = righe_con(d.treno, "velocita");
    const std::vector<std::pair<double, long>> attese{
        {0, 100}, {2 * passo_rete, 120}, {3 * passo_rete, 80}, {4 * passo_rete, 120}};
    ASSERT_EQ(velocita.size(), attese.size());
    for (std::size_t i = 0; i < attese.size(); ++i) {
        EXPECT_TRUE(vicino(numeri(velocita[i])[0], attese[i].first)) << velocita[i];
        EXPECT_EQ(numeri(velocita[i])[1], attese[i].second) << velocita[i];
    }

    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = d.linea;
    sorgente.testi[descrizione::treno] = d.treno;
    const scenario_costruito s = costruisci_scenario(sorgente, {"Rete", "1234"}, 1);
    EXPECT_TRUE(s.riuscito());
    for (const diagnostica& x : s.diagnostiche)
        ADD_FAILURE() << x.riga << ": " << x.messaggio;
}

// The test network in the binary form, written by the map library's own writer from the XML.
std::string rete_pbf() {
    prova::cartella_temporanea d;
    const std::string percorso = (d.percorso() / "rete.osm.pbf").string();
    osmium::io::Reader lettore(osmium::io::File(rete_osm.data(), rete_osm.size(), "osm"));
    osmium::io::Writer scrittore(osmium::io::File(percorso), lettore.header());
    while (osmium::memory::Buffer blocco = lettore.read())
        scrittore(std::move(blocco));
    scrittore.close();
    lettore.close();
    std::ifstream f(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

TEST(LettoreOsm, TheNetworkAsPbfGivesWhatItsXmlGives) {
    const std::string pbf = rete_pbf();
    ASSERT_GT(pbf.size(), 4u);
    for (const scelta_percorso_osm& scelta :
         {scelta_percorso_osm{"Altavilla", "Borgofranco"},
          scelta_percorso_osm{"Dorna", "Altavilla"}, scelta_percorso_osm{}}) {
        const std::string nome = scelta.da + "-" + scelta.a;
        const esito_mappa xml = leggi_osm(rete_osm, formato_osm::xml, scelta);
        const esito_mappa binaria = leggi_osm(pbf, formato_osm::pbf, scelta);
        ASSERT_TRUE(xml.mappa) << nome;
        ASSERT_TRUE(binaria.mappa)
            << nome << ": " << binaria.errore->dove << ": " << binaria.errore->messaggio;
        const mappa_importata& a = *xml.mappa;
        const mappa_importata& b = *binaria.mappa;

        EXPECT_EQ(b.elementi_punti, a.elementi_punti) << nome;
        ASSERT_EQ(b.percorso.size(), a.percorso.size()) << nome;
        for (std::size_t i = 0; i < a.percorso.size(); ++i) {
            EXPECT_EQ(b.percorso[i].longitudine, a.percorso[i].longitudine) << nome << i;
            EXPECT_EQ(b.percorso[i].latitudine, a.percorso[i].latitudine) << nome << i;
            EXPECT_EQ(b.percorso[i].quota, a.percorso[i].quota) << nome << i;
        }
        ASSERT_EQ(b.stazioni.size(), a.stazioni.size()) << nome;
        for (std::size_t i = 0; i < a.stazioni.size(); ++i) {
            EXPECT_EQ(b.stazioni[i].nome, a.stazioni[i].nome) << nome;
            EXPECT_EQ(b.stazioni[i].elemento, a.stazioni[i].elemento) << nome;
            EXPECT_EQ(b.stazioni[i].longitudine, a.stazioni[i].longitudine) << nome;
            EXPECT_EQ(b.stazioni[i].latitudine, a.stazioni[i].latitudine) << nome;
        }
        ASSERT_EQ(b.note.size(), a.note.size()) << nome;
        for (std::size_t i = 0; i < a.note.size(); ++i)
            EXPECT_EQ(b.note[i].elemento + ": " + b.note[i].messaggio,
                      a.note[i].elemento + ": " + a.note[i].messaggio)
                << nome;

        // The features and their metres: the same descriptions, byte for byte.
        // The path from Dorna turns a right angle at the junction, which no curve class can
        // follow: fitted anyway, as `--consenti` does.
        const regole_geometria consenti{std::nullopt, true};
        const esito_geometria ga = adatta_geometria(a.percorso, consenti);
        const esito_geometria gb = adatta_geometria(b.percorso, consenti);
        ASSERT_TRUE(ga.geometria && gb.geometria) << nome;
        EXPECT_EQ(gb.geometria->lunghezza, ga.geometria->lunghezza) << nome;
        const descrizioni_importate da = componi_descrizioni(a, *ga.geometria, {});
        const descrizioni_importate db = componi_descrizioni(b, *gb.geometria, {});
        EXPECT_EQ(db.linea, da.linea) << nome;
        EXPECT_EQ(db.treno, da.treno) << nome;
        EXPECT_EQ(db.stazioni, da.stazioni) << nome;
        EXPECT_EQ(db.passaggi_livello, da.passaggi_livello) << nome;
        EXPECT_EQ(db.gallerie, da.gallerie) << nome;
        EXPECT_EQ(db.limiti_velocita, da.limiti_velocita) << nome;
    }
    // What the network gives from Altavilla to Borgofranco, so that the two readers agreeing
    // is not two empty results agreeing.
    const esito_mappa binaria = leggi_osm(pbf, formato_osm::pbf, {"Altavilla", "Borgofranco"});
    ASSERT_TRUE(binaria.mappa);
    EXPECT_EQ(binaria.mappa->stazioni.size(), 4u);
    EXPECT_EQ(binaria.mappa->passaggi_livello.size(), 1u);
    EXPECT_EQ(binaria.mappa->gallerie.size(), 1u);
    EXPECT_EQ(binaria.mappa->velocita.size(), 4u);
}

TEST(LettoreOsm, BadMapsSayWhatAndWhere) {
    const std::string testa = R"(<?xml version="1.0"?><osm version="0.6">)";
    const std::string stazioni =
        R"(<node id="1" lat="45.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>)"
        R"(<node id="2" lat="45.1" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="B"/></node>)";
    struct caso {
        const char* nome;
        std::string mappa;
        formato_osm formato;
        std::string dove;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"vuota", "", formato_osm::xml, "byte 0", "vuoto"},
        {"senza ferrovie",
         testa + stazioni +
             R"(<way id="7"><nd ref="1"/><nd ref="2"/><tag k="highway" v="primary"/></way></osm>)",
         formato_osm::xml, "mappa", "nessuna ferrovia"},
        {"vie disgiunte",
         testa + stazioni +
             R"(<node id="3" lat="45.05" lon="9.0"/><node id="4" lat="45.06" lon="9.0"/>)"
             R"(<way id="7"><nd ref="1"/><nd ref="3"/><tag k="railway" v="rail"/></way>)"
             R"(<way id="8"><nd ref="4"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         formato_osm::xml, "nodo 1", "nessuna ferrovia collega \"A\""},
        {"stazione assente",
         testa + stazioni +
             R"(<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         formato_osm::xml, "mappa", "nessuna stazione di nome \"C\""},
        {"coordinate fuori dall'intervallo",
         testa + stazioni + R"(<node id="3" lat="95.0" lon="9.0"/>)" +
             R"(<way id="7"><nd ref="1"/><nd ref="3"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         formato_osm::xml, "nodo 3", "fuori dall'intervallo"},
        {"XML rotto", testa + "<node id=\"1\" lat=\"45\"", formato_osm::xml, "riga 1, colonna",
         "XML non valido"},
        {"PBF danneggiato", std::string("\0\0\0\x0dgarbage-bytes-here", 22), formato_osm::pbf,
         "file", "PBF danneggiati"},
    };
    for (const caso& c : casi) {
        const std::string arrivo = std::string(c.nome) == "stazione assente" ? "C" : "B";
        const esito_mappa e = leggi_osm(c.mappa, c.formato, {"A", arrivo});
        ASSERT_TRUE(e.errore) << c.nome;
        EXPECT_FALSE(e.mappa) << c.nome;
        EXPECT_NE(e.errore->dove.find(c.dove), std::string::npos)
            << c.nome << ": " << e.errore->dove;
        EXPECT_NE(e.errore->messaggio.find(c.messaggio), std::string::npos)
            << c.nome << ": " << e.errore->messaggio;
    }
}

TEST(LettoreOsm, ARelationWhoseWaysDoNotJoinIsRefusedNamingTheWay) {
    const std::string mappa = R"(<?xml version="1.0"?><osm version="0.6">
<node id="1" lat="45.0" lon="9.0"/><node id="2" lat="45.01" lon="9.0"/>
<node id="3" lat="45.02" lon="9.0"/><node id="4" lat="45.03" lon="9.0"/>
<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way>
<way id="8"><nd ref="3"/><nd ref="4"/><tag k="railway" v="rail"/></way>
<relation id="9"><member type="way" ref="7" role=""/><member type="way" ref="8" role=""/>
<tag k="type" v="route"/><tag k="route" v="train"/></relation></osm>)";
    const esito_mappa e = leggi_osm(mappa, formato_osm::xml, {});
    ASSERT_TRUE(e.errore);
    EXPECT_EQ(e.errore->dove, "relazione 9");
    EXPECT_NE(e.errore->messaggio.find("via 8 non si congiunge alla precedente via 7"),
              std::string::npos)
        << e.errore->messaggio;
}

// The reader's own checks stop the XML parser from inside it; the error still gives the line
// and column of the element or declaration it stopped at, never line 0.
TEST(LettoreOsm, XmlTheReaderRefusesIsPlacedAtItsLineAndColumn) {
    struct caso {
        const char* nome;
        std::string mappa;
        std::string dove;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"entita'",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE osm [\n  <!ENTITY x \"A\">\n]>\n<osm "
         "version=\"0.6\"/>",
         "riga 3, colonna", "entities"},
        {"elemento sconosciuto in un nodo",
         "<?xml version=\"1.0\"?>\n<osm version=\"0.6\">\n<node id=\"1\" lat=\"45\" "
         "lon=\"9\">\n  <nodo/></node></osm>",
         "riga 4, colonna 3", "Unknown element in <node>: nodo"},
        {"elemento dentro un tag",
         "<?xml version=\"1.0\"?>\n<osm version=\"0.6\"><node id=\"1\" lat=\"45\" lon=\"9\">"
         "<tag k=\"a\" v=\"b\">\n<x/></tag></node></osm>",
         "riga 3, colonna 1", "No element inside <tag>"},
        {"XML rotto", "<?xml version=\"1.0\"?>\n<osm version=\"0.6\">\n<node id=\"1\" lat=",
         "riga 3, colonna", "XML non valido"},
    };
    for (const caso& c : casi) {
        const esito_mappa e = leggi_osm(c.mappa, formato_osm::xml, {"A", "B"});
        ASSERT_TRUE(e.errore) << c.nome;
        EXPECT_EQ(e.errore->dove.substr(0, c.dove.size()), c.dove) << c.nome;
        EXPECT_NE(e.errore->messaggio.find(c.messaggio), std::string::npos)
            << c.nome << ": " << e.errore->messaggio;
    }
}

TEST(LettoreOsm, StationNamesAndPlatformLengthsAreBoundedWhenRead) {
    auto mappa = [](const std::string& nome, const std::string& marciapiede) {
        return R"(<?xml version="1.0"?><osm version="0.6">
<node id="1" lat="45.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>
<node id="2" lat="45.01" lon="9.0"><tag k="railway" v="station"/><tag k="name" v=")" +
               nome + R"("/><tag k="railway:platform_length" v=")" + marciapiede +
               R"("/></node>
<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)";
    };
    const esito_mappa lungo =
        leggi_osm(mappa(std::string(300, 'B'), "200"), formato_osm::xml, {"A", "B"});
    ASSERT_TRUE(lungo.errore);
    EXPECT_EQ(lungo.errore->dove, "nodo 2");
    EXPECT_EQ(lungo.errore->messaggio,
              "nome di stazione di 300 byte, oltre i 255 caratteri che un nome puo' avere");

    const esito_mappa fuori = leggi_osm(mappa("B", "1e308"), formato_osm::xml, {"A", "B"});
    ASSERT_TRUE(fuori.mappa) << fuori.errore->messaggio;
    ASSERT_EQ(fuori.mappa->stazioni.size(), 2u);
    EXPECT_FALSE(fuori.mappa->stazioni[1].marciapiede);
    ASSERT_EQ(fuori.mappa->note.size(), 1u);
    EXPECT_EQ(fuori.mappa->note[0].elemento + ": " + fuori.mappa->note[0].messaggio,
              "nodo 2: lunghezza del marciapiede \"1e308\" fuori dall'intervallo (oltre 0 e fino "
              "a 10000 m): ignorata");
    const esito_mappa buono = leggi_osm(mappa("B", "200"), formato_osm::xml, {"A", "B"});
    ASSERT_TRUE(buono.mappa);
    EXPECT_EQ(buono.mappa->stazioni[1].marciapiede, 200.0);
}

// The nodes that no railway way uses are passed over: a way's missing node is still named, and
// a node beside the track that is not a station is not needed to find a path.
TEST(LettoreOsm, OnlyTheNodesOfRailwayWaysAreNeeded) {
    const std::string mappa = R"(<?xml version="1.0"?><osm version="0.6">
<node id="1" lat="45.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>
<node id="5" lat="95.0" lon="9.0"/>
<node id="2" lat="45.01" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="B"/></node>
<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way>
<way id="8"><nd ref="5"/><nd ref="1"/><tag k="highway" v="track"/></way>
<way id="9"><nd ref="2"/><nd ref="40"/><tag k="railway" v="rail"/></way></osm>)";
    const esito_mappa e = leggi_osm(mappa, formato_osm::xml, {"A", "B"});
    ASSERT_TRUE(e.errore);
    EXPECT_EQ(e.errore->dove, "via 9");
    EXPECT_EQ(e.errore->messaggio, "il nodo 40 non e' nella mappa");
}

} // namespace
} // namespace corvenna
