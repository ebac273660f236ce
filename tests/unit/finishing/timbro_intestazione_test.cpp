#include "finishing/timbro_intestazione.hpp"

#include "model/costruzione.hpp"
#include "support/celle_di_prova.hpp"

#include <gtest/gtest.h>

#include <cstdint>

using namespace corvenna;

TEST(TimbroIntestazione, FreeFieldsAreStampedWithoutError) {
    costruzione c = prova::modello_vuoto(10);

    EXPECT_EQ(timbra_intestazione(c), 0);

    EXPECT_EQ(c.voci[voce_scenario].i1, 610);
    EXPECT_EQ(c.celle[1].dato1, 5121);
    EXPECT_EQ(c.voci[voce_scenario].orario, 0);
    EXPECT_EQ(c.celle[1].dato2, 0);
}

TEST(TimbroIntestazione, OccupiedStampFieldGives1250AndStampsNothing) {
    struct caso {
        std::int16_t i1;
        std::int16_t dato1;
    };
    for (const caso& k : {caso{1, 0}, caso{0, -7}, caso{610, 5121}}) {
        SCOPED_TRACE(testing::Message() << k.i1 << " " << k.dato1);
        costruzione c = prova::modello_vuoto(10);
        c.voci[voce_scenario].i1 = k.i1;
        c.celle[1].dato1 = k.dato1;

        EXPECT_EQ(timbra_intestazione(c), 1250);

        EXPECT_EQ(c.voci[voce_scenario].i1, k.i1);
        EXPECT_EQ(c.celle[1].dato1, k.dato1);
    }
}

TEST(TimbroIntestazione, OccupiedCodeFieldGives1251AfterTheStamp) {
    struct caso {
        std::int32_t orario;
        std::int16_t dato2;
    };
    for (const caso& k : {caso{3600, 0}, caso{0, 9}}) {
        SCOPED_TRACE(testing::Message() << k.orario << " " << k.dato2);
        costruzione c = prova::modello_vuoto(10);
        c.voci[voce_scenario].orario = k.orario;
        c.celle[1].dato2 = k.dato2;

        EXPECT_EQ(timbra_intestazione(c), 1251);

        EXPECT_EQ(c.voci[voce_scenario].i1, 610);
        EXPECT_EQ(c.celle[1].dato1, 5121);
        EXPECT_EQ(c.voci[voce_scenario].orario, k.orario);
        EXPECT_EQ(c.celle[1].dato2, k.dato2);
    }
}

TEST(TimbroIntestazione, WithoutACellOneNothingIsStamped) {
    for (std::int32_t ultima : {-1, 0}) {
        costruzione c;
        if (ultima >= 0)
            c = prova::modello_vuoto(ultima);

        EXPECT_EQ(timbra_intestazione(c), 1250);
        EXPECT_EQ(c.voci[voce_scenario].i1, 0);
    }
}
