#include "importer/descrizioni_importate.hpp"

#include "importer/nome_stazione.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "unit/importer/geometria_semplice.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// A straight path north along 9.000 E, one point every 0.0009 degrees (100.08 m), `punti`
// points.
mappa_importata retta(std::size_t punti) {
    mappa_importata m;
    for (std::size_t i = 0; i < punti; ++i) {
        m.percorso.push_back({9.0, 45.0 + 0.0009 * static_cast<double>(i), std::nullopt});
        m.elementi_punti.push_back("punto " + std::to_string(i));
    }
    return m;
}

stazione_mappa stazione(const std::string& nome, std::size_t punto, const std::string& elemento) {
    return {nome, 9.0, 45.0 + 0.0009 * static_cast<double>(punto), std::nullopt, elemento};
}

bool compila_pulito(const descrizioni_importate& d) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = d.linea;
    sorgente.testi[descrizione::treno] = d.treno;
    const scenario_costruito s = costruisci_scenario(sorgente, {"Prova", "1234"}, 1);
    for (const diagnostica& x : s.diagnostiche)
        ADD_FAILURE() << x.riga << ": " << x.messaggio;
    return s.riuscito() && s.diagnostiche.empty();
}

bool ha_nota(const descrizioni_importate& d, const std::string& elemento,
             const std::string& parte) {
    for (const nota_importazione& n : d.note)
        if (n.elemento == elemento && n.messaggio.find(parte) != std::string::npos)
            return true;
    return false;
}

TEST(DescrizioniImportate, LevelCrossingsOnATakenCellMoveToTheNearestFreeCellAndSaySo) {
    mappa_importata m = retta(60);
    // Castelverde at 2000 m: its 300 m platform ends at 2150 m and its stop cell is the cell a
    // sign at 2050 m would take. Two crossings at 2000 m: the first stays, the second finds
    // 2050 m taken by the stop and goes to 1950 m; the one at 2100 m stays.
    m.stazioni = {stazione("Altavilla", 0, "nodo 1"), stazione("Castelverde", 20, "nodo 2"),
                  stazione("Borgofranco", 59, "nodo 3")};
    m.passaggi_livello = {{20, "nodo 10"}, {20, "nodo 11"}, {21, "nodo 12"}};
    const descrizioni_importate d =
        componi_descrizioni(m, prova::geometria_semplice(m.percorso), {});
    EXPECT_EQ(d.passaggi_livello, 3u);
    EXPECT_FALSE(ha_nota(d, "nodo 10", "spostato"));
    EXPECT_TRUE(ha_nota(d, "nodo 11", "spostato da 2000 m a 1950 m"));
    EXPECT_FALSE(ha_nota(d, "nodo 12", "spostato"));
    EXPECT_NE(d.linea.find("cartello_indicatore,  1950,  (   P.L.  )(km 1+950)\r\n"
                           "cartello_indicatore,  2000,"),
              std::string::npos);
    EXPECT_TRUE(compila_pulito(d));
}

TEST(DescrizioniImportate, StationsTooCloseAreDroppedKeepingTheEndsAndSaidSo) {
    mappa_importata m = retta(100);
    m.stazioni = {stazione("Altavilla", 0, "nodo 1"), stazione("Borgofranco", 5, "nodo 2"),
                  stazione("Castelverde", 50, "nodo 3"), stazione("Dorna", 97, "nodo 4"),
                  stazione("Erbusco", 99, "nodo 5")};
    const descrizioni_importate d =
        componi_descrizioni(m, prova::geometria_semplice(m.percorso), {});
    EXPECT_EQ(d.stazioni, 3u);
    EXPECT_TRUE(ha_nota(d, "nodo 2", "meno di 350 m"));
    EXPECT_TRUE(ha_nota(d, "nodo 4", "meno di 350 m"));
    EXPECT_NE(d.treno.find("ERBUSCO"), std::string::npos);
    EXPECT_TRUE(compila_pulito(d));
}

TEST(DescrizioniImportate, AtMost78StationsAndSignsTogether) {
    mappa_importata m = retta(1000);
    for (std::size_t i = 0; i < 1000; i += 10) {
        const std::string n = std::to_string(i);
        m.stazioni.push_back(stazione("S" + n, i, "nodo " + n));
    }
    for (std::size_t i = 5; i < 1000; i += 10)
        m.passaggi_livello.push_back({i, "pl " + std::to_string(i)});
    const descrizioni_importate d =
        componi_descrizioni(m, prova::geometria_semplice(m.percorso), {});
    EXPECT_EQ(d.stazioni, 78u);
    EXPECT_EQ(d.passaggi_livello, 0u);
    EXPECT_NE(d.treno.find("S990"), std::string::npos);
    EXPECT_TRUE(ha_nota(d, "pl 5", "al piu' 78"));
    EXPECT_TRUE(compila_pulito(d));
}

TEST(DescrizioniImportate, SpeedsAreMultiplesOf5FromMetre0AndStationsFarFromThePathAreDropped) {
    mappa_importata m = retta(50);
    m.velocita = {{10, 87, "via 1"}, {20, 0, "via 2"}};
    m.stazioni = {{"Lontana", 9.1, 45.0, std::nullopt, "nodo 9"}};
    m.gallerie = {{5, 8, "via 3"}, {9, 12, "via 4"}};
    const descrizioni_importate d =
        componi_descrizioni(m, prova::geometria_semplice(m.percorso), {});
    EXPECT_NE(d.treno.find("velocita,  0,  100\r\nvelocita,  1000,  85\r\n"), std::string::npos);
    EXPECT_TRUE(ha_nota(d, "via 1", "portato a 85 km/h"));
    EXPECT_TRUE(ha_nota(d, "via 2", "ignorato"));
    EXPECT_TRUE(ha_nota(d, "nodo 9", "dal percorso: ignorata"));
    EXPECT_EQ(d.gallerie, 1u);
    EXPECT_TRUE(ha_nota(d, "via 4", "unita alla precedente"));
    EXPECT_TRUE(compila_pulito(d));
}

TEST(NomeStazione, CapitalsInWindows1252AndOneTextField) {
    struct caso {
        std::string utf8, atteso;
        bool cambiato;
    };
    const std::vector<caso> casi{
        {"Città di Castello", "CITT\xC0 DI CASTELLO", false},
        {"  San Vito, Alto \"x\" ", "SAN VITO  ALTO  X", true},
        {"Łódź",
         "?\xD3"
         "D?",
         true},
        {"\x1b[31m", "[31M", true},
        {"", "RISERVA", true},
    };
    for (const caso& c : casi) {
        const nome_convertito n = nome_stazione(c.utf8, "RISERVA");
        EXPECT_EQ(n.testo, c.atteso) << c.utf8;
        EXPECT_EQ(!n.cambiamenti.empty(), c.cambiato) << c.utf8;
    }
}

} // namespace
} // namespace corvenna
