// The locked directory's file operations: replacement, the names of its temporaries, what
// interrupted runs left, and reading and deleting relative to the directory.

#include "platform/cartella_bloccata.hpp"

#include "base/errore_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

std::set<std::string> nomi_in(const fs::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : fs::directory_iterator(cartella))
        nomi.insert(voce.path().filename().string());
    return nomi;
}

scrittura_file scrivi_testo(const std::string& testo) {
    return [testo](std::ostream& uscita) { uscita << testo; };
}

// The name the next replacement of `nome` in a fresh locked directory of this process takes.
std::string primo_temporaneo(const std::string& nome) {
    return nome_temporaneo(nome, static_cast<unsigned long>(::getpid()), 0);
}

// Something already at the name of the temporary a replacement would take first.
struct caso_nome_preso {
    const char* nome;
    void (*prepara)(const fs::path& cartella, const fs::path& fuori);
};

void PrintTo(const caso_nome_preso& caso, std::ostream* uscita) {
    *uscita << caso.nome;
}

class NomePreso : public ::testing::TestWithParam<caso_nome_preso> {};

// The replacement takes another name: nothing at the taken one is opened, followed or changed.
TEST_P(NomePreso, ReplacementNeverOpensAnExistingNameNorFollowsALink) {
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso() / "cartella";
    const fs::path fuori = radice.percorso() / "fuori";
    fs::create_directories(cartella);
    fs::create_directories(fuori);
    scrivi_file(fuori / "bersaglio", "intatto");
    GetParam().prepara(cartella, fuori);
    const std::set<std::string> prima = nomi_in(cartella);

    {
        cartella_bloccata uscita(cartella);
        uscita.sostituisci("a.dat", scrivi_testo("nuovo"), persistenza::durevole);
    }

    EXPECT_EQ(leggi_file(cartella / "a.dat"), "nuovo");
    EXPECT_EQ(leggi_file(fuori / "bersaglio"), "intatto");
    EXPECT_EQ(nomi_in(fuori), std::set<std::string>{"bersaglio"});
    std::set<std::string> attesi = prima;
    attesi.insert("a.dat");
    EXPECT_EQ(nomi_in(cartella), attesi);
    const fs::path preso = cartella / primo_temporaneo("a.dat");
    if (fs::is_regular_file(fs::symlink_status(preso))) {
        EXPECT_EQ(leggi_file(preso), "di un altro");
    }
}

