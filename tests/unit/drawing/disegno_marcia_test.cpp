// The dry run on the page: its section after the profile, the speed over the limits, each
// section's margin (short ones in red) and the distant signals too close to their main signal.

#include "drawing/disegno_pagina.hpp"
#include "model/tipi_cella.hpp"
#include "support/scenario_compilato.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

std::size_t conta(const std::string& testo, const std::string& cosa) {
    std::size_t n = 0;
    for (std::size_t p = testo.find(cosa); p != std::string::npos; p = testo.find(cosa, p + 1))
        ++n;
    return n;
}

TEST(DisegnoMarcia, PageDrawsTheRunTheMarginsAndTheShortSignals) {
    costruzione c = prova::scenario_incorporato();
    // The main signal after the distant one at 2800 m brought to 500 m from it.
    std::size_t principale = 0;
    for (std::size_t k = 2800 / 50 + 2; k < c.celle.size() && principale == 0; ++k)
        if (c.celle[k].tipo == tipo_cella::segnale && c.celle[k].dato4 % 10 / 3 == 2)
            principale = k;
    ASSERT_NE(principale, 0u);
    std::swap(c.celle[principale], c.celle[3300 / 50 + 1]);
    const esito_marcia e = marcia(c, *modello_di_nome("regionale", c));

    const std::string senza = pagina_disegno(c);
    EXPECT_EQ(senza.find("id=\"marcia\""), std::string::npos);
    opzioni_pagina o;
    o.marcia = &e;
    const std::string pagina = pagina_disegno(c, o);
    const std::size_t sezione = pagina.find("<section id=\"marcia\">");
    ASSERT_NE(sezione, std::string::npos);
    EXPECT_GT(sezione, pagina.find("<section id=\"profilo\">"));
    EXPECT_EQ(conta(pagina, "class=\"velocita-marcia\""), 1u);
    EXPECT_EQ(conta(pagina, "class=\"limiti-marcia\""), 1u);
    EXPECT_EQ(conta(pagina, "class=\"margine-marcia"), e.tratte.size());
    // Sassogrigio-Bagnoverde and Bagnoverde-Valterma run short with this model.
    EXPECT_EQ(conta(pagina, "class=\"margine-marcia scarso\""), 2u);
    EXPECT_EQ(conta(pagina, "class=\"segnale-corto\""), 1u);
    EXPECT_NE(pagina.find("avviso a 2800 m: frenatura"), std::string::npos);
}

} // namespace
} // namespace corvenna
