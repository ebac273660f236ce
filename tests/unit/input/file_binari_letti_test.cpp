// The reader against the writers: a compiled model written and read back is the same model,
// field by field and element by element, and writing what was read gives the same bytes.

#include "input/errore_lettura.hpp"
#include "input/file_binari_letti.hpp"
#include "output/file_binari.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

namespace corvenna {
namespace {

struct file_scritti {
    std::string planimetria;
    std::string voci;
    std::string celle;
};

file_scritti scrivi(const costruzione& c) {
    std::ostringstream p(std::ios::binary), v(std::ios::binary), k(std::ios::binary);
    scrivi_planimetria(p, c);
    scrivi_voci(v, c);
    scrivi_celle(k, c);
    return {p.str(), v.str(), k.str()};
}

costruzione rileggi(const file_scritti& f, bool con_planimetria) {
    std::optional<contenuto_file> planimetria;
    if (con_planimetria)
        planimetria = contenuto_file{"Corvenna_linea.dat", f.planimetria};
    return leggi_scenario({"Corvenna_7381.sim", f.voci}, {"Corvenna_7381.dat", f.celle},
                          planimetria);
}

// Every element: the same state and the same bits (so -0.0 is not 0.0).
void confronta_asse(const asse_planimetria& letto, const asse_planimetria& scritto, int asse) {
    ASSERT_EQ(letto.size(), scritto.size()) << "axis " << asse;
    for (std::size_t m = 0; m < letto.size(); ++m) {
        ASSERT_EQ(letto.tipo(m), scritto.tipo(m)) << "axis " << asse << " metre " << m;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(letto.numero(m)),
                  std::bit_cast<std::uint64_t>(scritto.numero(m)))
            << "axis " << asse << " metre " << m;
    }
}

// What the files hold of the model: the three tables, the identity and the dimensions.
void confronta(const costruzione& letto, const costruzione& scritto) {
    EXPECT_EQ(letto.nome_scenario, scritto.nome_scenario);
    EXPECT_EQ(letto.numero_treno, scritto.numero_treno);
    EXPECT_EQ(letto.lunghezza_totale, scritto.lunghezza_totale);
    EXPECT_EQ(letto.ultima_cella, scritto.ultima_cella);
    EXPECT_EQ(letto.genera_planimetria, scritto.genera_planimetria);
    for (std::size_t i = 0; i < scritto.voci.size(); ++i)
        EXPECT_TRUE(letto.voci[i] == scritto.voci[i]) << "item " << i;
    ASSERT_EQ(letto.celle.size(), scritto.celle.size());
    for (std::size_t k = 0; k < scritto.celle.size(); ++k)
        ASSERT_TRUE(letto.celle[k] == scritto.celle[k]) << "cell " << k;
    for (int asse = asse_x; asse <= asse_y; ++asse)
        confronta_asse(letto.planimetria[asse], scritto.planimetria[asse], asse);
}

void andata_e_ritorno(const costruzione& c) {
    const file_scritti f = scrivi(c);
    const costruzione letto = rileggi(f, c.genera_planimetria != 0);
    confronta(letto, c);
    const file_scritti di_nuovo = scrivi(letto);
    EXPECT_TRUE(di_nuovo.voci == f.voci);
    EXPECT_TRUE(di_nuovo.celle == f.celle);
    EXPECT_TRUE(di_nuovo.planimetria == f.planimetria);
}

TEST(LetturaFileBinari, BuiltInScenarioReadsBackAsWrittenAndWritesTheSameBytes) {
    andata_e_ritorno(prova::scenario_incorporato());
}

TEST(LetturaFileBinari, MillionMetreLineReadsBackAsWrittenAndWritesTheSameBytes) {
    const costruzione& c = prova::scenario_1000km();
    ASSERT_EQ(c.voci[voce_percorso].fine, 1000000);
    andata_e_ritorno(c);
}

// The reader keeps each element's own state wherever it stands, not the compile's usual layout.
TEST(LetturaFileBinari, EveryElementStateSurvivesAnywhereInThePlanView) {
    costruzione c = prova::scenario_incorporato();
    c.planimetria[asse_x][500] = std::int16_t{-7};
    c.planimetria[asse_y][501] = valore_planimetria{};
    c.planimetria[asse_x][502] = -0.0;
    c.planimetria[asse_y][94999] = 3.25;
    c.planimetria[asse_x][95000] = std::int16_t{32767};
    andata_e_ritorno(c);
}

TEST(LetturaFileBinari, ScenarioWithoutPlanViewReadsWithAnEmptyOne) {
    const costruzione c = prova::compila_scenario(prova::testo_righe(righe_linea),
                                                  prova::testo_righe(righe_treno), 0);
    ASSERT_TRUE(c.planimetria[asse_x].empty());
    andata_e_ritorno(c);
}

// Where item 84's route length lies in the item file of `c`: 84 records of 34 bytes plus their
// names, then `tipo` and `inizio`.
std::size_t byte_lunghezza_percorso(const costruzione& c) {
    std::size_t o = 0;
    for (int i = 0; i < voce_percorso; ++i)
        o += 34 + c.voci[i].nome.size();
    return o + 5;
}

TEST(LetturaFileBinari, RouteLengthTheCompileRefusesIsRefused) {
    for (const std::int32_t lunghezza : {-1, 1000001}) {
        costruzione c = prova::scenario_incorporato();
        c.voci[voce_percorso].fine = lunghezza;
        const file_scritti f = scrivi(c);
        costruzione letto;
        try {
            leggi_voci({"S.sim", f.voci}, letto);
            ADD_FAILURE() << "route length " << lunghezza << " was accepted";
        } catch (const errore_lettura& e) {
            EXPECT_EQ(std::string(e.what()),
                      "S.sim: byte " + std::to_string(byte_lunghezza_percorso(c)) +
                          ": attesa una lunghezza del percorso da 0 a 1000000 m nel campo fine "
                          "della voce 84, trovata " +
                          std::to_string(lunghezza));
        }
    }
}

// Dimensions no item file gives, with a few bytes: the error comes before any allocation (under
// AddressSanitizer a multi-gigabyte one would end the test).
TEST(LetturaFileBinari, HugeDimensionsWithFewBytesAllocateNothing) {
    costruzione c;
    c.lunghezza_totale = INT32_MAX;
    c.ultima_cella = INT32_MAX;
    const std::string dieci(10, '\0');
    try {
        leggi_celle({"K.dat", dieci}, c);
        ADD_FAILURE() << "cells accepted";
    } catch (const errore_lettura& e) {
        EXPECT_EQ(std::string(e.what()),
                  "K.dat: byte 0: attesi 15 byte per la cella 0, ne restano 10");
    }
    try {
        leggi_planimetria({"P.dat", std::string("\x02\x00\x00\x00", 4)}, c);
        ADD_FAILURE() << "plan view accepted";
    } catch (const errore_lettura& e) {
        EXPECT_EQ(std::string(e.what()),
                  "P.dat: byte 4: attesi 2 byte per l'etichetta di x del metro 1, ne restano 0");
    }
    EXPECT_TRUE(c.celle.empty());
    EXPECT_TRUE(c.planimetria[asse_x].empty());
}

} // namespace
} // namespace corvenna
