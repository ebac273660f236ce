// A set of files replaced together, over primitives that fail or kill the process at a chosen
// step: whatever step it is, the directory that the next run finishes holds the whole earlier set
// or the whole new one.

#include "platform/insieme_file.hpp"

#include "base/errore_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "platform/registro_sostituzione.hpp"
#include "unit/platform/primitive_finte.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::primitive_finte;
using prova::processo_ucciso;

using cartella_in_memoria = std::map<std::string, std::string>;

const cartella_in_memoria insieme_vecchio{
    {"a.dat", "vecchio a"}, {"b.dat", "vecchio b"}, {"c.dat", "vecchio c"}, {"z.txt", "altro"}};
// The new set replaces a.dat and b.dat and has no c.dat.
const cartella_in_memoria insieme_nuovo{
    {"a.dat", std::string(70000, 'a')}, {"b.dat", "nuovo b"}, {"z.txt", "altro"}};

// A run that prepares the new set and confirms it, as insieme_file does.
void sostituisci_insieme(primitive_finte& sistema) {
    unsigned progressivo = 0;
    std::vector<voce_registro> voci;
    auto abbandona = [&] {
        for (const voce_registro& v : voci)
            abbandona_temporaneo(sistema, v.temporaneo);
    };
    try {
        for (const char* nome : {"a.dat", "b.dat"}) {
            const std::string contenuto = insieme_nuovo.at(nome);
            const fs::path temporaneo = scrivi_temporaneo(
                sistema, nome, fs::path("cartella") / nome, progressivo,
                [&](std::ostream& uscita) { uscita << contenuto; }, persistenza::durevole);
            voci.push_back({nome, temporaneo.string()});
        }
    } catch (const errore_file&) {
        abbandona();
        throw;
    }
    voci.push_back({"c.dat", {}});
    conferma_insieme(sistema, "cartella", voci, progressivo);
}

// The next run: finishes a record left behind, then removes the temporaries.
cartella_in_memoria dopo_la_prossima_esecuzione(const cartella_in_memoria& voci) {
    primitive_finte sistema;
    sistema.voci = voci;
    completa_sostituzione(sistema, "cartella");
    cartella_in_memoria esito;
    for (const auto& [nome, contenuto] : sistema.voci) {
        bool temporaneo = temporaneo_di(nome, nome_registro);
        for (const char* file : {"a.dat", "b.dat", "c.dat"})
            temporaneo = temporaneo || temporaneo_di(nome, file);
        if (!temporaneo)
            esito[nome] = contenuto;
    }
    return esito;
}

TEST(InsiemeFile, AFailureOrAKillAtAnyStepLeavesTheOldSetOrTheNewOne) {
    for (const bool uccisione : {false, true}) {
        for (int passo = 1;; ++passo) {
            SCOPED_TRACE((uccisione ? "killed at step " : "failure at step ") +
                         std::to_string(passo));
            primitive_finte sistema;
            sistema.voci = insieme_vecchio;
            sistema.file_controllati = {"a.dat", "b.dat", std::string(nome_registro)};
            (uccisione ? sistema.passo_ucciso : sistema.passo_guasto) = passo;
            bool riuscito = false;
            try {
                sostituisci_insieme(sistema);
                riuscito = true;
            } catch (const errore_file&) {
            } catch (const processo_ucciso&) {
            }
            EXPECT_EQ(sistema.difetti, std::vector<std::string>{});
            const cartella_in_memoria esito = dopo_la_prossima_esecuzione(sistema.voci);
            if (riuscito) {
                // No step failed, or a step of the renames failed once and its second try
                // succeeded: the set is complete and nothing is left to finish.
                EXPECT_EQ(sistema.voci, insieme_nuovo);
                if (sistema.passi < passo)
                    break;
                continue;
            }
            EXPECT_TRUE(esito == insieme_vecchio || esito == insieme_nuovo)
                << "a mix of the two sets";
            // A failure reported before the record is in place leaves nothing behind at once.
            if (!uccisione && !sistema.voci.contains(std::string(nome_registro)) &&
                esito == insieme_vecchio) {
                EXPECT_EQ(sistema.voci, insieme_vecchio);
            }
        }
    }
}

TEST(InsiemeFile, ADirectoryInPlaceOfAFileStopsTheSetBeforeAnyRename) {
    primitive_finte sistema;
    sistema.voci = insieme_vecchio;
    sistema.voci.erase("b.dat");
    sistema.cartelle = {"b.dat"};
    try {
        sostituisci_insieme(sistema);
        FAIL() << "the directory was not reported";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), fs::path("cartella") / "b.dat");
        EXPECT_EQ(e.motivo(), "al suo posto c'e' una cartella");
    }
    cartella_in_memoria atteso = insieme_vecchio;
    atteso.erase("b.dat");
    EXPECT_EQ(sistema.voci, atteso);
}

TEST(InsiemeFile, ARecordThatIsNotOneIsReportedAndTouchesNothing) {
    for (const std::string& testo : std::vector<std::string>{
             std::string("sostituzione 1\r\nR\tz.txt\ta.dat\r\nfine\r\n"), // not a temporary
             std::string("sostituzione 1\r\nC\t../a.dat\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\ta.dat\r\n"), // cut short
             std::string("qualcosa\r\n")}) {
        SCOPED_TRACE(testo);
        primitive_finte sistema;
        sistema.voci = insieme_vecchio;
        sistema.voci[std::string(nome_registro)] = testo;
        const cartella_in_memoria prima = sistema.voci;
        try {
            completa_sostituzione(sistema, "cartella");
            FAIL() << "the record was not refused";
        } catch (const errore_file& e) {
            EXPECT_EQ(e.file(), fs::path("cartella") / "sostituzione_in_corso");
            EXPECT_EQ(e.motivo(), "non e' un registro di sostituzione leggibile: va esaminato e "
                                  "cancellato a mano");
        }
        EXPECT_EQ(sistema.voci, prima);
    }
}

TEST(RegistroSostituzione, ReadsBackWhatItWrites) {
    const std::vector<voce_registro> voci{{"a b.dat", "a b.dat.tmp12-0"}, {"c.dat", ""}};
    EXPECT_EQ(testo_registro(voci),
              "sostituzione 1\r\nR\ta b.dat.tmp12-0\ta b.dat\r\nC\tc.dat\r\nfine\r\n");
    EXPECT_EQ(leggi_registro(testo_registro(voci)), voci);
    EXPECT_EQ(leggi_registro(testo_registro({})), std::vector<voce_registro>{});
}

} // namespace
} // namespace corvenna
