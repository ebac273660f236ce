#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {
namespace {

TEST(LettoreGpx, TrackSegmentsMakeOnePathWithHeightsAndNamedWaypointsAreStations) {
    const std::string gpx = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="prova" xmlns="http://www.topografix.com/GPX/1/1">
 <wpt lat="45.0" lon="9.0"><name>Altavilla</name></wpt>
 <wpt lat="45.01" lon="9.0"/>
 <trk><trkseg>
  <trkpt lat="45.0" lon="9.0"><ele>120.5</ele></trkpt>
  <trkpt lat="45.005" lon="9.0"/>
 </trkseg><trkseg>
  <trkpt lat="45.01" lon="9.0"><ele> 130 </ele></trkpt>
 </trkseg></trk>
</gpx>)";
    const esito_mappa e = leggi_gpx(gpx);
    ASSERT_TRUE(e.mappa);
    const mappa_importata& m = *e.mappa;
    ASSERT_EQ(m.percorso.size(), 3u);
    EXPECT_EQ(m.percorso[0].quota, 120.5);
    EXPECT_FALSE(m.percorso[1].quota);
    EXPECT_EQ(m.percorso[2].quota, 130.0);
    EXPECT_DOUBLE_EQ(m.percorso[2].latitudine, 45.01);
    ASSERT_EQ(m.stazioni.size(), 1u);
    EXPECT_EQ(m.stazioni[0].nome, "Altavilla");
    ASSERT_EQ(m.note.size(), 1u);
    EXPECT_EQ(m.note[0].elemento, "waypoint 1");
}

TEST(LettoreGeojson, LineStringIsThePathAndNamedPointsAreStations) {
    const std::string geojson = R"({"type": "FeatureCollection", "features": [
  {"type": "Feature", "properties": {"name": "Dorna", "platform_length": 250},
   "geometry": {"type": "Point", "coordinates": [9.0, 45.01]}},
  {"type": "Feature", "properties": {},
   "geometry": {"type": "LineString", "coordinates": [[9.0, 45.0, 10], [9.0, 45.01, 12.5]]}}]})";
    const esito_mappa e = leggi_geojson(geojson);
    ASSERT_TRUE(e.mappa);
    ASSERT_EQ(e.mappa->percorso.size(), 2u);
    EXPECT_EQ(e.mappa->percorso[1].quota, 12.5);
    ASSERT_EQ(e.mappa->stazioni.size(), 1u);
    EXPECT_EQ(e.mappa->stazioni[0].marciapiede, 250.0);
}

// The text in UTF-16 with its byte-order mark, as an editor on Windows saves it.
std::string in_utf16(std::string_view ascii, bool little_endian) {
    std::string u = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : ascii) {
        u += little_endian ? c : '\0';
        u += little_endian ? '\0' : c;
    }
    return u;
}

TEST(LettoreGpx, AFileInUtf16WithItsByteOrderMarkReadsAsInUtf8) {
    const std::string gpx = R"(<?xml version="1.0" encoding="UTF-16"?>
<gpx version="1.1"><wpt lat="45.0" lon="9.0"><name>Altavilla</name></wpt>
<trk><trkseg><trkpt lat="45.0" lon="9.0"><ele>120.5</ele></trkpt><trkpt lat="45.01" lon="9.0"/>
</trkseg></trk></gpx>)";
    for (const bool le : {true, false}) {
        const esito_mappa e = leggi_gpx(in_utf16(gpx, le));
        ASSERT_TRUE(e.mappa) << le << ": " << e.errore->dove << ": " << e.errore->messaggio;
        ASSERT_EQ(e.mappa->percorso.size(), 2u);
        EXPECT_EQ(e.mappa->percorso[0].quota, 120.5);
        ASSERT_EQ(e.mappa->stazioni.size(), 1u);
        EXPECT_EQ(e.mappa->stazioni[0].nome, "Altavilla");
    }
    // A fault is placed at its byte in the file, not in the text converted to UTF-8.
    const std::string rotto = "<gpx><trk><trkseg><trkpt lat=\"45\" lon=\"9\"></trkseg>";
    const esito_mappa e = leggi_gpx(in_utf16(rotto, true));
    ASSERT_TRUE(e.errore);
    const esito_mappa in_utf8 = leggi_gpx(rotto);
    ASSERT_TRUE(in_utf8.errore);
    const auto byte_utf8 = std::stoul(in_utf8.errore->dove.substr(5));
    EXPECT_EQ(e.errore->dove, "byte " + std::to_string(2 + 2 * byte_utf8));
}

