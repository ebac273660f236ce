#include "scenario/documenti_compilati.hpp"

#include "scenario/righe_rallentamenti.hpp"
#include "scenario/righe_scheda.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// A line of `n` stations 1000 m apart on one ascending kilometric system from km 5, each with
// a time a minute after the one before and a dwell of `sosta_s`.
fatti_linea linea_di(int n, int sosta_s = 30) {
    fatti_linea f;
    f.sistemi = {{0, 5000, false}};
    f.lunghezza_percorso = 1000 * n;
    f.velocita = {{0, 100, 100}};
    for (int k = 0; k < n; ++k) {
        stazione_linea s;
        s.voce = k + 1;
        s.nome = "STAZIONE " + std::to_string(k + 1);
        s.metro = 1000 * k;
        s.orario_s = 8 * 3600 + 60 * k;
        s.sosta_s = sosta_s;
        s.marciapiede_da_metro = s.metro - 150;
        s.marciapiede_a_metro = s.metro + 150;
        f.stazioni.push_back(s);
    }
    return f;
}

// The columns of a card row, cut at its bars.
std::vector<std::string> colonne(const std::string& riga) {
    std::vector<std::string> c;
    std::size_t da = 0;
    for (std::size_t barra = riga.find('|'); barra != std::string::npos;
         barra = riga.find('|', da)) {
        c.push_back(riga.substr(da, barra - da));
        da = barra + 1;
    }
    return c;
}

TEST(SchedaCompilata, EveryPageHasTheLinesAndWidthsOfTheBuiltInCard) {
    for (const int stazioni : {1, 32, 33, 70}) {
        SCOPED_TRACE(stazioni);
        const std::vector<std::string> righe =
            righe_scheda_compilata(linea_di(stazioni), "2031", std::nullopt);
        const std::size_t pagine = (static_cast<std::size_t>(stazioni) + 31) / 32;
        ASSERT_EQ(righe.size(), pagine * numero_righe_scheda);
        for (std::size_t i = 0; i < righe.size(); ++i)
            EXPECT_EQ(righe[i].size(), righe_scheda[i % numero_righe_scheda].size()) << i;
    }
}

TEST(SchedaCompilata, RowsPastTheTableGoOnAContinuationCard) {
    const std::vector<std::string> righe = righe_scheda_compilata(linea_di(33), "2031", {});
    EXPECT_EQ(colonne(righe[16])[5], " STAZIONE 1                 ");
    EXPECT_EQ(colonne(righe[47])[5], " STAZIONE 32                ");
    EXPECT_NE(righe[numero_righe_scheda + 3].find("SCHEDA (segue)"), std::string::npos);
    EXPECT_EQ(righe[3].find("segue"), std::string::npos);
    EXPECT_EQ(colonne(righe[numero_righe_scheda + 16])[5], " STAZIONE 33                ");
    EXPECT_EQ(righe[numero_righe_scheda + 17], righe_scheda[47]);
}

TEST(SchedaCompilata, TheTimeShowsTheDepartureWhereTheDwellEndsInALaterMinute) {
    struct caso {
        std::optional<std::int64_t> orario_s;
        int sosta_s;
        const char* colonna;
    };
    const caso casi[] = {
        {6 * 3600 + 45 * 60 + 30, 30, "   6.45 - 6.46  "},
        {6 * 3600 + 41 * 60, 1, "       6.41     "},
        {10 * 3600 + 14 * 60, 30, "      10.14     "},
        {9 * 3600 + 59 * 60 + 30, 60, "  9.59 - 10.00  "},
        {std::nullopt, 30, "                "},
    };
    for (const caso& c : casi) {
        fatti_linea f = linea_di(1);
        f.stazioni[0].orario_s = c.orario_s;
        f.stazioni[0].sosta_s = c.sosta_s;
        EXPECT_EQ(colonne(righe_scheda_compilata(f, "1", {})[16])[6], c.colonna);
    }
}

