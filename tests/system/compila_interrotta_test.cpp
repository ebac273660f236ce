// `scenario compila` interrupted at each of its file system calls in turn: killed just before
// the call, or the call failing with a full disk. Once any command has read the directory, its
// three binary files and the driver's three documents are the whole earlier scenario or the
// whole new one.
//
// The sweep drives the tool with strace (Debian package strace); without it, it is skipped.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

const std::vector<std::string> file_compilati = {"Corvenna_linea.dat",
                                                 "Corvenna_7381.sim",
                                                 "Corvenna_7381.dat",
                                                 "Corvenna_7381_scheda_treno.txt",
                                                 "Corvenna_7381_rallentamenti.txt",
                                                 "Corvenna_7381_note.txt"};

// `testo` with `prima` replaced by `dopo`; the test stops when `prima` is not there.
std::string sostituito(std::string testo, const std::string& prima, const std::string& dopo) {
    const std::size_t dove = testo.find(prima);
    EXPECT_NE(dove, std::string::npos) << prima;
    if (dove != std::string::npos)
        testo.replace(dove, prima.size(), dopo);
    return testo;
}

std::map<std::string, std::string> compilati_in(const fs::path& cartella) {
    std::map<std::string, std::string> file;
    for (const std::string& nome : file_compilati)
        if (fs::exists(cartella / nome))
            file[nome] = leggi_file(cartella / nome);
    return file;
}

void ripristina(const fs::path& cartella, const std::map<std::string, std::string>& file) {
    fs::remove_all(cartella);
    fs::create_directories(cartella);
    for (const auto& [nome, dati] : file)
        scrivi_file(cartella / nome, dati);
}

TEST(CompilaInterrotta, TheDirectoryHoldsTheWholeEarlierScenarioOrTheWholeNewOne) {
    const std::string strace = cerca_programma("strace");
    if (strace.empty())
        GTEST_SKIP() << "strace is not installed (Debian package strace): the sweep injects its "
                        "kills and failures with it";
    const cartella_temporanea radice;
    const fs::path lavoro = radice.percorso();
    const fs::path uscita = lavoro / "uscita";
    ASSERT_EQ(esegui_strumento(lavoro, {"esporta", "modello"}).stato, 0);
    const std::vector<std::string> compila = {"compila", "modello/Corvenna_linea.txt",
                                              "modello/Corvenna_7381-.txt", "-o", "uscita"};

    // The new scenario, and an earlier one of the same names from a line 50 m longer and a
    // train with a slowdown: every file differs.
    ASSERT_EQ(esegui_strumento(lavoro, compila).stato, 0);
    const auto nuovo = compilati_in(uscita);
    ASSERT_EQ(nuovo.size(), file_compilati.size());
    const fs::path linea = lavoro / "modello" / "Corvenna_linea.txt";
    const fs::path treno = lavoro / "modello" / "Corvenna_7381-.txt";
    const std::string linea_originale = leggi_file(linea);
    const std::string treno_originale = leggi_file(treno);
    scrivi_file(linea, sostituito(linea_originale, "lunghezza percorso,  88000",
                                  "lunghezza percorso,  88050"));
    scrivi_file(treno, sostituito(treno_originale, "[rallentamenti]\r\n",
                                  "[rallentamenti]\r\nrallentamento,  20000,  60,  500,  1,  0,  "
                                  "0\r\n"));
    ASSERT_FALSE(HasFailure());
    fs::remove_all(uscita);
    ASSERT_EQ(esegui_strumento(lavoro, compila).stato, 0);
    const auto prima = compilati_in(uscita);
    ASSERT_EQ(prima.size(), file_compilati.size());
    for (const std::string& nome : file_compilati)
        ASSERT_NE(prima.at(nome), nuovo.at(nome)) << nome;
    scrivi_file(linea, linea_originale);
    scrivi_file(treno, treno_originale);

    const std::vector<std::string> ambiente = {"/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0"};
    std::vector<std::string> traccia = ambiente;
    traccia.insert(traccia.end(), {strace, "-y", "-o", (lavoro / "traccia").string(), "-e",
                                   std::string("trace=") + chiamate_di_file});
    ripristina(uscita, prima);
    ASSERT_EQ(esegui_strumento(lavoro, compila, {}, traccia).stato, 0);
    const std::vector<chiamata> chiamate = chiamate_in_traccia(lavoro / "traccia", uscita, false);
    ASSERT_GT(chiamate.size(), 10U);

    for (const char* iniezione : {":error=EIO:signal=SIGKILL:when=", ":error=ENOSPC:when="}) {
        for (const chiamata& c : chiamate) {
            SCOPED_TRACE(std::string(iniezione) + " " + c.traccia);
            ripristina(uscita, prima);
            std::vector<std::string> prefisso = ambiente;
            prefisso.insert(prefisso.end(),
                            {strace, "-o", "/dev/null", "-e",
                             "inject=" + c.nome + iniezione + std::to_string(c.occorrenza)});
            const esito_strumento esito = esegui_strumento(lavoro, compila, {}, prefisso);
            EXPECT_TRUE(esito.stato == 0 || esito.stato == 2 || esito.stato == 128 + SIGKILL)
                << esito.stato << " " << esito.errori;

            const esito_strumento lettura = esegui_strumento(lavoro, {"ispeziona", "uscita"});
            EXPECT_EQ(lettura.stato, 0) << lettura.errori;
            const auto dopo = compilati_in(uscita);
            EXPECT_TRUE(dopo == prima || dopo == nuovo) << "a mix of two scenarios";
            if (esito.stato == 0) {
                EXPECT_EQ(dopo, nuovo);
            }
            if (HasFailure())
                break;
        }
    }
}

} // namespace
} // namespace corvenna
