#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"
#include "unit/importer/raster_di_prova.hpp"
#include "unit/importer/rete_di_prova.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

// A track without heights, 31 points 111 m apart northwards from (9.000 E, 45.000 N), and a
// raster of its heights over the first 21 points only: a plane rising 2 m from point to point.
struct traccia_e_quote {
    std::string gpx = "<gpx version=\"1.1\"><trk><trkseg>";
    std::string raster;
    traccia_e_quote() {
        for (int i = 0; i <= 30; ++i)
            gpx += "<trkpt lat=\"" + std::to_string(45 + 0.001 * i) + "\" lon=\"9\"/>";
        gpx += "</trkseg></trk></gpx>";
        prova::raster_di_prova r;
        r.trasformazione = {8.99, 0.0005, 0, 45.0205, 0, -0.0005};
        r.larghezza = 40;
        r.altezza = 61;
        r.quota = [](double, double lat) { return 100 + 2000 * (lat - 45); };
        raster = prova::geotiff(r);
    }
};

TEST(Importa, TheRastersHeightsGiveTheProfileAndThePointsItMissesAreTold) {
    cartella_temporanea d;
    const traccia_e_quote t;
    scrivi_mappa(d.percorso() / "traccia.gpx", t.gpx);
    scrivi_mappa(d.percorso() / "quote.tif", t.raster);
    const auto importa = esegui_strumento(
        d.percorso(), {"importa", "traccia.gpx", "--quota", "quote.tif", "-o", "out"});
    ASSERT_EQ(importa.stato, 0) << importa.errori;
    EXPECT_NE(importa.uscita.find("quote: 21 punti su 31 dal raster quote.tif\nprofilo: scarto "
                                  "massimo "),
              std::string::npos)
        << importa.uscita;
    EXPECT_NE(importa.errori.find("scenario: quote.tif: punti 21-30: avviso: fuori dal raster "
                                  "(lon 9.000000, lat 45.021000): profilo in piano alla quota del "
                                  "punto 20 (140.00 m)\n"),
              std::string::npos)
        << importa.errori;
    // 2 m every 111 m: 18 per mille from the start, level past the raster's last point (2224 m).
    const std::string linea = leggi_uscita(d.percorso() / "out" / "Traccia_linea.txt");
    EXPECT_NE(linea.find("pendenza,  0,  18\r\n"), std::string::npos) << linea;
    const std::size_t ultima = linea.rfind("pendenza,  ");
    ASSERT_NE(ultima, std::string::npos);
    const std::string riga = linea.substr(ultima, linea.find('\r', ultima) - ultima);
    EXPECT_EQ(riga.substr(riga.rfind(',')), ",  0") << riga;
    EXPECT_GT(std::stoi(riga.substr(11)), 2000) << riga;
    const auto controlla = esegui_strumento(
        d.percorso(), {"controlla", "out/Traccia_linea.txt", "out/Traccia_0001-.txt"});
    EXPECT_EQ(controlla.stato, 0) << controlla.errori;
    EXPECT_NE(controlla.errori.find("0 errori, 0 avvisi"), std::string::npos) << controlla.errori;
}

TEST(Importa, ARasterThatGivesNoHeightsIsRefusedAndNothingIsWritten) {
    const traccia_e_quote t;
    prova::raster_di_prova lontano;
    lontano.trasformazione = {12.0, 0.01, 0, 42.0, 0, -0.01};
    lontano.larghezza = 4;
    lontano.altezza = 4;
    struct caso {
        std::string raster;
        std::vector<std::string> argomenti;
        int stato;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"quota 120 m\n",
         {},
         1,
         "scenario: quote.tif: file: errore: non e' un raster GeoTIFF leggibile\n"},
        {prova::geotiff(lontano),
         {},
         1,
         "scenario: quote.tif: percorso: errore: nessun punto del percorso (dal punto 0, lon "
         "9.000000, lat 45.000000) cade su un valore del raster\n"},
        {t.raster, {"--quota", "manca.tif"}, 2, "manca.tif"},
    };
    for (const caso& c : casi) {
        cartella_temporanea d;
        scrivi_mappa(d.percorso() / "traccia.gpx", t.gpx);
        scrivi_mappa(d.percorso() / "quote.tif", c.raster);
        std::vector<std::string> argomenti{"importa", "traccia.gpx", "-o", "out"};
        if (c.argomenti.empty())
            argomenti.insert(argomenti.end(), {"--quota", "quote.tif"});
        argomenti.insert(argomenti.end(), c.argomenti.begin(), c.argomenti.end());
        const auto e = esegui_strumento(d.percorso(), argomenti);
        EXPECT_EQ(e.stato, c.stato) << c.messaggio << ": " << e.errori;
        EXPECT_NE(e.errori.find(c.messaggio), std::string::npos) << e.errori;
        EXPECT_FALSE(fs::exists(d.percorso() / "out")) << c.messaggio;
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

namespace corvenna {
namespace {

// A GPX track that runs 2 km north, turns back on a 100 m radius and runs 2 km south.
std::string traccia_che_torna_indietro() {
    std::string gpx = "<gpx version=\"1.1\"><trk><trkseg>";
    auto punto = [&](double x, double y) {
        char riga[120];
        std::snprintf(riga, sizeof riga, "<trkpt lat=\"%.7f\" lon=\"%.7f\"/>", 45 + y / 111194.93,
                      9 + x / (111194.93 * 0.7071));
        gpx += riga;
    };
    for (int y = 0; y <= 2000; y += 10)
        punto(0, y);
    for (int g = 5; g < 180; g += 5)
        punto(100 - 100 * std::cos(g * 3.14159265358979 / 180),
              2000 + 100 * std::sin(g * 3.14159265358979 / 180));
    for (int y = 2000; y >= 0; y -= 10)
        punto(200, y);
    return gpx + "</trkseg></trk></gpx>";
}

TEST(Importa, APathThatTurnsBackIsRefusedUnlessAllowed) {
    cartella_temporanea d;
    scrivi_mappa(d.percorso() / "ritorno.gpx", traccia_che_torna_indietro());
    const auto rifiutata = esegui_strumento(d.percorso(), {"importa", "ritorno.gpx", "-o", "out"});
    EXPECT_EQ(rifiutata.stato, 1);
    EXPECT_NE(rifiutata.errori.find("scenario: ritorno.gpx: punto "), std::string::npos)
        << rifiutata.errori;
    EXPECT_NE(rifiutata.errori.find(": errore: il percorso torna indietro al metro "),
              std::string::npos)
        << rifiutata.errori;
    EXPECT_FALSE(fs::exists(d.percorso() / "out" / "Ritorno_linea.txt"));

    const auto consentita =
        esegui_strumento(d.percorso(), {"importa", "ritorno.gpx", "-o", "out", "--consenti"});
    EXPECT_EQ(consentita.stato, 0) << consentita.errori;
    EXPECT_NE(consentita.errori.find(": avviso: il percorso torna indietro al metro "),
              std::string::npos)
        << consentita.errori;
    EXPECT_NE(consentita.uscita.find("rumore stimato: planimetria "), std::string::npos)
        << consentita.uscita;

    const auto tolleranza = esegui_strumento(
        d.percorso(), {"importa", "ritorno.gpx", "-o", "altro", "--tolleranza", "0"});
    EXPECT_EQ(tolleranza.stato, 64);
    EXPECT_NE(tolleranza.errori.find("--tolleranza"), std::string::npos) << tolleranza.errori;
}

} // namespace
} // namespace corvenna
