#include "pipeline/costruisci_scenario.hpp"
#include "support/treno_minimo.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace corvenna {
namespace {

// Every field of a diagnostic that a report shows.
auto chiave(const diagnostica& d) {
    return std::tuple(d.livello, d.file, d.riga, d.colonna, d.codice, d.tipo, d.messaggio, d.metri,
                      d.correlati.size());
}

scenario_costruito costruito(const std::string& linea, punti_della_planimetria punti) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = linea;
    sorgente.testi[descrizione::treno] = prova::treno_minimo();
    return costruisci_scenario(sorgente, {"Prova", "0001"}, 1, punti);
}

// The editor's diagnosis leaves out the plan view's points: the curves are read and checked
// the same, the same diagnostics at the same fields and the same outcome, on sound curves and
// on each way a curve row goes wrong.
TEST(PuntiPlanimetria, LeftOutTheyChangeNoDiagnosticNorOutcome) {
    const std::string inizio = "[generale]\r\nlunghezza percorso,  10000\r\n[curve]\r\n";
    const std::string casi[] = {
        "curvad3,  1000,  800\r\ncurvas5,  3000,  400\r\n",
        // Overlapping, the second applied only in part; one ignored.
        "curvad3,  1000,  800\r\ncurvas5,  1500,  400\r\ncurvad1,  1200,  100\r\n",
        // Two class digits; no class.
        "curva 35,  1000,  800\r\ncurva,  3000,  400\r\n",
        // Starting, then ending, past the plan view.
        "curvad3,  16990,  800\r\n",
        "curvad3,  16000,  990\r\n",
        "curvad3,  16000,  989\r\n",
    };
    for (const std::string& curve : casi) {
        const std::string linea = inizio + curve + "[fine]\r\n";
        const scenario_costruito con = costruito(linea, punti_della_planimetria::calcolati);
        const scenario_costruito senza = costruito(linea, punti_della_planimetria::tralasciati);
        ASSERT_EQ(con.diagnostiche.size(), senza.diagnostiche.size()) << curve;
        for (std::size_t k = 0; k < con.diagnostiche.size(); ++k)
            EXPECT_EQ(chiave(con.diagnostiche[k]), chiave(senza.diagnostiche[k])) << curve;
        EXPECT_EQ(con.c.codice_errore, senza.c.codice_errore) << curve;
        EXPECT_EQ(con.c.posizione_errore, senza.c.posizione_errore) << curve;
        EXPECT_EQ(con.riuscito(), senza.riuscito()) << curve;
        EXPECT_FALSE(con.c.planimetria[asse_x].empty()) << curve;
        EXPECT_TRUE(senza.c.planimetria[asse_x].empty()) << curve;
    }
}

} // namespace
} // namespace corvenna
