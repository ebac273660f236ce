#include "diagnostics/indice_righe.hpp"
#include "diagnostics/testo_diagnostica.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace corvenna {
namespace {

// The index finds every line as a scan from the text's start finds it, whatever the line ends.
TEST(IndiceRighe, FindsTheLinesAScanFromTheStartFinds) {
    const std::string_view testi[] = {
        "",
        "una riga",
        "una riga\n",
        "a\r\nb\rc\nd",
        "a\r\n\r\n\n\rb\r",
        "\r\r\n\n",
        "[generale]\r\nlunghezza percorso,  88000\r\n[fine]\r\n",
    };
    for (const std::string_view testo : testi) {
        const indice_righe indice = indicizza_righe(testo);
        for (int riga = -1; riga <= 12; ++riga) {
            const std::string_view atteso = riga_del_testo(testo, riga);
            const std::string_view trovato = riga_indicizzata(indice, riga);
            EXPECT_EQ(trovato, atteso) << "'" << testo << "' riga " << riga;
            // A view into the text itself, not a copy.
            if (!atteso.empty()) {
                EXPECT_EQ(trovato.data(), atteso.data()) << "'" << testo << "' riga " << riga;
            }
        }
    }
}

TEST(IndiceRighe, OneStartPerLine) {
    EXPECT_EQ(indicizza_righe("a\r\nb\rc\nd").inizi, (std::vector<std::size_t>{0, 3, 5, 7}));
    EXPECT_EQ(indicizza_righe("a\n").inizi, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(indicizza_righe("").inizi, (std::vector<std::size_t>{0}));
}

} // namespace
} // namespace corvenna
