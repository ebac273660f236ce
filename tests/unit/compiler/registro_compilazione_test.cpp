#include "support/celle_di_prova.hpp"

#include "compiler/memo_indicatori_v_max.hpp"
#include "compiler/memo_montagna.hpp"
#include "compiler/memo_rallentamento.hpp"
#include "compiler/memo_segnale.hpp"
#include "compiler/registro_compilazione.hpp"
#include "model/tipi_cella.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace corvenna {
namespace {

// The same recorder calls, with and without a registro: the cells come out the same, and the
// registro knows which feature placed each cell.
TEST(RegistroCompilazione, RecordersWriteTheSameCellsWithARegistro) {
    using chiamata = std::function<void(costruzione&, registro_compilazione*)>;
    const std::vector<chiamata> chiamate = {
        [](costruzione& c, registro_compilazione* reg) { memo_montagna(c, 8700, 11050, 11, reg); },
        [](costruzione& c, registro_compilazione* reg) {
            memo_montagna(c, 9000, 9500, 2, reg); // overlaps the first one
        },
        [](costruzione& c, registro_compilazione* reg) {
            memo_segnale(c, 8800, 2, 1, 2, 3, 1, 1, 1, 1, 1, 50, reg); // on a tunnel marker
        },
        [](costruzione& c, registro_compilazione* reg) {
            memo_segnale(c, 8900, 1, 1, 2, 3, 1, 1, 1, 1, 1, 0, reg); // markers over markers
        },
        [](costruzione& c, registro_compilazione* reg) {
            memo_rallentamento(c, 12000, 60, 10, 1, 1, 5, reg); // its start covers its end
        },
        [](costruzione& c, registro_compilazione* reg) {
            memo_indicatori_v_max(c, 8800, 1, 1, 1, 0, 0, 0, 0, 0, reg); // refused: 21
        },
    };
    costruzione senza = prova::modello_vuoto();
    costruzione con = prova::modello_vuoto();
    registro_compilazione reg;
    reg.prepara_celle(con.celle.size());
    int riga = 1;
    for (const chiamata& f : chiamate) {
        f(senza, nullptr);
        reg.inizia_elemento(descrizione::treno, {riga++, 11}, "un elemento", 0);
        f(con, &reg);
        EXPECT_EQ(senza.codice_errore, con.codice_errore);
    }
    EXPECT_EQ(prova::prima_cella_diversa(senza.celle, con.celle), -1);

    // The signal at 8800 took over the tunnel marker of cell 177; the refused board left it so.
    ASSERT_NE(reg.autore(177), nullptr);
    EXPECT_EQ(reg.autore(177)->posto.riga, 3);
    EXPECT_EQ(reg.cella_contesa, 177);
    EXPECT_EQ(reg.autore(181)->posto.riga, 1);
    EXPECT_EQ(reg.autore(170), nullptr);
    EXPECT_EQ(reg.autore_avviso(169)->posto.riga, 3);
    EXPECT_EQ(reg.autore_avviso(175)->posto.riga, 4);

    std::vector<std::string> nomi;
    for (const diagnostica& d : reg.diagnostiche)
        nomi.emplace_back(d.tipo ? tipo_di(*d.tipo).nome : "");
    // The slowdown's board (cell 217) and one of its numbered cells (213) take tunnel markers
    // too.
    EXPECT_EQ(nomi,
              (std::vector<std::string>{"tipo-montagna-cambiato", "montagne-sovrapposte",
                                        "marcatore-galleria-sostituito", "marcatori-sovrascritti",
                                        "rallentamento-senza-fine", "marcatore-galleria-sostituito",
                                        "marcatore-galleria-sostituito"}));
}

TEST(RegistroCompilazione, NamesAFeatureWithItsLineAndDescription) {
    registro_compilazione reg;
    reg.inizia_elemento(descrizione::linea, {12, 4}, "un cartello indicatore", 350);
    const elemento_descritto& e = reg.elemento_corrente();
    EXPECT_EQ(nomina(&e, descrizione::linea), "un cartello indicatore (riga 12)");
    EXPECT_EQ(nomina(&e, descrizione::treno),
              "un cartello indicatore (riga 12 della descrizione della linea)");
    EXPECT_EQ(nomina(nullptr, descrizione::treno), "un altro elemento");
}

} // namespace
} // namespace corvenna
