#include "modello_disegno.hpp"

#include "report/disegno_pagina.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace corvenna {
namespace {

using prova::linea;
using prova::modello;
using prova::treno;

std::size_t occorrenze(std::string_view testo, std::string_view cercato) {
    std::size_t n = 0;
    for (std::size_t i = testo.find(cercato); i != std::string_view::npos;
         i = testo.find(cercato, i + 1))
        ++n;
    return n;
}

// What would make the page fetch anything: a link, a source, an import or a URL in the style.
void expect_autonoma(const std::string& pagina) {
    for (const std::string_view esterno :
         {"http:", "https:", "src=", "url(", "@import", "//", "<link rel=\"stylesheet\""}) {
        // "//" may appear only in the doctype-free page as part of nothing at all.
        EXPECT_EQ(occorrenze(pagina, esterno), 0u) << esterno;
    }
    EXPECT_EQ(occorrenze(pagina, "href="), 1u);
    EXPECT_EQ(occorrenze(pagina, "href=\"data:,\""), 1u);
}

TEST(DisegnoPagina, EveryFeatureOnceInEachDrawingWithItsTextEscaped) {
    const costruzione c = modello(
        linea({"cartello_indicatore,  1200,     (Fiume )(\"ADIGE\" & <PO>)",
               "indicatori_vmax,  2050,  80,  90,  95,  1,    ,    ,    ,  0",
               "montagna,  2500,  3500,  12"}),
        treno({"stazione,  0,  2,  400,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  0,  0,   "
               "PRIMA & <ALTA>",
               "stazione,  7500,  28,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
               " TRANSITO",
               "segnale,  3600,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0"}));
    const std::string pagina = pagina_disegno(c);

    // Stations in the plan and in the profile, each with its own item; a row each in the
    // timetable.
    EXPECT_EQ(occorrenze(pagina, "class=\"stazione marcatore"), 4u);
    EXPECT_EQ(occorrenze(pagina, "data-voce=\"1\""), 3u);
    EXPECT_EQ(occorrenze(pagina, "class=\"riga-stazione"), 2u);
    EXPECT_EQ(occorrenze(pagina, "class=\"segnale marcatore"), 2u);
    EXPECT_EQ(occorrenze(pagina, "class=\"cartello marcatore"), 2u);
    EXPECT_EQ(occorrenze(pagina, "class=\"galleria marcatore"), 2u);

    EXPECT_NE(pagina.find(">PRIMA &amp; &lt;ALTA&gt;</text>"), std::string::npos);
    EXPECT_NE(pagina.find("Fiume / &quot;ADIGE&quot; &amp; &lt;PO&gt;"), std::string::npos);
    EXPECT_EQ(pagina.find("<ALTA>"), std::string::npos);
    EXPECT_EQ(pagina.find("<PO>"), std::string::npos);
    expect_autonoma(pagina);
    EXPECT_TRUE(pagina.starts_with("<!DOCTYPE html>\n"));
    EXPECT_TRUE(pagina.ends_with("</html>\n"));
}

TEST(DisegnoPagina, BuiltInScenarioIsWellUnderAMegabyte) {
    const std::string pagina = pagina_disegno(prova::modello_incorporato());
    EXPECT_LT(pagina.size(), 200u * 1024);
    EXPECT_EQ(occorrenze(pagina, "class=\"stazione marcatore"), 2u * 16);
    EXPECT_EQ(occorrenze(pagina, "class=\"segnale marcatore"), 2u * 29);
    EXPECT_EQ(occorrenze(pagina, "class=\"cartello marcatore"), 9u + 61);
    EXPECT_NE(pagina.find("<title>Corvenna · treno 7381</title>"), std::string::npos);
    expect_autonoma(pagina);
}

TEST(DisegnoPagina, LineOfAThousandKilometresStaysUnderFiveMegabytes) {
    // A curve in every kilometre, alternating hand and class, and a gradient every 2 km.
    std::string righe = "[generale]\r\nlunghezza percorso,  1000000\r\n[righe]\r\n";
    for (int km = 0; km < 1000; ++km)
        righe += std::string("curva") + (km % 2 == 0 ? 's' : 'd') + std::to_string(2 + km % 4) +
                 ",  " + std::to_string(km * 1000 + 300) + ",  600\r\n";
    for (int km = 0; km < 1000; km += 2)
        righe += "pendenza,  " + std::to_string(km * 1000) + ",  " + std::to_string(km % 19 - 9) +
                 "\r\n";
    righe += "[fine]\r\n";
    const costruzione c = modello(righe, treno({"velocita,  0,  100", "velocita,  500000,  140"}));
    const std::string pagina = pagina_disegno(c);
    EXPECT_LT(pagina.size(), 5u * 1024 * 1024);
    EXPECT_NE(pagina.find("data-fine-m=\"1000000\""), std::string::npos);
}

} // namespace
} // namespace corvenna
