#include "modello_disegno.hpp"

#include "drawing/disegno_curvatura.hpp"
#include "drawing/disegno_descrizioni.hpp"
#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_profilo.hpp"

#include <gtest/gtest.h>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

TEST(DisegnoCurvatura, EachCurveLineComesBackWithItsHandRadiusAndStretch) {
    // Every class, both hands, one curve right after another of the same hand.
    const costruzione c = modello(linea({
                                      "curvas1,  500,  400",
                                      "curvad2,  1500,  300",
                                      "curvas3,  2500,  200",
                                      "curvad4,  3500,  300",
                                      "curvas5,  4500,  200",
                                      "curvad6,  5500,  100",
                                      "curvad4,  5600,  200",
                                  }),
                                  treno({}));
    const std::vector<curva_disegno> curve = curve_planimetria(c, 10000);
    struct attesa {
        std::int64_t inizio, fine;
        double raggio;
        bool destra;
    };
    const attesa attese[] = {
        {500, 900, 10000, false}, {1500, 1800, 5000, true}, {2500, 2700, 2500, false},
        {3500, 3800, 1000, true}, {4500, 4700, 500, false}, {5500, 5600, 333, true},
        {5600, 5800, 1000, true},
    };
    ASSERT_EQ(curve.size(), std::size(attese));
    for (std::size_t i = 0; i < curve.size(); ++i) {
        EXPECT_EQ(curve[i].inizio, attese[i].inizio) << i;
        EXPECT_EQ(curve[i].fine, attese[i].fine) << i;
        EXPECT_EQ(curve[i].raggio, attese[i].raggio) << i;
        EXPECT_EQ(curve[i].destra, attese[i].destra) << i;
    }
    EXPECT_EQ(sigla_curva(curve[1]), "d R 5000");
    const elementi_scenario e = estrai_elementi(c);
    EXPECT_EQ(descrizione_curva(e, curve[4], riga_origine{descrizione::linea, 7}),
              "Curva a sinistra, raggio 500 m\nda km 4,500 a km 4,700 (200 m)\nprogressiva "
              "4+500\nriga 7 della descrizione della linea");
}

TEST(DisegnoCurvatura, StraightLineAndMissingPlanViewHaveNoCurve) {
    EXPECT_TRUE(curve_planimetria(modello(linea({}), treno({})), 10000).empty());
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea({"curvas4,  500,  400"});
    sorgente.testi[descrizione::treno] = treno({});
    const scenario_costruito s = costruisci_scenario(sorgente, {"Prova", "42"}, 0);
    EXPECT_TRUE(curve_planimetria(s.c, 10000).empty());
}

TEST(DisegnoCurvatura, ProfilePlacesEachCurveOnTheDistanceAxis) {
    const costruzione c = modello(linea({"curvad4,  2000,  1000"}), treno({}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, 1300);
    ASSERT_EQ(d.curve.size(), 1u);
    EXPECT_DOUBLE_EQ(d.x_curve[0].x1, d.x(2000));
    EXPECT_DOUBLE_EQ(d.x_curve[0].x2, d.x(3000));
    EXPECT_LT(d.velocita.basso, d.curvatura.alto);
    EXPECT_LT(d.curvatura.basso, d.elementi.alto);
}

} // namespace
} // namespace corvenna
