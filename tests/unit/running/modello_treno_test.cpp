// The train model read from JSON: every field checked and a bad one named; the named models.

#include "running/modello_treno.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

constexpr const char* modello_valido = R"({
  "nome": "prova",
  "massa_t": 400,
  "lunghezza_m": 250,
  "masse_rotanti": 0.06,
  "davis": {"a_N": 5000, "b_N_s_m": 60, "c_N_s2_m2": 7},
  "trazione": [[0, 200], [60, 180], [160, 70]],
  "velocita_massima_kmh": 160,
  "frenatura_servizio_ms2": 0.5
})";

TEST(ModelloTreno, ReadsEveryFieldAndTakesTheDefaults) {
    const modello_letto l = leggi_modello_treno(modello_valido);
    ASSERT_TRUE(l.modello) << l.errore;
    const modello_treno& m = *l.modello;
    EXPECT_EQ(m.nome, "prova");
    EXPECT_EQ(m.massa_t, 400);
    EXPECT_EQ(m.davis_c_N_s2_m2, 7);
    ASSERT_EQ(m.trazione.size(), 3u);
    EXPECT_FALSE(m.frenatura_emergenza_ms2);
    EXPECT_EQ(m.tempo_reazione_s, 3);
    // Linear between points, flat past the last.
    EXPECT_NEAR(forza_trazione_N(m, 30 / 3.6), 190e3, 1e-6);
    EXPECT_NEAR(forza_trazione_N(m, 200 / 3.6), 70e3, 1e-6);
    // What the model writes reads back as the same model.
    const modello_letto riletto = leggi_modello_treno(modello_in_json(m));
    ASSERT_TRUE(riletto.modello) << riletto.errore;
    EXPECT_EQ(*riletto.modello, m);
}

TEST(ModelloTreno, RefusesABadFieldNamingIt) {
    struct caso {
        std::string da, a, errore;
    };
    const caso casi[] = {
        {"\"massa_t\": 400", "\"massa_t\": -1", "massa_t deve essere un numero maggiore di 0"},
        {"\"massa_t\": 400", "\"massa_t\": \"molta\"", "massa_t deve essere"},
        {"\"massa_t\": 400,", "", "manca il campo massa_t"},
        {"\"c_N_s2_m2\": 7", "\"c\": 7", "campo sconosciuto davis.c"},
        {"[60, 180]", "[60]", "trazione[1] deve essere una coppia [km/h, kN]"},
        {"[60, 180]", "[0, 180]", "trazione[1]: le velocita' dei punti devono crescere"},
        {"\"nome\"", "\"colore\"", "campo sconosciuto colore"},
        {"0.5\n}", "0.5,\n  \"tempo_reazione_s\": -2\n}", "tempo_reazione_s deve essere"},
        {"{", "[", "il file non e' JSON"},
    };
    for (const caso& c : casi) {
        std::string testo = modello_valido;
        testo.replace(testo.find(c.da), c.da.size(), c.a);
        const modello_letto l = leggi_modello_treno(testo);
        EXPECT_FALSE(l.modello) << c.a;
        EXPECT_EQ(l.errore.substr(0, c.errore.size()), c.errore) << c.a << ": " << l.errore;
    }
}

TEST(ModelloTreno, LocomotiveModelIsSizedFromTheCoaches) {
    costruzione c;
    c.voci[voce_percorso].posizione = 12;
    const modello_treno m = *modello_di_nome("locomotiva", c);
    EXPECT_EQ(m.massa_t, 80 + 12 * 40);
    EXPECT_NEAR(m.lunghezza_m, 20 + 12 * 26.4, 1e-9);
    EXPECT_EQ(modello_predefinito(c), m);
    EXPECT_FALSE(modello_di_nome("tram", c));
    for (const std::string_view nome : nomi_modelli())
        EXPECT_TRUE(leggi_modello_treno(modello_in_json(*modello_di_nome(nome, c))).modello)
            << nome;
}

} // namespace
} // namespace corvenna
