// The curves ispeziona shows, read back from the plan view of a compiled line: each with its
// ends, hand, class and radius as the curve line wrote them, and the line that wrote it.

#include "inspect/fatti_linea.hpp"
#include "inspect/ispezione_curve.hpp"
#include "inspect/ispezione_tratti.hpp"
#include "support/compila_prova.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace corvenna {
namespace {

const std::string tre_curve =
    prova::linea({"curvad4,  2000,  600", "curvas5,  5000,  300", "curvad1,  7000,  1000"});

TEST(IspezioneCurve, EachCurveHasTheEndsHandAndClassItsLineWrote) {
    const prova::risultato r = prova::compila(tre_curve);
    ispezione i = ispeziona_tratti(r.c);
    aggiungi_curve(i, r.c, {{5000, fonte_riga{"Prova_linea.txt", 5}}});
    ASSERT_EQ(i.curve.size(), 3U);
    const struct {
        std::int64_t da, a;
        bool destra;
        int classe;
        double raggio_m;
    } attese[] = {
        {2000, 2600, true, 4, 1000}, {5000, 5300, false, 5, 500}, {7000, 8000, true, 1, 10000}};
    for (std::size_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(i.curve[n].da_metro, attese[n].da);
        EXPECT_EQ(i.curve[n].a_metro, attese[n].a);
        EXPECT_EQ(i.curve[n].destra, attese[n].destra);
        EXPECT_EQ(i.curve[n].classe, attese[n].classe);
        EXPECT_EQ(i.curve[n].raggio_m, attese[n].raggio_m);
        EXPECT_EQ(i.curve[n].fonte.has_value(), n == 1);
    }

    std::ostringstream csv;
    scrivi_curve_csv(csv, i, "\n");
    EXPECT_EQ(csv.str(), "da_metro,a_metro,mano,classe,raggio_m,progressiva_da,progressiva_a,"
                         "fonte\n"
                         "2000,2600,destra,4,1000,2+000,2+600,\n"
                         "5000,5300,sinistra,5,500,5+000,5+300,Prova_linea.txt:5\n"
                         "7000,8000,destra,1,10000,7+000,8+000,\n");
    // The stretch text names the curve over it.
    EXPECT_NE(riga_tratto(i, i.tratti[101])
                  .find("curva a sinistra di raggio 500 m (classe 5) da "
                        "5000 a 5300 m (km 5+000 - km 5+300) "
                        "[Prova_linea.txt:5]"),
              std::string::npos);
}

TEST(IspezioneCurve, AScenarioWithoutPlanViewHasNoCurvesAndSaysSo) {
    prova::risultato r = prova::compila(tre_curve);
    r.c.genera_planimetria = 0;
    r.c.planimetria = {};
    ispezione i = ispeziona_tratti(r.c);
    aggiungi_curve(i, r.c);
    EXPECT_FALSE(i.ha_planimetria);
    EXPECT_TRUE(i.curve.empty());
    EXPECT_FALSE(fatti_di(r.c).ha_planimetria);
}

TEST(FattiLinea, TheFactsStopAtTheRoutesEnd) {
    // The track laid past the end holds the last limit; the facts count the route alone.
    const prova::risultato r = prova::compila(
        prova::linea({"pendenza,  0,  0", "pendenza,  9000,  -15", "montagna,  2000,  3000,  12"}),
        prova::treno({"velocita,  0,  80", "velocita,  5000,  100"}));
    const fatti_linea f = fatti_di(r.c);
    EXPECT_EQ(f.lunghezza_percorso, 10000);
    ASSERT_EQ(f.velocita.size(), 2U);
    EXPECT_EQ(f.velocita[1].metro, 5000);
    EXPECT_EQ(f.pendenza_massima_per_mille, -15);
    EXPECT_EQ(f.metro_pendenza_massima, 9000);
    ASSERT_EQ(f.gallerie.size(), 1U);
    EXPECT_EQ(f.gallerie[0].da_metro, 2000);
    EXPECT_EQ(f.gallerie[0].a_metro, 3000);
}

} // namespace
} // namespace corvenna
