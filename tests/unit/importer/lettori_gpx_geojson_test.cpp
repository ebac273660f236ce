#include "importer/lettore_geojson.hpp"
#include "importer/lettore_gpx.hpp"

#include <gtest/gtest.h>

#include <string>
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
