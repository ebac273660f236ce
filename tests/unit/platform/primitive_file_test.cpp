// The replacement by a temporary over primitives that fail at a chosen step: a directory held in
// memory that also checks, at every call, what a signal or a power cut at that moment would find.

#include "platform/primitive_file.hpp"
#include "unit/platform/primitive_finte.hpp"

#include "base/errore_file.hpp"
#include "platform/nomi_temporanei.hpp"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;

using prova::codice_guasto;
using prova::codice_nome_preso;
using prova::primitive_finte;

const fs::path destinazione = fs::path("cartella") / "a.dat";

// Larger than the stream's buffer, so that it takes several writes.
const std::string contenuto_nuovo(150000, 'n');

scrittura_file scrivi_nuovo() {
    return [](std::ostream& uscita) { uscita << contenuto_nuovo; };
}

TEST(SostituisciFile, AFailureAtAnyStepLeavesTheEarlierFileAndNoTemporary) {
    for (const persistenza durata : {persistenza::durevole, persistenza::provvisoria}) {
        for (int passo = 1;; ++passo) {
            SCOPED_TRACE("step " + std::to_string(passo));
            primitive_finte sistema;
            sistema.voci = {{"a.dat", "precedente"}};
            sistema.passo_guasto = passo;
            unsigned progressivo = 0;
            try {
                sostituisci_file(sistema, "a.dat", destinazione, progressivo, scrivi_nuovo(),
                                 durata);
            } catch (const errore_file& e) {
                EXPECT_EQ(e.file(), destinazione);
                EXPECT_EQ(e.motivo(), "guasto 28");
                EXPECT_EQ(sistema.voci,
                          (std::map<std::string, std::string>{{"a.dat", "precedente"}}));
                EXPECT_TRUE(sistema.aperti.empty());
                EXPECT_EQ(sistema.difetti, std::vector<std::string>{});
                continue;
            }
            // No step failed: the replacement is complete.
            EXPECT_LT(sistema.passi, passo);
            EXPECT_EQ(sistema.voci,
                      (std::map<std::string, std::string>{{"a.dat", contenuto_nuovo}}));
            EXPECT_TRUE(sistema.aperti.empty());
            EXPECT_EQ(sistema.difetti, std::vector<std::string>{});
            break;
        }
    }
}

// A writer that fails, in each of the ways it can.
struct caso_scrittore {
    const char* nome;
    scrittura_file scrivi;
    const char* file_atteso;
    const char* motivo_atteso;
};

void PrintTo(const caso_scrittore& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class ScrittoreFallito : public ::testing::TestWithParam<caso_scrittore> {};

TEST_P(ScrittoreFallito, LeavesTheEarlierFileAndNoTemporary) {
    primitive_finte sistema;
    sistema.voci = {{"a.dat", "precedente"}};
    unsigned progressivo = 0;
    try {
        sostituisci_file(sistema, "a.dat", destinazione, progressivo, GetParam().scrivi,
                         persistenza::durevole);
        FAIL() << "the failure of the writer was not reported";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), fs::path(GetParam().file_atteso));
        EXPECT_EQ(e.motivo(), GetParam().motivo_atteso);
    }
    EXPECT_EQ(sistema.voci, (std::map<std::string, std::string>{{"a.dat", "precedente"}}));
    EXPECT_TRUE(sistema.aperti.empty());
    EXPECT_EQ(sistema.difetti, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    SostituisciFile, ScrittoreFallito,
    ::testing::Values(caso_scrittore{"Throws",
                                     [](std::ostream& uscita) {
                                         uscita << contenuto_nuovo;
                                         throw std::runtime_error("dati mancanti");
                                     },
                                     "cartella/a.dat", "dati mancanti"},
                      // A file the writer reads fails: its own error goes on unchanged.
                      caso_scrittore{"ThrowsAFileError",
                                     [](std::ostream& uscita) {
                                         uscita << contenuto_nuovo;
                                         throw errore_file("linea.txt", "illeggibile");
                                     },
                                     "linea.txt", "illeggibile"},
                      caso_scrittore{"LeavesTheStreamFailed",
                                     [](std::ostream& uscita) {
                                         uscita << contenuto_nuovo;
                                         uscita.setstate(std::ios::badbit);
                                     },
                                     "cartella/a.dat", "scrittura fallita"}),
    [](const auto& info) { return std::string(info.param.nome); });

// Names taken by anything are skipped, and left as they are; a directory where every name is
// taken fails in the end.
TEST(SostituisciFile, TakenNamesAreSkippedAndLeftAlone) {
    primitive_finte sistema;
    for (unsigned n = 0; n < 3; ++n)
        sistema.voci[nome_temporaneo("a.dat", 4242, n)] = "di un altro";
    unsigned progressivo = 0;
    sostituisci_file(sistema, "a.dat", destinazione, progressivo, scrivi_nuovo(),
                     persistenza::durevole);
    EXPECT_EQ(sistema.voci.at("a.dat"), contenuto_nuovo);
    for (unsigned n = 0; n < 3; ++n)
        EXPECT_EQ(sistema.voci.at(nome_temporaneo("a.dat", 4242, n)), "di un altro");
    EXPECT_EQ(sistema.voci.size(), 4U);
    EXPECT_EQ(progressivo, 4U);

    for (unsigned n = progressivo; n < progressivo + 100; ++n)
        sistema.voci[nome_temporaneo("b.dat", 4242, n)] = "di un altro";
    try {
        sostituisci_file(sistema, "b.dat", "cartella/b.dat", progressivo, scrivi_nuovo(),
                         persistenza::durevole);
        FAIL() << "a hundred taken names were not reported";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.motivo(), "guasto 17");
    }
    EXPECT_FALSE(sistema.voci.contains("b.dat"));
}

} // namespace
} // namespace corvenna
