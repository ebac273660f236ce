// The replacement by a temporary over primitives that fail at a chosen step: a directory held in
// memory that also checks, at every call, what a signal or a power cut at that moment would find.

#include "platform/primitive_file.hpp"

#include "base/errore_file.hpp"
#include "platform/nomi_temporanei.hpp"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;

constexpr int codice_guasto = 28;
constexpr int codice_nome_preso = 17;

class primitive_finte final : public primitive_file {
  public:
    // The directory: each entry's name and content.
    std::map<std::string, std::string> voci;
    // The step (a creation, write, flush, close or rename, counted from 1) that fails; 0: none.
    int passo_guasto = 0;
    int passi = 0;
    // What a signal or a power cut would have found wrong, at the call where it was seen.
    std::vector<std::string> difetti;
    // The files still open.
    std::map<maniglia_file, std::string> aperti;

    std::intptr_t maniglia() const override { return -1; }
    fs::path nome_di_sistema(std::string_view nome) const override { return fs::path(nome); }
    std::string testo_del_nome(const fs::path& nome) const override { return nome.string(); }
    std::string motivo(int codice) const override { return "guasto " + std::to_string(codice); }
    bool non_trovato(int) const override { return false; }
    bool da_ritentare(int codice) const override { return codice == codice_nome_preso; }
    unsigned long processo() const override { return 4242; }

    int crea_esclusivo(const fs::path& nome, maniglia_file& file) override {
        verifica("crea_esclusivo");
        if (guasto())
            return codice_guasto;
        if (voci.contains(nome.string()))
            return codice_nome_preso;
        voci[nome.string()];
        svuotato_[nome.string()] = true;
        file = ++ultima_maniglia_;
        aperti[file] = nome.string();
        return 0;
    }
    int scrivi(maniglia_file file, const char* dati, std::size_t quanti) override {
        verifica("scrivi");
        if (guasto())
            return codice_guasto;
        voci[aperti.at(file)].append(dati, quanti);
        svuotato_[aperti.at(file)] = false;
        return 0;
    }
    int svuota(maniglia_file file) override {
        verifica("svuota");
        if (guasto())
            return codice_guasto;
        svuotato_[aperti.at(file)] = true;
        return 0;
    }
    // Closed even when the close reports a failure, as the systems do.
    int chiudi(maniglia_file file) override {
        verifica("chiudi");
        aperti.erase(file);
        return guasto() ? codice_guasto : 0;
    }
    int rinomina(const fs::path& da, const fs::path& a, persistenza durata) override {
        verifica("rinomina");
        if (guasto())
            return codice_guasto;
        for (const auto& [file, nome] : aperti)
            if (nome == da.string())
                difetti.push_back("rinomina: the file is still open");
        if (durata == persistenza::durevole && !svuotato_.at(da.string()))
            difetti.push_back("rinomina: the content is not on the storage yet");
        voci[a.string()] = voci.at(da.string());
        voci.erase(da.string());
        return 0;
    }
    // The clean-up never fails here: a failing one may leave a temporary, for the next run.
    int rimuovi(const fs::path& nome) override {
        verifica("rimuovi");
        voci.erase(nome.string());
        return 0;
    }

    void trattieni_segnali() override { trattenuti_ = true; }
    void rilascia_segnali() override {
        trattenuti_ = false;
        verifica("rilascia_segnali");
    }
    void segna_temporaneo(const fs::path& nome) override {
        if (!trattenuti_)
            difetti.push_back("segna_temporaneo: the signals pass");
        segnato_ = nome.string();
    }
    void dimentica_temporaneo() override {
        if (!trattenuti_)
            difetti.push_back("dimentica_temporaneo: the signals pass");
        segnato_.clear();
    }

    // Not used by a replacement.
    int apri_in_lettura(const fs::path&, maniglia_file&) override { return codice_guasto; }
    int leggi(maniglia_file, char*, std::size_t, std::size_t&) override { return codice_guasto; }
    int cerca(const fs::path&) override { return codice_guasto; }
    std::vector<fs::path> elenca() override { return {}; }
    int sincronizza_cartella(const fs::path&) override { return codice_guasto; }
    void prepara_segnali() override {}

  private:
    bool guasto() { return ++passi == passo_guasto; }

    // Where the signals pass, a signal now would remove the recorded temporary: it must be the
    // only temporary there, and it must exist.
    void verifica(const std::string& chiamata) {
        if (trattenuti_)
            return;
        for (const auto& [nome, contenuto] : voci)
            if (temporaneo_di(nome, "a.dat") && nome != segnato_)
                difetti.push_back(chiamata + ": " + nome + " is not the recorded temporary");
        if (!segnato_.empty() && !voci.contains(segnato_))
            difetti.push_back(chiamata + ": the recorded temporary " + segnato_ + " is missing");
    }

    std::map<std::string, bool> svuotato_;
    bool trattenuti_ = false;
    std::string segnato_;
    maniglia_file ultima_maniglia_ = 0;
};

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