TEST(LettoriGpxGeojson, StationNamesAndPlatformsAreBoundedWhenRead) {
    const std::string lungo(60000, 'A');
    const std::string gpx_con = "<gpx><wpt lat=\"45\" lon=\"9\"><name>Altavilla</name></wpt>"
                                "<wpt lat=\"45\" lon=\"9\"><name>";
    const std::string gpx_dopo = "</name></wpt><trk><trkseg><trkpt lat=\"45\" lon=\"9\"/>"
                                 "<trkpt lat=\"45.01\" lon=\"9\"/></trkseg></trk></gpx>";
    const esito_mappa gpx = leggi_gpx(gpx_con + lungo + gpx_dopo);
    ASSERT_TRUE(gpx.errore);
    EXPECT_EQ(gpx.errore->dove, "waypoint 1");
    EXPECT_EQ(gpx.errore->messaggio,
              "nome di stazione di 60000 byte, oltre i 255 caratteri che un nome puo' avere");
    // 255 characters are a name, however many bytes their UTF-8 takes.
    std::string accentato;
    for (int i = 0; i < 255; ++i)
        accentato += "\xC3\x80";
    EXPECT_TRUE(leggi_gpx(gpx_con + accentato + gpx_dopo).mappa);

    auto geojson = [](const std::string& proprieta) {
        return R"({"type": "FeatureCollection", "features": [
  {"type": "Feature", "properties": )" +
               proprieta + R"(, "geometry": {"type": "Point", "coordinates": [9.0, 45.01]}},
  {"type": "Feature", "geometry": {"type": "LineString", "coordinates": [[9, 45], [9, 45.01]]}}]})";
    };
    const esito_mappa nome = leggi_geojson(geojson("{\"name\": \"" + lungo + "\"}"));
    ASSERT_TRUE(nome.errore);
    EXPECT_EQ(nome.errore->dove, "feature 0");
    EXPECT_NE(nome.errore->messaggio.find("oltre i 255 caratteri"), std::string::npos);

    // A platform length no station has is left out with a note that says so, never rounded.
    struct caso {
        const char* valore;
        std::optional<double> marciapiede;
        const char* nota;
    };
    const std::vector<caso> casi{
        {"250", 250.0, nullptr},
        {"1e308", std::nullopt,
         "lunghezza del marciapiede \"1e+308\" fuori dall'intervallo "
         "(oltre 0 e fino a 10000 m): ignorata"},
        {"-40", std::nullopt,
         "lunghezza del marciapiede \"-40\" fuori dall'intervallo "
         "(oltre 0 e fino a 10000 m): ignorata"},
        {"\"1e308\"", std::nullopt,
         "lunghezza del marciapiede \"1e308\" fuori dall'intervallo "
         "(oltre 0 e fino a 10000 m): ignorata"},
    };
    for (const caso& c : casi) {
        const esito_mappa e = leggi_geojson(
            geojson(std::string("{\"name\": \"Dorna\", \"platform_length\": ") + c.valore + "}"));
        ASSERT_TRUE(e.mappa) << c.valore;
        ASSERT_EQ(e.mappa->stazioni.size(), 1u) << c.valore;
        EXPECT_EQ(e.mappa->stazioni[0].marciapiede, c.marciapiede) << c.valore;
        if (c.nota) {
            ASSERT_EQ(e.mappa->note.size(), 1u) << c.valore;
            EXPECT_EQ(e.mappa->note[0].elemento + ": " + e.mappa->note[0].messaggio,
                      std::string("feature 0: ") + c.nota);
        } else {
            EXPECT_TRUE(e.mappa->note.empty()) << c.valore;
        }
    }
}

TEST(LettoriGpxGeojson, BadFilesSayWhatAndWhere) {
    struct caso {
        bool gpx;
        std::string testo;
        std::string dove;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {true, "", "byte 0", "vuoto"},
        {true, "<gpx><trk><trkseg><trkpt lat=\"45\" lon=\"9\"></trkseg>", "byte", "XML non valido"},
        {true, "<kml/>", "byte 0", "non e' un file GPX"},
        // An entity the document type declares would reach a station's name as "&x;".
        {true,
         "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY x \"Altavilla\">]>\n"
         "<gpx><wpt lat=\"45\" lon=\"9\"><name>&x;</name></wpt></gpx>",
         "byte 32", "dichiarazione DOCTYPE non ammessa"},
        {true, "<gpx><trk><trkseg><trkpt lat=\"45\" lon=\"9\"/></trkseg></trk></gpx>", "file",
         "almeno due punti"},
        {true,
         "<gpx><trk><trkseg><trkpt lat=\"45\" lon=\"9\"/><trkpt lat=\"91\" lon=\"9\"/>"
         "</trkseg></trk></gpx>",
         "punto 1", "fuori dall'intervallo"},
        {true, "<gpx><trk><trkseg><trkpt lat=\"x\" lon=\"9\"/></trkseg></trk></gpx>", "punto 0",
         "non numeriche"},
        {false, "", "byte 0", "vuoto"},
        {false, "{\"type\": \"LineString\", \"coordinates\": [[9, 45], [9, 45.1]", "byte",
         "JSON non valido"},
        {false, "{\"type\": \"LineString\", \"coordinates\": [[9, 45], [200, 45.1]]}",
         "geometria, punto 1", "fuori dall'intervallo"},
        {false, "{\"type\": \"LineString\", \"coordinates\": [[9, 45], [\"a\", 45.1]]}",
         "geometria, punto 1", "due o tre numeri"},
        {false, "{\"type\": \"Point\", \"coordinates\": [9, 45]}", "file", "nessuna LineString"},
        {false, "{\"type\": \"LineString\", \"coordinates\": [[9, 45], [9, 250e9999999]]}", "file",
         "fuori dall'intervallo"},
        {false, std::string(100, '[') + std::string(100, ']'), "file", "annidato"},
    };
    for (const caso& c : casi) {
        const esito_mappa e = c.gpx ? leggi_gpx(c.testo) : leggi_geojson(c.testo);
        ASSERT_TRUE(e.errore) << c.testo;
        EXPECT_NE(e.errore->dove.find(c.dove), std::string::npos)
            << c.testo << ": " << e.errore->dove;
        EXPECT_NE(e.errore->messaggio.find(c.messaggio), std::string::npos)
            << c.testo << ": " << e.errore->messaggio;
    }
}

} // namespace
} // namespace corvenna