TEST(SchedaCompilata, TheRecColumnGivesEachSectionsMarginOnlyWhenGiven) {
    const fatti_linea f = linea_di(4);
    const std::vector<std::string> senza = righe_scheda_compilata(f, "1", std::nullopt);
    const std::vector<std::string> con =
        righe_scheda_compilata(f, "1", std::vector<double>{0.5, 1.0, 1.46});
    const char* attesi[] = {"     ", " 0.5 ", "  1  ", " 1.5 "};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(colonne(senza[16 + k])[7], "     ");
        EXPECT_EQ(colonne(con[16 + k])[7], attesi[k]) << k;
    }
    // A vector shorter than the sections leaves the rest blank.
    EXPECT_EQ(colonne(righe_scheda_compilata(f, "1", std::vector<double>{2})[18])[7], "     ");
}

TEST(SchedaCompilata, SpeedsStandWhereEachColumnChanges) {
    fatti_linea f = linea_di(3);
    // A slowdown to 40 between the first two stations, and the line's limit down to 80 at the
    // third station's stretch.
    f.velocita = {{0, 100, 100}, {400, 100, 40}, {600, 100, 100}, {2000, 80, 80}};
    const std::vector<std::string> righe = righe_scheda_compilata(f, "1", {});
    const std::vector<std::pair<std::string, std::string>> attese = {{" 100 ", " 100 "},
                                                                     {"     ", "  40 "},
                                                                     {"     ", " 100 "},
                                                                     {"     ", "     "},
                                                                     {"  80 ", "  80 "}};
    for (std::size_t k = 0; k < attese.size(); ++k) {
        const std::vector<std::string> c = colonne(righe[16 + k]);
        EXPECT_EQ(std::pair(c[1], c[2]), attese[k]) << k;
    }
    EXPECT_EQ(colonne(righe[17])[3], "     5.400");
    EXPECT_EQ(colonne(righe[17])[5], std::string(28, ' '));
}

TEST(OrdineCompilato, EachSlowdownNamesWhereItLiesAndContiguousOnesCarryD) {
    fatti_linea f = linea_di(3);
    f.rallentamenti = {{1100, 1500, 30}, {1550, 1800, 50}, {1950, 2100, 60}};
    const std::vector<std::string> righe = righe_ordine_compilato(f, "2031");
    ASSERT_EQ(righe.size(), static_cast<std::size_t>(numero_righe_rallentamenti));
    EXPECT_EQ(righe[6], "  Si ordina al macchinista del treno 2031 di effettuare i seguenti "
                        "rallentamenti");
    EXPECT_EQ(righe[12], " | 1 | STAZIONE 2 - STAZIONE 3    |      6.100 |      30  |     400 "
                         "| D          |");
    EXPECT_EQ(righe[13], " | 2 | STAZIONE 2 - STAZIONE 3    |      6.550 |      50  |     250 "
                         "| D          |");
    // Within the third station's platform.
    EXPECT_EQ(righe[14], " | 3 | STAZIONE 3                 |      6.950 |      60  |     150 "
                         "|            |");
    EXPECT_EQ(righe[15], righe_rallentamenti[15]);
}

TEST(NoteCompilate, TheAuthorsTextFollowsTheFactsAsWritten) {
    const std::vector<std::string> note = righe_note_compilate(linea_di(2), {"uno", "", "due"});
    ASSERT_GE(note.size(), 5U);
    EXPECT_EQ(note.front(), "Caratteristiche della linea STAZIONE 1-STAZIONE 2");
    EXPECT_EQ(std::vector<std::string>(note.end() - 5, note.end()),
              (std::vector<std::string>{"", "", "uno", "", "due"}));
    EXPECT_EQ(righe_note_compilate(linea_di(2), {}).back(), "- Segnali: 0.");
}

} // namespace
} // namespace corvenna
