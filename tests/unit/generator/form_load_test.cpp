#include "generator/form_load.hpp"

#include "model/codici_errore.hpp"
#include "model/costruzione.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// What a run showed the user, instead of the real window and boxes.
struct interfaccia_registrata {
    std::vector<std::string> errori;
    std::vector<std::string> segnalazioni;
    interfaccia_utente ui{
        .mostra_attesa = [] {},
        .errore = [this](std::string_view a) { errori.emplace_back(a); },
        .segnala = [this](std::string_view m) { segnalazioni.emplace_back(m); },
    };
};

costruzione con_celle(std::int32_t codice_errore, std::int32_t posizione_errore = 0) {
    costruzione c;
    c.celle.resize(10);
    c.codice_errore = codice_errore;
    c.posizione_errore = posizione_errore;
    return c;
}

TEST(RiportaEsito, SoundScenarioSaysNothing) {
    interfaccia_registrata r;
    EXPECT_EQ(riporta_esito(con_celle(0), 0, r.ui), 0);
    EXPECT_TRUE(r.errori.empty());
    EXPECT_TRUE(r.segnalazioni.empty());
}

TEST(RiportaEsito, HeaderCheckFailureShowsTheErrorBox) {
    interfaccia_registrata r;
    EXPECT_NE(riporta_esito(con_celle(0), 1251, r.ui), 0);
    EXPECT_EQ(r.errori, std::vector<std::string>{"1251"});
}

TEST(RiportaEsito, RecordedCodeIsReportedWithMeaningAndPosition) {
    struct caso {
        std::int32_t codice_errore;
        std::int32_t posizione;
        std::string atteso;
    };
    for (const caso& k :
         {caso{codice::segnale_occupato, 40050,
               "Errore 16: la cella di un segnale e' gia' occupata (a 40050 m)"},
          caso{codice::progressiva_non_multipla, 123,
               "Errore 2: l'inizio o lo scostamento di una progressiva chilometrica non e' "
               "multiplo di 50"}}) {
        interfaccia_registrata r;
        EXPECT_EQ(riporta_esito(con_celle(k.codice_errore, k.posizione), 0, r.ui), 1);
        EXPECT_EQ(r.segnalazioni, std::vector<std::string>{k.atteso});
    }
}

TEST(RiportaEsito, ReadFailureSaysWhere) {
    interfaccia_registrata r;
    costruzione c = con_celle(codice::lettura_fallita);
    c.luogo_errore = "Corvenna_7381-.txt, riga 12";
    EXPECT_EQ(riporta_esito(c, 0, r.ui), 1);
    ASSERT_EQ(r.segnalazioni.size(), 1u);
    EXPECT_TRUE(r.segnalazioni[0].ends_with(" (Corvenna_7381-.txt, riga 12)")) << r.segnalazioni[0];
}

TEST(RiportaEsito, CompileWithoutCellsSaysNoBinaryFileWasWritten) {
    interfaccia_registrata r;
    costruzione c;
    c.codice_errore = codice::linea_mancante;
    EXPECT_EQ(riporta_esito(c, 0, r.ui), 1);
    ASSERT_EQ(r.segnalazioni.size(), 1u);
    EXPECT_EQ(r.segnalazioni[0], "Errore 101: la descrizione della linea non esiste; nessun file "
                                 "binario scritto");
}

} // namespace
} // namespace corvenna
