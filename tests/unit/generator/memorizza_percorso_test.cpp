#include "generator/memorizza_percorso.hpp"

#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"
#include "platform/cartella_bloccata.hpp"
#include "platform/piattaforma.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <set>

namespace corvenna {
namespace {

using prova::cartella_temporanea;
using prova::leggi_file;
using prova::scrivi_file;

using prova::file_binari;

std::set<std::string> nomi_in(const std::filesystem::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : std::filesystem::directory_iterator(cartella))
        nomi.insert(voce.path().filename().string());
    return nomi;
}

// The build into the directory of `d`, held for the call.
int costruisci_in(costruzione& c, std::int32_t j, const cartella_temporanea& d) {
    cartella_bloccata cartella(d.percorso());
    return memorizza_percorso(c, j, cartella);
}

costruzione nuova_costruzione() {
    costruzione c;
    c.nome_scenario = "Corvenna";
    c.numero_treno = "7381";
    return c;
}

void scrivi_descrizioni(const cartella_temporanea& d, const std::string& righe_linea) {
    scrivi_file(d.percorso() / "Corvenna_linea.txt",
                "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n" + righe_linea +
                    "[fine]\r\n");
    scrivi_file(d.percorso() / "Corvenna_7381-.txt",
                "[generale]\r\nvelocita,  0,  75\r\n[fine]\r\n");
}

TEST(MemorizzaPercorso, WritesTheThreeBinaryFilesAndDeletesTheDescriptions) {
    cartella_temporanea d;
    scrivi_descrizioni(d, "pendenza,  0,  0\r\n");
    costruzione c = nuova_costruzione();
    ASSERT_EQ(costruisci_in(c, 1, d), 0);
    EXPECT_EQ(c.codice_errore, 0);
    EXPECT_EQ(
        nomi_in(d.percorso()),
        (std::set<std::string>{"Corvenna_linea.dat", "Corvenna_7381.sim", "Corvenna_7381.dat"}));
    EXPECT_EQ(leggi_file(d.percorso() / "Corvenna_linea.dat").size(), 20u * 17000 - 36);
    EXPECT_EQ(leggi_file(d.percorso() / "Corvenna_7381.dat").size(), 15u * 341);
}

TEST(MemorizzaPercorso, WithoutPlanViewTheEarlierPlanViewFileStays) {
    cartella_temporanea d;
    scrivi_descrizioni(d, "");
    scrivi_file(d.percorso() / "Corvenna_linea.dat", "vecchio");
    costruzione c = nuova_costruzione();
    ASSERT_EQ(costruisci_in(c, 0, d), 0);
    EXPECT_EQ(leggi_file(d.percorso() / "Corvenna_linea.dat"), "vecchio");
    EXPECT_TRUE(std::filesystem::exists(d.percorso() / "Corvenna_7381.sim"));
}

TEST(MemorizzaPercorso, FailedHeaderCheckWritesNoBinaryFile) {
    cartella_temporanea d;
    // A route sign at 0 m lands on cell 1, whose first value the header stamp needs free.
    scrivi_descrizioni(d, "cartello_indicatore,  0,  (x)\r\n");
    for (const std::string& nome : file_binari)
        scrivi_file(d.percorso() / nome, std::string("vecchio ") + nome);
    costruzione c = nuova_costruzione();
    EXPECT_EQ(costruisci_in(c, 1, d), 1250);
    for (const std::string& nome : file_binari)
        EXPECT_EQ(leggi_file(d.percorso() / nome), std::string("vecchio ") + nome);
    EXPECT_FALSE(std::filesystem::exists(d.percorso() / "Corvenna_linea.txt"));
    EXPECT_FALSE(std::filesystem::exists(d.percorso() / "Corvenna_7381-.txt"));
}

TEST(MemorizzaPercorso, CompileWithoutCellsWritesNoBinaryFile) {
    cartella_temporanea d;
    scrivi_file(d.percorso() / "Corvenna_linea.txt", "[generale]\r\nsfondo uno,  1\r\n[fine]\r\n");
    scrivi_file(d.percorso() / "Corvenna_7381-.txt", "[generale]\r\n[fine]\r\n");
    costruzione c = nuova_costruzione();
    EXPECT_EQ(costruisci_in(c, 1, d), 0);
    EXPECT_EQ(c.codice_errore, codice::lettura_fallita);
    EXPECT_FALSE(c.celle_create());
    EXPECT_TRUE(nomi_in(d.percorso()).empty());
}

TEST(MemorizzaPercorsoDeathTest, ErrorBoxShowsTheNumberAndEndsTheProgram) {
    EXPECT_EXIT(piattaforma::errore("1250"), testing::ExitedWithCode(1), "^ Errore n\\. 1250\n$");
}

} // namespace
} // namespace corvenna
