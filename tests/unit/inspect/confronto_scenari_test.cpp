// The differences between two scenarios compiled from the built-in descriptions: none against
// itself, and exactly one change naming each single edit.

#include "inspect/confronto_scenari.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// The description text with its first line that begins with `da` replaced by `a`.
std::string con_riga(std::string testo, const std::string& da, const std::string& a) {
    const std::size_t inizio = testo.find("\r\n" + da);
    EXPECT_NE(inizio, std::string::npos) << da;
    const std::size_t fine = testo.find("\r\n", inizio + 2);
    return testo.replace(inizio + 2, fine - inizio - 2, a);
}

TEST(ConfrontoScenari, ScenarioAgainstItselfHasNoChange) {
    const costruzione& c = prova::scenario_incorporato();
    EXPECT_TRUE(confronta_scenari(c, c).empty());
}

TEST(ConfrontoScenari, EachSingleEditGivesOneChangeNamingIt) {
    struct caso {
        const char* nome;
        bool linea; // the edit is in the line description
        std::string da, a;
        std::string gruppo, descrizione;
    };
    const std::vector<caso> casi = {
        {"moved signal", false, "segnale,  41300,",
         "segnale,  41400,  2,  2,  3,  0,  1,  2,  2,  1,  0,  0", "segnale",
         "segnale a 41300 m (km 39+800) spostato a 41400 m (km 39+900)"},
        {"changed speed", false, "velocita,  65400,", "velocita,  65400,  90", "velocita",
         "velocita da 65400 m (km 26+500) a 68900 m: 100 km/h -> 90 km/h"},
        {"changed curve", true, "curvas4,  700,  950", "curvas3,  700,  950", "planimetria",
         "planimetria: la linea curva diversamente da 701 m (km -0+799) a 1650 m; si sposta "
         "al massimo di 30937.20 m (a 88000 m)"},
        {"renamed station", false, "stazione,  42300,",
         "stazione,  42300,  8,  300,  0,  0,  0,  1,  1,  0,  4,  4,  1,  60,  7,  16,  0,   "
         "MERIDOLA ALTA",
         "stazione", "stazione MERIDOLA a 42300 m (km 0+000) rinominata MERIDOLA ALTA"},
        {"changed gradient", true, "pendenza,  1500,", "pendenza,  1500,  -4", "pendenza", ""},
        {"moved board", true, "cartello_indicatore,  2900,",
         "cartello_indicatore,  3000,     (   P.L.  )(km 1+522)", "cartello",
         "cartello a 2900 m (km 1+400) spostato a 3000 m (km 1+500)"},
    };
    const std::string linea = prova::testo_righe(righe_linea);
    const std::string treno = prova::testo_righe(righe_treno);
    for (const caso& k : casi) {
        const costruzione b =
            prova::compila_scenario(k.linea ? con_riga(linea, k.da, k.a) : linea,
                                    k.linea ? treno : con_riga(treno, k.da, k.a), 1);
        const std::vector<modifica> m = confronta_scenari(prova::scenario_incorporato(), b);
        ASSERT_EQ(m.size(), 1u) << k.nome << ": " << (m.empty() ? "" : m[0].descrizione)
                                << (m.size() > 1 ? " | " + m[1].descrizione : "");
        EXPECT_EQ(m[0].gruppo, k.gruppo) << k.nome;
        if (!k.descrizione.empty()) {
            EXPECT_EQ(m[0].descrizione, k.descrizione) << k.nome;
        }
    }
}

} // namespace
} // namespace corvenna