INSTANTIATE_TEST_SUITE_P(
    CartellaBloccata, NomePreso,
    ::testing::Values(caso_nome_preso{"LinkToAFile",
                                      [](const fs::path& cartella, const fs::path& fuori) {
                                          fs::create_symlink(fuori / "bersaglio",
                                                             cartella / primo_temporaneo("a.dat"));
                                      }},
                      caso_nome_preso{"LinkToNothing",
                                      [](const fs::path& cartella, const fs::path& fuori) {
                                          fs::create_symlink(fuori / "nuovo",
                                                             cartella / primo_temporaneo("a.dat"));
                                      }},
                      caso_nome_preso{"FileOfAnother",
                                      [](const fs::path& cartella, const fs::path&) {
                                          scrivi_file(cartella / primo_temporaneo("a.dat"),
                                                      "di un altro");
                                      }}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(CartellaBloccata, StaleTemporariesOfTheGivenNamesAreRemovedAndNothingElse) {
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso();
    for (const char* nome : {"a.dat.tmp123-4", "a.dat.tmp1765432100123456789-0", "b.txt.tmp7-8",
                             "a.dat", "a.dat.tmp", "a.dat.tmp12", "a.dat.tmp-1", "a.dat.tmp1-",
                             "a.dat.tmp1-2x", "a.dat.tmpx-2", "c.dat.tmp1-2", "xa.dat.tmp1-2"})
        scrivi_file(cartella / nome, "contenuto");
    fs::create_symlink(cartella / "a.dat", cartella / "a.dat.tmp5-6");
    fs::create_directory(cartella / "b.txt.tmp9-9");

    cartella_bloccata uscita(cartella);
    const std::vector<std::string> nomi = {"a.dat", "b.txt"};
    uscita.rimuovi_temporanei(nomi);

    EXPECT_EQ(nomi_in(cartella),
              (std::set<std::string>{"a.dat", "a.dat.tmp", "a.dat.tmp12", "a.dat.tmp-1",
                                     "a.dat.tmp1-", "a.dat.tmp1-2x", "a.dat.tmpx-2", "c.dat.tmp1-2",
                                     "xa.dat.tmp1-2", "b.txt.tmp9-9"}));
    EXPECT_EQ(leggi_file(cartella / "a.dat"), "contenuto");
}

TEST(NomiTemporanei, ARecordTakesOnlyTemporariesOfTheExactFormRunsWrite) {
    for (const char* voce : {"a.dat.tmp0-0", "a.dat.tmp123-4", "a.dat.tmp4294967295-4294967295"})
        EXPECT_TRUE(temporaneo_creato_di(voce, "a.dat")) << voce;
    for (const char* voce : {"a.dat.tmp01-0", "a.dat.tmp1-00", "a.dat.tmp1-4294967296",
                             "a.dat.tmp99999999999999999999999-0", "a.dat.tmp1-", "a.dat.tmp-1",
                             "a.dat.tmp+1-2", "b.dat.tmp1-2", "a.dat.tmp1-2x"})
        EXPECT_FALSE(temporaneo_creato_di(voce, "a.dat")) << voce;
}

// The record is opened without waiting and never through a link, and read only when it is a
// regular file of the user: anything else stops the directory's opening with the reason, and
// stays where it is.
TEST(CartellaBloccata, ARecordThatIsNotARegularFileOfTheUserIsRefusedAtOnce) {
    struct caso {
        const char* nome;
        void (*prepara)(const fs::path& registro);
        const char* motivo;
    };
    const std::vector<caso> casi = {
        {"fifo", [](const fs::path& r) { ASSERT_EQ(::mkfifo(r.c_str(), 0600), 0); },
         "non e' un file regolare: e' una FIFO"},
        {"cartella", [](const fs::path& r) { fs::create_directory(r); }, "e' una cartella"},
        {"collegamento",
         [](const fs::path& r) {
             scrivi_file(r.parent_path() / "vero", "sostituzione 1\r\nfine\r\n");
             fs::create_symlink("vero", r);
         },
         "non e' un file regolare: e' un collegamento simbolico"},
        {"anello", [](const fs::path& r) { fs::create_symlink(r.filename(), r); },
         "non e' un file regolare: e' un collegamento simbolico"},
        {"collegamento a nulla", [](const fs::path& r) { fs::create_symlink("nessuno", r); },
         "non e' un file regolare: e' un collegamento simbolico"},
        {"altrui",
         [](const fs::path& r) {
             scrivi_file(r, "sostituzione 1\r\nfine\r\n");
             if (::geteuid() == 0) {
                 ASSERT_EQ(::chown(r.c_str(), 65534, 65534), 0);
             }
         },
         "appartiene a un altro utente"},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        if (std::string(c.nome) == "altrui" && ::geteuid() != 0)
            continue;
        cartella_temporanea radice;
        const fs::path registro = radice.percorso() / "sostituzione_in_corso";
        c.prepara(registro);
        const std::set<std::string> prima = nomi_in(radice.percorso());
        try {
            cartella_bloccata cartella(radice.percorso());
            ADD_FAILURE() << "the record was followed";
        } catch (const errore_file& e) {
            EXPECT_EQ(e.file(), registro);
            EXPECT_EQ(e.motivo(), std::string(c.motivo) + ": va esaminato e cancellato a mano");
        }
        EXPECT_EQ(nomi_in(radice.percorso()), prima);
    }
}

TEST(CartellaBloccata, AFailedWriterLeavesTheEarlierFileAndNoTemporary) {
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso();
    scrivi_file(cartella / "a.dat", "precedente");
    cartella_bloccata uscita(cartella);
    try {
        uscita.sostituisci(
            "a.dat",
            [](std::ostream& s) {
                s << std::string(200000, 'x');
                throw std::length_error("troppo lungo");
            },
            persistenza::durevole);
        FAIL() << "the failure of the writer was not reported";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), cartella / "a.dat");
        EXPECT_EQ(e.motivo(), "troppo lungo");
    }
    EXPECT_EQ(nomi_in(cartella), std::set<std::string>{"a.dat"});
    EXPECT_EQ(leggi_file(cartella / "a.dat"), "precedente");
}

