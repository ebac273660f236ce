#include "support/compila_prova.hpp"

#include "compiler/registro_compilazione.hpp"
#include "model/codici_errore.hpp"
#include "model/tipi_cella.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

using prova::linea;
using prova::treno;

struct compilato {
    costruzione c;
    sorgente_memoria sorgente;
    registro_compilazione reg;
};

compilato compila_con_registro(const std::string& testo_linea, const std::string& testo_treno) {
    compilato r;
    r.sorgente.testi[descrizione::linea] = testo_linea;
    r.sorgente.testi[descrizione::treno] = testo_treno;
    memorizza_dati(r.c, r.sorgente, r.reg);
    return r;
}

// A feature that a line places itself on a cell before or past the track ends the compile with
// code 26, its position, and a message that names it; its description is deleted.
TEST(ControlloCelle, FeatureOutsideTheTrackEndsTheCompileNamingIt) {
    struct caso {
        const char* nome;
        std::string linea;
        std::string treno;
        descrizione file;
        std::int32_t posizione;
        std::string messaggio;
    };
    const caso casi[] = {
        {"route sign before cell 0", linea({"cartello_indicatore,  -100,  (x)"}), treno({}),
         descrizione::linea, -100, "il cartello indicatore a -100 m cade fuori dal tracciato"},
        {"abbattimento before cell 0", linea({}), treno({"abbattimento,  -50,  0"}),
         descrizione::treno, -50, "l'abbattimento a -50 m cade fuori dal tracciato"},
        {"stop past the last cell", linea({}, "88000"),
         treno({"stazione,  90000,  8,  20000,  1,  2,  0,  1,  1,  0,  3,  4,  1,  30,  6,  41,  "
                "0,  LONTANA"}),
         descrizione::treno, 90000, "la fermata della stazione LONTANA cade fuori dal tracciato"},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        const compilato r = compila_con_registro(k.linea, k.treno);
        EXPECT_EQ(r.c.codice_errore, codice::celle_fuori_limite);
        EXPECT_EQ(r.c.posizione_errore, k.posizione);
        EXPECT_FALSE(r.sorgente.esiste(k.file));
        ASSERT_FALSE(r.reg.diagnostiche.empty());
        const diagnostica& d = r.reg.diagnostiche.back();
        EXPECT_EQ(d.livello, gravita::errore);
        EXPECT_EQ(d.file, k.file);
        EXPECT_EQ(d.codice, codice::celle_fuori_limite);
        EXPECT_EQ(d.messaggio, k.messaggio);
        EXPECT_EQ(d.metri, k.posizione);
    }
}

// A tunnel stretch from 1000 to 2000 m puts its markers on cells 23, 27, 31 and 35: a route sign
// or an abbattimento takes such a cell as a free one.
TEST(ControlloCelle, TunnelMarkerCellTakesAPointFeature) {
    const std::string galleria = "montagna,  1000,  2000,  11";
    struct caso {
        const char* nome;
        std::string linea;
        std::string treno;
        std::int32_t cella;
        std::uint8_t tipo;
    };
    const caso casi[] = {
        {"route sign", linea({galleria, "cartello_indicatore,  1100,  (x)"}), treno({}), 23,
         tipo_cella::cartello},
        {"abbattimento", linea({galleria}), treno({"abbattimento,  1350,  0"}), 27,
         tipo_cella::abbattimento},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        const compilato r = compila_con_registro(k.linea, k.treno);
        EXPECT_EQ(r.c.codice_errore, 0);
        EXPECT_EQ(r.c.celle[k.cella].tipo, k.tipo);
    }
}

} // namespace
} // namespace corvenna
