#include "modello_disegno.hpp"

#include "drawing/disegno_elementi.hpp"
#include "drawing/disegno_pagina.hpp"
#include "drawing/disegno_profilo.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <random>
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

TEST(DisegnoPagina, TimetableInTheDriversTermsAndTooltipsNameTheirLines) {
    const costruzione c = modello(
        linea({"montagna,  2500,  3500,  12"}),
        treno({"stazione,  0,  2,  400,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  8,  0,  0,   "
               "PRIMA",
               "stazione,  7500,  28,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  "
               " TRANSITO"}));
    origini_disegno origini;
    origini.stazioni = {{descrizione::treno, 2}, {descrizione::treno, 3}};
    origini.rilievi[2500] = {descrizione::linea, 4};
    const std::string pagina = pagina_disegno(c, {&origini, std::nullopt, std::nullopt});
    const std::size_t inizio = pagina.find("<section id=\"orario\"");
    const std::string orario = pagina.substr(inizio, pagina.find("</section>", inizio) - inizio);
    EXPECT_NE(orario.find("<td>fermata</td>"), std::string::npos);
    EXPECT_NE(orario.find("<td>transito</td>"), std::string::npos);
    EXPECT_NE(orario.find("<td class=\"numero\">08:00:00</td>"), std::string::npos);
    EXPECT_EQ(orario.find("cella"), std::string::npos);
    EXPECT_EQ(orario.find("tipo"), std::string::npos);
    EXPECT_EQ(pagina.find("voce 1"), std::string::npos);
    // Each station twice (plan, profile), the tunnel twice.
    EXPECT_EQ(occorrenze(pagina, "riga 2 della descrizione del treno</title>"), 2u);
    EXPECT_EQ(occorrenze(pagina, "riga 3 della descrizione del treno</title>"), 2u);
    EXPECT_EQ(occorrenze(pagina, "riga 4 della descrizione della linea</title>"), 2u);
    EXPECT_NE(pagina.find(">galleria 1,00 km</text>"), std::string::npos);
    expect_autonoma(pagina);
}

// A range that runs past the route's end is clipped to it, never shifted back to keep its
// length; one that starts past the end has no view; the heading says the view the page opens on.
TEST(DisegnoPagina, OpeningRangeIsClippedToTheRouteAndTheHeadingSaysIt) {
    const costruzione c = modello(linea({}), treno({}));
    struct caso {
        std::optional<double> da, a;
        const char* atteso; // nullptr: no range
        const char* vista;
    };
    const caso casi[] = {
        {4000, 6000, " data-da-m=\"4000\" data-a-m=\"6000\">", "km 4,000 – 6,000"},
        {std::nullopt, 3000, " data-da-m=\"0\" data-a-m=\"3000\">", "km 0,000 – 3,000"},
        {9000, std::nullopt, " data-da-m=\"9000\" data-a-m=\"10000\">", "km 9,000 – 10,000"},
        {8000, 99000, " data-da-m=\"8000\" data-a-m=\"10000\">", "km 8,000 – 10,000"},
        {20000, 30000, nullptr, "km 0,000 – 10,000"},
        {std::nullopt, std::nullopt, nullptr, "km 0,000 – 10,000"},
    };
    for (const caso& k : casi) {
        const opzioni_pagina o{nullptr, k.da, k.a};
        const std::string pagina = pagina_disegno(c, o);
        if (k.atteso)
            EXPECT_NE(pagina.find(std::string("<body") + k.atteso), std::string::npos) << k.atteso;
        else
            EXPECT_NE(pagina.find("<body>"), std::string::npos);
        EXPECT_NE(pagina.find(std::string("Vista: <b id=\"finestra\">") + k.vista + "</b>"),
                  std::string::npos)
            << k.vista;
        EXPECT_EQ(vista_iniziale(c, o).has_value(), k.da != 20000.0) << k.vista;
    }
    EXPECT_EQ(fine_vista_metri(c), 10000);
    // The page's address is clipped the same way by the script.
    const std::string pagina = pagina_disegno(c);
    EXPECT_NE(pagina.find("x=Math.max(x,M0);y=Math.min(y,M1);"), std::string::npos);
}

