#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_testo.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace corvenna {
namespace {

TEST(DisegnoTesto, EscapesEveryCharacterThatEndsTextOrAttribute) {
    EXPECT_EQ(html("PRIMA & <ALTA> \"x\" 'y' città"),
              "PRIMA &amp; &lt;ALTA&gt; &quot;x&quot; &#39;y&#39; città");
    EXPECT_EQ(html("</script><script>"), "&lt;/script&gt;&lt;script&gt;");
}

// Tab, line feed and form feed as references; the controls HTML allows neither as bytes nor as
// references as visible text, byte by byte; U+FFFD, which stands for a byte without a character,
// as it is.
TEST(DisegnoTesto, ControlCharactersBecomeReferencesOrVisibleText) {
    struct caso {
        std::string testo;
        std::string atteso;
    };
    const caso casi[] = {
        {"ROSSO\x1b[31m", "ROSSO\\x1b[31m"},
        {std::string("A\0B", 3), "A\\x00B"},
        {"a\tb\nc\fd", "a&#9;b&#10;c&#12;d"},
        {"a\rb\x7f\x01", "a\\x0db\\x7f\\x01"},
        {"\xC2\x80\xC2\x9F\xC2\xA0", "\\xc2\\x80\\xc2\\x9f\xC2\xA0"},
        {"CITT\xC3\x80 \xEF\xBF\xBD", "CITT\xC3\x80 \xEF\xBF\xBD"},
    };
    for (const caso& k : casi)
        EXPECT_EQ(html(k.testo), k.atteso) << k.atteso;
}

TEST(DisegnoTesto, NumbersAsThePageWritesThem) {
    struct caso {
        std::string effettivo;
        std::string atteso;
    };
    std::string coordinate;
    for (const double v : {12.0, -3.25, 0.04, -0.04, 1234.56, double{NAN}, double{INFINITY}}) {
        aggiungi_coordinata(coordinate, v);
        coordinate += ' ';
    }
    const caso casi[] = {
        {coordinate, "12 -3.3 0 0 1234.6 0 0 "},
        {km_testo(88000), "88,000"},
        {km_testo(-200), "-0,200"},
        {ora_testo(6 * 3600 + 41 * 60), "06:41:00"},
        {ora_testo(26 * 3600 + 59), "26:00:59"},
        {numero_dati(-0.0001, 3), "0.000"},
        {numero_testo(2.5, 1), "2,5"},
    };
    for (const caso& k : casi)
        EXPECT_EQ(k.effettivo, k.atteso);
}

} // namespace
} // namespace corvenna
