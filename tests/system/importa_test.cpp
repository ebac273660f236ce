#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "unit/importer/rete_di_prova.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;

void scrivi_mappa(const fs::path& percorso, const std::string& testo) {
    std::ofstream f(percorso, std::ios::binary);
    f << testo;
}

std::string leggi_uscita(const fs::path& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

TEST(Importa, ANetworksPathBetweenTwoStationsCompilesAndDraws) {
    cartella_temporanea d;
    scrivi_mappa(d.percorso() / "rete.osm", prova::rete_osm);
    const auto importa = esegui_strumento(d.percorso(), {"importa", "rete.osm", "--da", "Altavilla",
                                                         "--a", "Borgofranco", "-o", "out",
                                                         "--nome", "Rete", "--treno", "1234"});
    ASSERT_EQ(importa.stato, 0) << importa.errori;
    EXPECT_NE(importa.uscita.find("percorso di 600"), std::string::npos) << importa.uscita;
    EXPECT_NE(importa.uscita.find(" m, 3 stazioni"), std::string::npos) << importa.uscita;
    EXPECT_NE(importa.errori.find("rete.osm: nodo 21: avviso: stazione \"Dorna\""),
              std::string::npos)
        << importa.errori;
    const std::string linea = leggi_uscita(d.percorso() / "out" / "Rete_linea.txt");
    EXPECT_EQ(linea.substr(0, 12), "[generale]\r\n");
    EXPECT_EQ(linea.substr(linea.size() - 8), "[fine]\r\n");

    const auto compila = esegui_strumento(
        d.percorso(), {"compila", "out/Rete_linea.txt", "out/Rete_1234-.txt", "-o", "bin"});
    ASSERT_EQ(compila.stato, 0) << compila.errori;
    EXPECT_NE(compila.errori.find("0 errori, 0 avvisi"), std::string::npos) << compila.errori;
    const auto disegna = esegui_strumento(d.percorso(), {"disegna", "bin", "-o", "rete.html"});
    ASSERT_EQ(disegna.stato, 0) << disegna.errori;
    const std::string pagina = leggi_uscita(d.percorso() / "rete.html");
    for (const char* nome : {"ALTAVILLA", "CASTELVERDE", "BORGOFRANCO"})
        EXPECT_NE(pagina.find(nome), std::string::npos) << nome;
}

TEST(Importa, GpxAndGeojsonTracksCompile) {
    cartella_temporanea d;
    std::string gpx = "<gpx version=\"1.1\"><wpt lat=\"45\" lon=\"9\"><name>Altavilla</name></wpt>"
                      "<wpt lat=\"45.03\" lon=\"9\"><name>Borgofranco</name></wpt><trk><trkseg>";
    std::string coordinate;
    for (int i = 0; i <= 30; ++i) {
        const std::string lat = std::to_string(45 + 0.001 * i);
        gpx += "<trkpt lat=\"" + lat + "\" lon=\"9\"><ele>" + std::to_string(100 + i) +
               "</ele></trkpt>";
        coordinate += std::string(i ? "," : "") + "[9," + lat + "," + std::to_string(100 + i) + "]";
    }
    gpx += "</trkseg></trk></gpx>";
    scrivi_mappa(d.percorso() / "traccia.gpx", gpx);
    scrivi_mappa(d.percorso() / "linea.geojson",
                 "{\"type\":\"Feature\",\"properties\":{},\"geometry\":{\"type\":\"LineString\","
                 "\"coordinates\":[" +
                     coordinate + "]}}");
    for (const auto& [mappa, nome] :
         {std::pair{"traccia.gpx", "Traccia"}, std::pair{"linea.geojson", "Linea"}}) {
        const auto importa = esegui_strumento(d.percorso(), {"importa", mappa, "-o", "out"});
        ASSERT_EQ(importa.stato, 0) << mappa << ": " << importa.errori;
        const std::string base = std::string("out/") + nome;
        const auto compila =
            esegui_strumento(d.percorso(), {"controlla", base + "_linea.txt", base + "_0001-.txt"});
        EXPECT_EQ(compila.stato, 0) << mappa << ": " << compila.errori;
        EXPECT_NE(compila.errori.find("0 errori, 0 avvisi"), std::string::npos) << compila.errori;
    }
}

TEST(Importa, BadMapsAreRefusedSayingWhatAndWhereAndNothingIsWritten) {
    const std::string testa = R"(<?xml version="1.0"?><osm version="0.6">)";
    const std::string stazioni =
        R"(<node id="1" lat="45.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>)"
        R"(<node id="2" lat="45.1" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="B"/></node>)";
    struct caso {
        std::string file;
        std::string testo;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"vuota.osm", "", "vuota.osm: byte 0: errore: il file e' vuoto"},
        {"strade.osm",
         testa + stazioni +
             R"(<way id="7"><nd ref="1"/><nd ref="2"/><tag k="highway" v="primary"/></way></osm>)",
         "strade.osm: mappa: errore: nessuna ferrovia"},
        {"disgiunte.osm",
         testa + stazioni +
             R"(<node id="3" lat="45.05" lon="9.0"/><node id="4" lat="45.06" lon="9.0"/>)"
             R"(<way id="7"><nd ref="1"/><nd ref="3"/><tag k="railway" v="rail"/></way>)"
             R"(<way id="8"><nd ref="4"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         "disgiunte.osm: nodo 1: errore: nessuna ferrovia collega \"A\" (nodo 1) a \"B\" (nodo 2)"},
        {"lunga.osm",
         testa +
             R"(<node id="1" lat="0.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>)"
             R"(<node id="2" lat="9.1" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="B"/></node>)"
             R"(<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         "lunga.osm: nodo "},
        {"fuori.osm",
         testa + stazioni + R"(<node id="3" lat="95.0" lon="9.0"/>)" +
             R"(<way id="7"><nd ref="1"/><nd ref="3"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)",
         "fuori.osm: nodo 3: errore: coordinate fuori dall'intervallo"},
        {"rotta.osm.pbf", std::string("\0\0\0\x0dOSMHeader-not-really", 24),
         "rotta.osm.pbf: file: errore: dati PBF danneggiati"},
    };
    for (const caso& c : casi) {
        cartella_temporanea d;
        scrivi_mappa(d.percorso() / c.file, c.testo);
        const auto e = esegui_strumento(d.percorso(),
                                        {"importa", c.file, "--da", "A", "--a", "B", "-o", "out"});
        EXPECT_EQ(e.stato, 1) << c.file << ": " << e.errori;
        EXPECT_NE(e.errori.find("scenario: " + c.messaggio), std::string::npos)
            << c.file << ": " << e.errori;
        EXPECT_FALSE(fs::exists(d.percorso() / "out")) << c.file;
    }
}