// The page says which kilometre each drawing reads, and a slowdown band carries its speed.
TEST(DisegnoPagina, AxesSayWhichKilometreTheyReadAndSlowdownsTheirSpeed) {
    const costruzione c = modello(
        linea({}), treno({"velocita,  0,  100", "rallentamento,  5000,  40,  600,  1,  0,  0"}));
    const std::string pagina = pagina_disegno(c);
    EXPECT_NE(pagina.find("<h2>Planimetria <span class=\"lettura\">· cippi: km del macchinista "
                          "(progressiva)</span></h2>"),
              std::string::npos);
    EXPECT_NE(pagina.find("<h2>Profilo <span class=\"lettura\">· asse: km del percorso "
                          "(distanza dall'origine)</span></h2>"),
              std::string::npos);
    EXPECT_NE(pagina.find(">km del macchinista</text>"), std::string::npos);
    EXPECT_EQ(occorrenze(pagina, "class=\"etichetta velocita-rallentamento\""), 1u);
    EXPECT_NE(pagina.find(">40 km/h</text>"), std::string::npos);
}

TEST(DisegnoPagina, SpeedBoardsStayInTheSpeedBandWithoutTrainSpeeds) {
    // No speed in the train: the cells' speeds are 0 and the board shows 140.
    const costruzione c = modello(
        linea({"indicatori_vmax,  2050,  140,  140,  140,  0,    ,    ,    ,  0"}), treno({}));
    const elementi_scenario e = estrai_elementi(c);
    const disegno_profilo d = disegna_profilo(c, e, larghezza_disegno);
    ASSERT_EQ(e.cartelli.size(), 1u);
    const double y = d.y_velocita(e.cartelli[0].velocita_s[0]);
    EXPECT_GE(y, d.velocita.alto);
    EXPECT_LE(y, d.velocita.basso);
}

// Files read back may hold anything: random kinds and values in every cell, names of any
// bytes, extreme kilometric systems and route length, and a plan view with holes, infinities
// and values not a number. The page still comes out whole, under the sanitizers.
TEST(DisegnoPagina, DamagedModelStillGivesAWholePage) {
    std::mt19937 caso(1252);
    const auto byte = [&caso] { return static_cast<std::uint8_t>(caso()); };
    const auto intero = [&caso] { return static_cast<std::int16_t>(caso()); };
    for (int giro = 0; giro < 4; ++giro) {
        costruzione c;
        c.celle.resize(500 + 300 * giro);
        for (cella& x : c.celle) {
            x.tipo = static_cast<std::uint8_t>(byte() % 16);
            x.dato1 = intero();
            x.dato2 = intero();
            x.dato3 = intero();
            x.dato4 = intero();
            x.montagna = static_cast<std::uint8_t>(byte() % 3);
            x.velocita = byte();
            x.pendenza = byte();
        }
        for (voce& v : c.voci) {
            v.tipo = byte();
            v.inizio = static_cast<std::int32_t>(caso());
            v.fine = static_cast<std::int32_t>(caso());
            v.posizione = static_cast<std::int32_t>(caso() % 3);
            v.orario = static_cast<std::int32_t>(caso());
            for (int i = 0; i < 12; ++i)
                v.nome += static_cast<char>(byte());
        }
        const double strani[] = {
            std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY, 1e300, -1e300, 0.5};
        for (asse_planimetria& a : c.planimetria) {
            a.resize(3000);
            for (std::size_t m = 0; m < a.size(); ++m) {
                const unsigned scelta = caso() % 8;
                if (scelta == 0)
                    continue; // empty
                a.imposta(m, scelta == 1   ? valore_planimetria(intero())
                             : scelta == 2 ? strani[caso() % 6]
                                           : static_cast<double>(m) * (giro + 1));
            }
        }
        const std::string pagina = pagina_disegno(c);
        EXPECT_TRUE(pagina.starts_with("<!DOCTYPE html>\n"));
        EXPECT_TRUE(pagina.ends_with("</html>\n"));
        // No coordinate or value written as a non-number (the script after the drawings says
        // "data-info").
        const std::string disegni = pagina.substr(0, pagina.find("<script>"));
        EXPECT_EQ(disegni.find("nan"), std::string::npos);
        EXPECT_EQ(disegni.find("inf"), std::string::npos);
    }
}

} // namespace
} // namespace corvenna
