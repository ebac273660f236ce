// `scenario importa` on maps made to hurt the readers, as the command meets them: each refused
// with its exit status, the element and the reason, and nothing written; the ones that are
// sound (a GPX saved as UTF-16, a platform length out of range) imported, with a warning for
// what was left out.

#include "support/cartella_temporanea.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::esegui_strumento;

void scrivi(const fs::path& percorso, const std::string& testo) {
    std::ofstream f(percorso, std::ios::binary);
    f << testo;
}

std::vector<std::string> contenuto(const fs::path& cartella) {
    std::vector<std::string> nomi;
    for (const auto& f : fs::recursive_directory_iterator(cartella))
        nomi.push_back(fs::relative(f.path(), cartella).string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

const std::string traccia = "<trk><trkseg><trkpt lat=\"45\" lon=\"9\"/>"
                            "<trkpt lat=\"45.01\" lon=\"9\"/><trkpt lat=\"45.02\" lon=\"9\"/>"
                            "</trkseg></trk>";

TEST(ImportaLimiti, HostileMapsAreRefusedNamingTheElementAndNothingIsWritten) {
    struct caso {
        const char* file;
        std::string testo;
        std::vector<std::string> argomenti;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"entita.osm",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE osm [\n  <!ENTITY x \"A\">\n]>\n<osm "
         "version=\"0.6\"/>\n",
         {"--da", "A", "--a", "B"},
         "scenario: entita.osm: riga 3, colonna 14: errore: XML non valido: XML entities are not "
         "supported\n"},
        {"entita.gpx",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY x \"Altavilla\">]>\n<gpx><wpt "
         "lat=\"45\" lon=\"9\"><name>&x;</name></wpt>" +
             traccia + "</gpx>",
         {},
         "scenario: entita.gpx: byte 32: errore: dichiarazione DOCTYPE non ammessa: un file GPX "
         "non ha DTD, e le entita' che dichiara non vengono espanse\n"},
        {"nome.gpx",
         "<gpx><wpt lat=\"45\" lon=\"9\"><name>" + std::string(1 << 20, 'A') + "</name></wpt>" +
             traccia + "</gpx>",
         {},
         "scenario: nome.gpx: waypoint 0: errore: nome di stazione di 1048576 byte, oltre i 255 "
         "caratteri che un nome puo' avere\n"},
    };
    for (const caso& c : casi) {
        cartella_temporanea d;
        scrivi(d.percorso() / c.file, c.testo);
        const std::vector<std::string> prima = contenuto(d.percorso());
        std::vector<std::string> argomenti{"importa", c.file, "-o", "out"};
        argomenti.insert(argomenti.end(), c.argomenti.begin(), c.argomenti.end());
        const auto e = esegui_strumento(d.percorso(), argomenti);
        EXPECT_EQ(e.stato, 1) << c.file << ": " << e.errori;
        EXPECT_EQ(e.errori, c.messaggio) << c.file;
        EXPECT_EQ(contenuto(d.percorso()), prima) << c.file;
    }
}

TEST(ImportaLimiti, AGpxInUtf16AndAPlatformOutOfRangeAreImported) {
    cartella_temporanea d;
    const std::string gpx = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<gpx version=\"1.1\">"
                            "<wpt lat=\"45.0\" lon=\"9.0\"><name>Altavilla</name></wpt>"
                            "<wpt lat=\"45.02\" lon=\"9.0\"><name>Borgo</name></wpt>" +
                            traccia + "</gpx>";
    std::string utf16 = "\xFF\xFE";
    for (const char c : gpx) {
        utf16 += c;
        utf16 += '\0';
    }
    scrivi(d.percorso() / "utf16.gpx", utf16);
    const auto e = esegui_strumento(d.percorso(), {"importa", "utf16.gpx", "-o", "out"});
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_NE(e.uscita.find("2 stazioni"), std::string::npos) << e.uscita;
    EXPECT_TRUE(fs::exists(d.percorso() / "out" / "Utf16_linea.txt"));

    scrivi(d.percorso() / "marciapiede.osm", R"(<?xml version="1.0"?><osm version="0.6">
<node id="1" lat="45.0" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="A"/></node>
<node id="2" lat="45.02" lon="9.0"><tag k="railway" v="station"/><tag k="name" v="B"/>
<tag k="railway:platform_length" v="1e308"/></node>
<way id="7"><nd ref="1"/><nd ref="2"/><tag k="railway" v="rail"/></way></osm>)");
    const auto m = esegui_strumento(
        d.percorso(), {"importa", "marciapiede.osm", "--da", "A", "--a", "B", "-o", "m"});
    ASSERT_EQ(m.stato, 0) << m.errori;
    EXPECT_NE(m.errori.find("scenario: marciapiede.osm: nodo 2: avviso: lunghezza del "
                            "marciapiede \"1e308\" fuori dall'intervallo (oltre 0 e fino a 10000 "
                            "m): ignorata\n"),
              std::string::npos)
        << m.errori;
    EXPECT_TRUE(fs::exists(d.percorso() / "m" / "Marciapiede_linea.txt"));
}

} // namespace
} // namespace corvenna
