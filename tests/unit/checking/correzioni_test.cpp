#include "checking/controllo_descrizioni.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "support/compila_prova.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A named namespace: the layer's tests are compiled as one unit.
namespace corvenna::prova_correzioni {

using prova::linea;
using prova::testo;
using prova::treno;

struct testi {
    std::string linea;
    std::string treno;
};

struct controllato {
    std::unique_ptr<scenario_costruito> s;
    elenco_diagnostiche diagnostiche;
};

// The two texts as `controlla` sees them: the compile, then the checking pass.
controllato controlla(const testi& t) {
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = t.linea;
    sorgente.testi[descrizione::treno] = t.treno;
    controllato c;
    c.s = std::make_unique<scenario_costruito>(costruisci_scenario(sorgente, {"Prova", "1234"}, 1));
    c.diagnostiche = controlla_descrizioni(t.linea, t.treno, 1, c.s->diagnostiche);
    return c;
}

const diagnostica* trova(const elenco_diagnostiche& elenco, descrizione file, int riga,
                         std::string_view nome) {
    for (const diagnostica& d : elenco)
        if (d.tipo && d.file == file && d.riga == riga && tipo_di(*d.tipo).nome == nome)
            return &d;
    return nullptr;
}

// The text with the fix applied: its columns are bytes of its line, from 1.
testi applica(testi t, const correzione& c) {
    std::string& s = c.file == descrizione::linea ? t.linea : t.treno;
    std::size_t inizio = 0;
    for (int r = 1; r < c.riga; ++r)
        inizio = s.find("\r\n", inizio) + 2;
    const std::size_t fine = s.find("\r\n", inizio);
    EXPECT_LE(c.colonna, c.colonna_fine);
    EXPECT_LE(static_cast<std::size_t>(c.colonna_fine), fine - inizio + 1);
    s.replace(inizio + static_cast<std::size_t>(c.colonna) - 1,
              static_cast<std::size_t>(c.colonna_fine - c.colonna), c.testo);
    return t;
}

struct caso_correlato {
    const char* nome;
    testi t;
    descrizione file;
    int riga;
    // The earlier row the warning names.
    descrizione file_correlato;
    int riga_correlata;
    int colonna_correlata;
    const char* messaggio;
};

TEST(Correzioni, AWarningAboutAnEarlierRowPointsAtThatRow) {
    using D = descrizione;
    const std::string segnale = "segnale,  8800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0";
    const std::vector<caso_correlato> casi{
        {"marcatore-galleria-sostituito",
         {linea({"montagna,  8700,  11050,  11"}, "20000"), treno({segnale})},
         D::treno,
         2,
         D::linea,
         4,
         12,
         "il marcatore di galleria era stato posto dalla riga 4"},
        {"elemento-coperto",
         {linea({}),
          treno({"segnale,  8100,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                 "stazione,  8050,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
                 "A"})},
         D::treno,
         3,
         D::treno,
         2,
         11,
         "l'elemento coperto era stato posto dalla riga 2"},
        {"marcatori-sovrascritti",
         {linea({}), treno({"segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0",
                            "segnale,  3100,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"})},
         D::treno,
         3,
         D::treno,
         2,
         11,
         "il marcatore era stato posto dalla riga 2"},
        {"montagne-sovrapposte",
         {linea({"montagna,  1000,  3000,  1", "montagna,  2000,  4000,  2"}), treno({})},
         D::linea,
         5,
         D::linea,
         4,
         12,
         "il tratto coperto era stato posto dalla riga 4"},
        {"curva-sovrapposta",
         {linea({"curvas4,  700,  950", "curvad3,  1000,  1000"}), treno({})},
         D::linea,
         5,
         D::linea,
         4,
         11,
         "la curva precedente era stata posta dalla riga 4"},
        {"riga-ripetuta",
         {linea({}), treno({"  sabbia,  300", "sabbia,  200"})},
         D::treno,
         3,
         D::treno,
         2,
         3,
         "l'impostazione era stata data dalla riga 2"},
    };
    for (const caso_correlato& k : casi) {
        const auto c = controlla(k.t);
        const diagnostica* d = trova(c.diagnostiche, k.file, k.riga, k.nome);
        ASSERT_NE(d, nullptr) << k.nome;
        ASSERT_EQ(d->correlati.size(), 1u) << k.nome;
        const luogo_correlato& l = d->correlati[0];
        EXPECT_EQ(l.file, k.file_correlato) << k.nome;
        EXPECT_EQ(l.riga, k.riga_correlata) << k.nome;
        EXPECT_EQ(l.colonna, k.colonna_correlata) << k.nome;
        EXPECT_EQ(l.messaggio, k.messaggio) << k.nome;
    }
}

struct caso_correzione {
    const char* nome;
    testi t;
    descrizione file;
    int riga;
    // The fix expected; std::nullopt when none is certain.
    struct attesa {
        int riga;
        int colonna;
        int colonna_fine;
        const char* testo;
    };
    std::optional<attesa> correzione;
    // The fix changes only how the row is written: the compiled cells stay the same.
    bool stesso_scenario;
};

TEST(Correzioni, ACertainFixReplacesItsRangeAndTheWarningGoesAway) {
    using D = descrizione;
    const std::string generale_maiuscola =
        testo({"[generale]", "lunghezza percorso,  10000", "Sfondo uno,  1", "[righe]", "[fine]"});
    const std::vector<caso_correzione> casi{
        {"elemento-perso",
         {linea({}), treno({"segnael,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"})},
         D::treno,
         2,
         {{2, 1, 8, "segnale"}},
         false},
        {"parola-chiave-simile",
         {linea({"la pendenzza,  0,  3"}), treno({})},
         D::linea,
         4,
         {{4, 4, 13, "pendenza"}},
         false},
        {"parola-chiave-simile",
         {generale_maiuscola, treno({})},
         D::linea,
         3,
         {{3, 1, 11, "sfondo uno"}},
         false},
        {"intestazione-sconosciuta",
         {linea({}), testo({"[generale]", "[vel_limit]", "velocita,  0,  75", "[fine]"})},
         D::treno,
         2,
         {{2, 1, 12, "[vel_limite]"}},
         true},
        {"separatore-non-valido",
         {linea({}), treno({"sabbia;  300"})},
         D::treno,
         2,
         {{2, 7, 8, ","}},
         false},
        {"separatore-non-valido",
         {linea({}), treno({"sabbia\t300"})},
         D::treno,
         2,
         {{2, 7, 8, ","}},
         false},
        {"velocita-arrotondata",
         {linea({}), treno({"velocita,  0,  72"})},
         D::treno,
         2,
         {{2, 16, 18, "70"}},
         true},
        {"velocita-arrotondata",
         {linea({"indicatori_vmax,  1550,  0,  0,  0,  0,  123 ,  0,  0,  0"}), treno({})},
         D::linea,
         4,
         {{4, 42, 45, "125"}},
         true},
        {"posizione-arrotondata",
         {linea({}), treno({"segnale,  2810,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"})},
         D::treno,
         2,
         {{2, 11, 15, "2800"}},
         true},
        {"posizione-arrotondata",
         {linea({"pendenza,  0,  0", "pendenza,  1540,  3"}), treno({})},
         D::linea,
         5,
         {{5, 12, 16, "1550"}},
         true},
        // Halfway between two cells a stretch's end and a point feature round apart.
        {"posizione-arrotondata",
         {linea({}), treno({"segnale,  2825,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"})},
         D::treno,
         2,
         std::nullopt,
         true},
        // A mountain stretch keeps its written ends, and a slow-down's end is a length.
        {"posizione-arrotondata",
         {linea({"montagna,  1010,  3000,  1"}), treno({})},
         D::linea,
         4,
         std::nullopt,
         true},
        {"posizione-arrotondata",
         {linea({}), treno({"rallentamento,  5010,  60,  500,  1,  0,  0"})},
         D::treno,
         2,
         std::nullopt,
         true},
        {"riga-ripetuta",
         {linea({}), treno({"sabbia,  300", "sabbia,  200"})},
         D::treno,
         3,
         {{2, 1, 13, ""}},
         true},
        // The compile reads "destra 1000" as a left curve of class 1: the hand written in words
        // and the radius that is one of the six say what was meant, a right curve of class 4.
        {"lettere-fraintese",
         {linea({"curva destra 1000,  700,  950"}), treno({})},
         D::linea,
         4,
         {{4, 1, 18, "curvad4"}},
         true},
        // A radius that is none of the six: the class meant is not certain.
        {"lettere-fraintese",
         {linea({"curva destra 600,  700,  950"}), treno({})},
         D::linea,
         4,
         std::nullopt,
         true},
    };
    for (const caso_correzione& k : casi) {
        SCOPED_TRACE(k.nome);
        const auto prima = controlla(k.t);
        const diagnostica* d = trova(prima.diagnostiche, k.file, k.riga, k.nome);
        ASSERT_NE(d, nullptr);
        if (!k.correzione) {
            EXPECT_TRUE(d->correzioni.empty());
            continue;
        }
        ASSERT_EQ(d->correzioni.size(), 1u);
        const correzione& c = d->correzioni[0];
        EXPECT_EQ(c.file, k.file);
        EXPECT_EQ(c.riga, k.correzione->riga);
        EXPECT_EQ(c.colonna, k.correzione->colonna);
        EXPECT_EQ(c.colonna_fine, k.correzione->colonna_fine);
        EXPECT_EQ(c.testo, k.correzione->testo);
        EXPECT_FALSE(c.titolo.empty());
        EXPECT_GT(d->colonna_fine, d->colonna);

        const auto dopo = controlla(applica(k.t, c));
        EXPECT_EQ(trova(dopo.diagnostiche, k.file, k.riga, k.nome), nullptr);
        if (k.stesso_scenario) {
            EXPECT_EQ(dopo.s->c.codice_errore, prima.s->c.codice_errore);
            EXPECT_TRUE(dopo.s->c.celle == prima.s->c.celle);
        }
    }
}

} // namespace corvenna::prova_correzioni