// The directory is held by its descriptor: renamed during the run, it is still the one written,
// read and emptied.
TEST(CartellaBloccata, ARenamedDirectoryIsStillTheOneWritten) {
    cartella_temporanea radice;
    const fs::path prima = radice.percorso() / "prima";
    const fs::path dopo = radice.percorso() / "dopo";
    fs::create_directories(prima);
    cartella_bloccata uscita(prima);
    uscita.sostituisci("a.txt", scrivi_testo("testo"), persistenza::provvisoria);
    fs::rename(prima, dopo);
    fs::create_directories(prima);

    uscita.sostituisci("b.dat", scrivi_testo("dati"), persistenza::durevole);
    EXPECT_TRUE(uscita.esiste("a.txt"));
    EXPECT_EQ(uscita.leggi("a.txt"), std::optional<std::string>("testo"));
    uscita.cancella("a.txt");
    uscita.sincronizza();

    EXPECT_EQ(nomi_in(dopo), std::set<std::string>{"b.dat"});
    EXPECT_EQ(leggi_file(dopo / "b.dat"), "dati");
    EXPECT_TRUE(fs::is_empty(prima));
}

TEST(CartellaBloccata, AMissingFileDoesNotExistReadsAsNothingAndDeletesQuietly) {
    cartella_temporanea radice;
    cartella_bloccata uscita(radice.percorso());
    EXPECT_FALSE(uscita.esiste("manca.txt"));
    EXPECT_EQ(uscita.leggi("manca.txt"), std::nullopt);
    EXPECT_NO_THROW(uscita.cancella("manca.txt"));
}

// What the system refuses is reported with the file and the reason.
TEST(CartellaBloccata, FailuresOfTheSystemNameTheFile) {
    cartella_temporanea radice;
    const fs::path cartella = radice.percorso();
    fs::create_directories(cartella / "una_cartella" / "dentro");
    cartella_bloccata uscita(cartella);
    const auto motivo = [&](auto&& operazione) -> std::string {
        try {
            operazione();
        } catch (const errore_file& e) {
            EXPECT_EQ(e.file(), cartella / "una_cartella");
            return e.motivo();
        }
        return "no failure";
    };
    EXPECT_EQ(motivo([&] { uscita.leggi("una_cartella"); }), "e' una cartella");
    EXPECT_EQ(motivo([&] { uscita.cancella("una_cartella"); }), "e' una cartella");
    EXPECT_EQ(motivo([&] {
                  uscita.sostituisci("una_cartella", scrivi_testo("x"), persistenza::durevole);
              }),
              "e' una cartella");
    EXPECT_EQ(nomi_in(cartella), std::set<std::string>{"una_cartella"});
}

TEST(CartellaBloccata, ANameWithADirectoryIsRefused) {
    cartella_temporanea radice;
    cartella_bloccata uscita(radice.percorso());
    for (const std::string nome : {"", ".", "..", "../fuori.txt", "sotto/a.txt"}) {
        try {
            uscita.sostituisci(nome, scrivi_testo("x"), persistenza::durevole);
            ADD_FAILURE() << "'" << nome << "' was accepted";
        } catch (const errore_file& e) {
            EXPECT_EQ(e.motivo(), "nome di file non valido") << nome;
        }
    }
    EXPECT_TRUE(fs::is_empty(radice.percorso()));
}

} // namespace
} // namespace corvenna
