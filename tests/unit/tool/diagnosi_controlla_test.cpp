// The language server's diagnosis as the tool runs it: what the compile of the pair made at a
// metre, for the hovers, in the driver's kilometre.

#include "format/righe_documento.hpp"
#include "scenario/righe_linea.hpp"
#include "scenario/righe_treno.hpp"
#include "tool/comando_lsp.hpp"

#include <gtest/gtest.h>

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

} // namespace
} // namespace corvenna
