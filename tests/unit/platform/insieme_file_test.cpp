// A set of files replaced together, over primitives that fail or kill the process at a chosen
// step: whatever step it is, the directory that the next run finishes holds the whole earlier set
// or the whole new one.

#include "platform/insieme_file.hpp"

#include "base/errore_file.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/nomi_temporanei.hpp"
#include "platform/registro_sostituzione.hpp"
#include "support/cartella_temporanea.hpp"
#include "unit/platform/primitive_finte.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::primitive_finte;
using prova::processo_ucciso;

using cartella_in_memoria = std::map<std::string, std::string>;

const cartella_in_memoria insieme_vecchio{{"A_1000.sim", "vecchio a"},
                                          {"A_1000.dat", "vecchio b"},
                                          {"A_linea.dat", "vecchio c"},
                                          {"A_linea.txt", "altro"}};
// The new set replaces the item and cell files and has no plan view.
const cartella_in_memoria insieme_nuovo{
    {"A_1000.sim", std::string(70000, 'a')}, {"A_1000.dat", "nuovo b"}, {"A_linea.txt", "altro"}};

// A run that prepares the new set and confirms it, as insieme_file does.
void sostituisci_insieme(primitive_finte& sistema) {
    unsigned progressivo = 0;
    std::vector<voce_registro> voci;
    auto abbandona = [&] {
        for (const voce_registro& v : voci)
            abbandona_temporaneo(sistema, v.temporaneo);
    };
    try {
        for (const char* nome : {"A_1000.sim", "A_1000.dat"}) {
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
    voci.push_back({"A_linea.dat", {}});
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
        for (const char* file : {"A_1000.sim", "A_1000.dat", "A_linea.dat"})
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
            sistema.file_controllati = {"A_1000.sim", "A_1000.dat", std::string(nome_registro)};
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
    sistema.voci.erase("A_1000.dat");
    sistema.cartelle = {"A_1000.dat"};
    try {
        sostituisci_insieme(sistema);
        FAIL() << "the directory was not reported";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), fs::path("cartella") / "A_1000.dat");
        EXPECT_EQ(e.motivo(), "al suo posto c'e' una cartella");
    }
    cartella_in_memoria atteso = insieme_vecchio;
    atteso.erase("A_1000.dat");
    EXPECT_EQ(sistema.voci, atteso);
}