TEST(Importa, AnAuthorsDescriptionsAreReplacedOnlyWhenAskedAndBadCommandLinesAreUsageErrors) {
    cartella_temporanea d;
    scrivi_mappa(d.percorso() / "rete.osm", prova::rete_osm);
    fs::create_directory(d.percorso() / "out");
    scrivi_mappa(d.percorso() / "out" / "Rete_1234-.txt", "mio lavoro");
    const std::vector<std::string> argomenti{"importa", "rete.osm", "-o",      "out",
                                             "--nome",  "Rete",     "--treno", "1234"};
    const auto rifiutata = esegui_strumento(d.percorso(), argomenti);
    EXPECT_EQ(rifiutata.stato, 64) << rifiutata.errori;
    EXPECT_EQ(leggi_uscita(d.percorso() / "out" / "Rete_1234-.txt"), "mio lavoro");
    EXPECT_FALSE(fs::exists(d.percorso() / "out" / "Rete_linea.txt"));

    auto con_sovrascrivi = argomenti;
    con_sovrascrivi.push_back("--sovrascrivi");
    const auto sostituita = esegui_strumento(d.percorso(), con_sovrascrivi);
    EXPECT_EQ(sostituita.stato, 0) << sostituita.errori;
    EXPECT_NE(leggi_uscita(d.percorso() / "out" / "Rete_1234-.txt").find("BORGOFRANCO"),
              std::string::npos);

    for (const std::vector<std::string>& sbagliati :
         {std::vector<std::string>{"importa", "rete.kml"},
          std::vector<std::string>{"importa", "rete.osm", "--da", "Altavilla"},
          std::vector<std::string>{"importa", "rete.osm", "--treno", "12"}}) {
        const auto e = esegui_strumento(d.percorso(), sbagliati);
        EXPECT_EQ(e.stato, 64) << sbagliati[1] << ": " << e.errori;
    }
}

} // namespace
} // namespace corvenna
