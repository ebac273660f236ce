#include "platform/file_regolare.hpp"

#include "base/errore_file.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <string>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using prova::cartella_temporanea;
using prova::scrivi_file;

constexpr std::size_t senza_limite = std::numeric_limits<std::size_t>::max();

// The reason the read of `percorso` gives, or "read" when it succeeds.
std::string motivo_lettura(const fs::path& percorso) {
    try {
        leggi_file_regolare(percorso, senza_limite);
    } catch (const errore_file& e) {
        EXPECT_EQ(e.file(), percorso);
        return e.motivo();
    }
    return "read";
}

TEST(FileRegolare, ReadsARegularFileUpToTheLimit) {
    const cartella_temporanea d;
    const fs::path file = d.percorso() / "dati.sim";
    scrivi_file(file, "0123456789");
    EXPECT_EQ(leggi_file_regolare(file, senza_limite), "0123456789");
    EXPECT_EQ(leggi_file_regolare(file, 4), "0123");
    EXPECT_EQ(tipo_di_voce(file), tipo_voce::regolare);
}

// A FIFO with no writer would block an ordinary open forever: this one returns at once.
TEST(FileRegolare, AnythingButARegularFileIsRefusedAtOnce) {
    const cartella_temporanea d;
    const fs::path fifo = d.percorso() / "fifo.sim";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto inizio = std::chrono::steady_clock::now();
    EXPECT_EQ(motivo_lettura(fifo), "non e' un file regolare: e' una FIFO");
    EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(5));
    EXPECT_EQ(tipo_di_voce(fifo), tipo_voce::fifo);

    EXPECT_EQ(motivo_lettura("/dev/null"), "non e' un file regolare: e' un dispositivo");
    EXPECT_EQ(motivo_lettura(d.percorso()), "e' una cartella");
    EXPECT_EQ(motivo_lettura(d.percorso() / "manca"), "file o cartella inesistente");

    const fs::path presa = d.percorso() / "presa";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    ASSERT_LT(presa.native().size(), sizeof indirizzo.sun_path);
    std::strcpy(indirizzo.sun_path, presa.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo), 0);
    EXPECT_EQ(motivo_lettura(presa), "non e' un file regolare: e' un socket");
    EXPECT_EQ(tipo_di_voce(presa), tipo_voce::socket);
    ::close(s);
}

TEST(FileRegolare, ALinkIsSeenAsALinkAndFollowedForItsIdentity) {
    const cartella_temporanea d;
    const fs::path file = d.percorso() / "dati.sim";
    scrivi_file(file, "x");
    fs::create_symlink(file, d.percorso() / "collegamento");
    fs::create_symlink(d.percorso() / "manca", d.percorso() / "pendente");
    fs::create_hard_link(file, d.percorso() / "altro_nome");
    scrivi_file(d.percorso() / "altro_file", "x");

    EXPECT_EQ(tipo_di_voce(d.percorso() / "collegamento"), tipo_voce::collegamento);
    EXPECT_EQ(tipo_di_voce(d.percorso() / "pendente"), tipo_voce::collegamento);
    EXPECT_EQ(tipo_di_voce(d.percorso() / "manca"), tipo_voce::inesistente);
    EXPECT_EQ(tipo_di_voce(d.percorso()), tipo_voce::cartella);

    ASSERT_TRUE(identita_di(file));
    EXPECT_EQ(identita_di(d.percorso() / "collegamento"), identita_di(file));
    EXPECT_EQ(identita_di(d.percorso() / "altro_nome"), identita_di(file));
    EXPECT_NE(identita_di(d.percorso() / "altro_file"), identita_di(file));
    EXPECT_FALSE(identita_di(d.percorso() / "pendente"));
}

} // namespace
} // namespace corvenna
