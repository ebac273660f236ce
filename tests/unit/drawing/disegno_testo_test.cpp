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
        {progressiva_testo(40800), "40+800"},
        {progressiva_testo(-1500), "-1+500"},
        {progressiva_testo(5), "0+005"},
        {ora_testo(6 * 3600 + 41 * 60), "06:41:00"},
        {ora_testo(26 * 3600 + 59), "26:00:59"},
        {numero_dati(-0.0001, 3), "0.000"},
        {numero_testo(2.5, 1), "2,5"},
    };
    for (const caso& k : casi)
        EXPECT_EQ(k.effettivo, k.atteso);
}

TEST(DisegnoTesto, RouteSignLetteringOnOneLine) {
    EXPECT_EQ(scritta_cartello("(   P.L.  )(km 1+522)"), "P.L. / km 1+522");
    EXPECT_EQ(scritta_cartello("( Fiume )(  ORSENTE)( 500 m)"), "Fiume / ORSENTE / 500 m");
    EXPECT_EQ(scritta_cartello("  senza gruppi "), "senza gruppi");
    EXPECT_EQ(scritta_cartello("(aperto"), "(aperto");
}

} // namespace
} // namespace corvenna
