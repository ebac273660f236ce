// The language server's diagnosis as the tool runs it: what the compile of the pair made at a
// metre, for the hovers, in the driver's kilometre; the dry run's warnings and hovers.

#include "format/righe_documento.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "tool/comando_lsp.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

testi_scenario modello() {
    return {testo_righe(righe_linea), testo_righe(righe_treno), {"Corvenna", "7381"}};
}

TEST(DiagnosiControlla, TellsWhatTheCompileMadeAtAMetreInTheDriversKilometre) {
    diagnosi_controlla d;
    const testi_scenario testi = modello();
    d.esamina(testi);
    // The level-crossing board at 3650 m: the driver reads km 2+150 there (the first
    // kilometric system starts 1500 m back).
    const std::string board = d.descrivi_metro(testi, 3650);
    EXPECT_NE(board.find("3650-3700 m (km 2+150)"), std::string::npos) << board;
    EXPECT_NE(board.find("cartello \"P.L. / km 2+187\""), std::string::npos) << board;
    // Past the cells, nothing.
    EXPECT_EQ(d.descrivi_metro(testi, 200000), "");
    // The second system starts at 42300 m, at km 0.
    EXPECT_EQ(d.chilometro(testi, 4100), "km 2+600");
    EXPECT_EQ(d.chilometro(testi, 42350), "km 0+050");
    // Another pair is compiled for its own hover; one that does not compile tells nothing.
    testi_scenario rotta = testi;
    rotta.linea.replace(rotta.linea.find("cartello_indicatore,  3650"), 26,
                        "cartello_indicatore,  99500");
    EXPECT_EQ(d.descrivi_metro(rotta, 3650), "");
    EXPECT_EQ(d.chilometro(rotta, 4100), "");
    EXPECT_EQ(d.descrivi_metro(testi, 3650), board);
}

// The names of the warnings the diagnosis gives, in order.
std::vector<std::string> nomi_avvisi(const elenco_diagnostiche& d) {
    std::vector<std::string> nomi;
    for (const diagnostica& x : d)
        if (x.tipo)
            nomi.emplace_back(tipo_di(*x.tipo).nome);
    return nomi;
}

TEST(DiagnosiControlla, DryRunWarnsOfTheTimetableAndWithTheSetModelOfItsRun) {
    diagnosi_controlla d;
    const testi_scenario testi = modello();
    EXPECT_EQ(nomi_avvisi(d.esamina(testi)),
              (std::vector<std::string>{"orario-impossibile", "marcatori-sovrascritti"}));
    d.imposta_modello("regionale");
    EXPECT_EQ(nomi_avvisi(d.esamina(testi)),
              (std::vector<std::string>{"orario-irrealizzabile", "orario-impossibile",
                                        "marcatori-sovrascritti"}));
    // A model that cannot be had leaves the lower bound alone.
    d.imposta_modello("nessun_file.json");
    EXPECT_EQ(nomi_avvisi(d.esamina(testi)),
              (std::vector<std::string>{"orario-impossibile", "marcatori-sovrascritti"}));
}

TEST(DiagnosiControlla, DryRunHoverOnAStationRowAndADistantSignalRow) {
    diagnosi_controlla d;
    d.imposta_modello("regionale");
    const testi_scenario testi = modello();
    // Line 34 of the train: VALTERMA, the end of the last section.
    EXPECT_EQ(d.marcia_riga(testi, descrizione::treno, 34),
              "marcia a vuoto (modello regionale): da BAGNOVERDE a VALTERMA l'orario da' 300 s; "
              "minimo 340.7 s, limite inferiore 302 s, margine -40.7 s (-12.0 %)");
    // Line 37: the distant signal at 2800 m, 1250 m before its main signal.
    const std::string avviso = d.marcia_riga(testi, descrizione::treno, 37);
    EXPECT_NE(avviso.find("su 1250 m fino al principale a 4050 m"), std::string::npos) << avviso;
    // The first station ends no section, nor does a station without a time; a main signal has
    // no braking of its own.
    EXPECT_EQ(d.marcia_riga(testi, descrizione::treno, 19), "");
    EXPECT_EQ(d.marcia_riga(testi, descrizione::treno, 25), "");
    EXPECT_EQ(d.marcia_riga(testi, descrizione::treno, 38), "");
}

} // namespace
} // namespace corvenna