// A record is followed only when each of its steps is one the tools make: the replacement of a
// file of a scenario by its temporary, the removal of a file made from the descriptions.
TEST(InsiemeFile, ARecordThatIsNotOneIsReportedAndTouchesNothing) {
    for (const std::string& testo : std::vector<std::string>{
             // The temporary is not the file's.
             std::string("sostituzione 1\r\nR\tA_linea.txt\tA_1000.sim\r\nfine\r\n"),
             std::string("sostituzione 1\r\nR\tA_1000.dat.tmp1-0\tA_1000.sim\r\nfine\r\n"),
             // Temporaries of a form no run writes: a leading zero, numbers past their type.
             std::string("sostituzione 1\r\nR\tA_1000.sim.tmp01-0\tA_1000.sim\r\nfine\r\n"),
             std::string("sostituzione 1\r\nR\tA_1000.sim.tmp1-4294967296\tA_1000.sim\r\n"
                         "fine\r\n"),
             std::string("sostituzione 1\r\nR\tA_1000.sim.tmp99999999999999999999-0\t"
                         "A_1000.sim\r\nfine\r\n"),
             // A file no tool writes, replaced or removed.
             std::string("sostituzione 1\r\nR\tappunti.txt.tmp1-0\tappunti.txt\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\tappunti.txt\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\tA_100.sim\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\t_linea.dat\r\nfine\r\n"),
             // The author's descriptions are never removed.
             std::string("sostituzione 1\r\nC\tA_linea.txt\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\tA_1000-.txt\r\nfine\r\n"),
             // A good step does not carry a bad one.
             std::string("sostituzione 1\r\nC\tA_linea.dat\r\nC\tA_linea.txt\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\t../A_linea.dat\r\nfine\r\n"),
             std::string("sostituzione 1\r\nC\tA_linea.dat\r\n"), // cut short
             std::string("qualcosa\r\n")}) {
        SCOPED_TRACE(testo);
        primitive_finte sistema;
        sistema.voci = insieme_vecchio;
        sistema.voci["A_1000.sim.tmp1-0"] = "piantato";
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

// A well-formed record that another user owns, or that is not a file, is not followed either.
TEST(InsiemeFile, ARecordOfAnotherUserOrNotAFileIsRefused) {
    const std::string registro(nome_registro);
    const std::string testo = "sostituzione 1\r\nC\tA_linea.dat\r\nfine\r\n";
    {
        primitive_finte sistema;
        sistema.voci = insieme_vecchio;
        sistema.voci[registro] = testo;
        sistema.altrui = {registro};
        const cartella_in_memoria prima = sistema.voci;
        try {
            completa_sostituzione(sistema, "cartella");
            FAIL() << "the record was not refused";
        } catch (const errore_file& e) {
            EXPECT_EQ(e.file(), fs::path("cartella") / "sostituzione_in_corso");
            EXPECT_EQ(e.motivo(), "appartiene a un altro utente: va esaminato e cancellato a mano");
        }
        EXPECT_EQ(sistema.voci, prima);
        EXPECT_TRUE(sistema.aperti.empty());
    }
    {
        primitive_finte sistema;
        sistema.voci = insieme_vecchio;
        sistema.cartelle = {registro};
        try {
            completa_sostituzione(sistema, "cartella");
            FAIL() << "the record was not refused";
        } catch (const errore_file& e) {
            EXPECT_EQ(e.motivo(), "e' una cartella: va esaminato e cancellato a mano");
        }
        EXPECT_EQ(sistema.voci, insieme_vecchio);
    }
}

TEST(InsiemeFile, ARecordOfItsOwnFormIsFinishedAndSaysSo) {
    primitive_finte sistema;
    sistema.voci = insieme_vecchio;
    sistema.voci["A_1000.sim.tmp4242-7"] = "nuovo";
    sistema.voci[std::string(nome_registro)] =
        "sostituzione 1\r\nR\tA_1000.sim.tmp4242-7\tA_1000.sim\r\nC\tA_linea.dat\r\nfine\r\n";
    EXPECT_TRUE(completa_sostituzione(sistema, "cartella"));
    cartella_in_memoria atteso = insieme_vecchio;
    atteso["A_1000.sim"] = "nuovo";
    atteso.erase("A_linea.dat");
    EXPECT_EQ(sistema.voci, atteso);
    EXPECT_FALSE(completa_sostituzione(sistema, "cartella"));
}

// A set refuses at once a name that no record could carry, so a run never writes a record the
// next run refuses.
TEST(InsiemeFile, ASetTakesOnlyNamesARecordCanCarry) {
    const prova::cartella_temporanea radice;
    cartella_bloccata uscita(radice.percorso());
    insieme_file insieme(uscita);
    const auto scrivi = [](std::ostream& o) { o << "x"; };
    for (const char* nome : {"appunti.txt", "sostituzione_in_corso", "A_1000.sim\tx"})
        EXPECT_THROW(insieme.sostituisci(nome, scrivi, persistenza::durevole), errore_file) << nome;
    for (const char* nome : {"appunti.txt", "A_linea.txt", "A_1000-.txt"})
        EXPECT_THROW(insieme.cancella(nome), errore_file) << nome;
    EXPECT_NO_THROW(insieme.cancella("A_1000_note.txt"));
}

TEST(RegistroSostituzione, ReadsBackWhatItWrites) {
    const std::vector<voce_registro> voci{{"a b_1000.sim", "a b_1000.sim.tmp12-0"},
                                          {"a b_linea.dat", ""},
                                          {"X_linea.txt", "X_linea.txt.tmp4294967295-4294967295"}};
    EXPECT_EQ(testo_registro(voci),
              "sostituzione 1\r\nR\ta b_1000.sim.tmp12-0\ta b_1000.sim\r\nC\ta b_linea.dat\r\n"
              "R\tX_linea.txt.tmp4294967295-4294967295\tX_linea.txt\r\nfine\r\n");
    EXPECT_EQ(leggi_registro(testo_registro(voci)), voci);
    EXPECT_EQ(leggi_registro(testo_registro({})), std::vector<voce_registro>{});
}

} // namespace
} // namespace corvenna
