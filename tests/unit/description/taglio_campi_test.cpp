#include "description/lettore.hpp"
#include "description/taglio_campi.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

using T = tipo_campo;

std::vector<std::string> testi(const std::vector<campo_tagliato>& campi) {
    std::vector<std::string> t;
    for (const campo_tagliato& c : campi)
        t.emplace_back(c.testo);
    return t;
}

TEST(TaglioCampi, ARowIsCutAsTheReaderReadsIt) {
    struct caso {
        const char* riga;
        std::vector<T> tipi;
        T oltre;
        std::vector<std::string> campi;
    };
    const std::vector<caso> casi{
        // A quoted text holds its commas; its quotes stay with the field.
        {"cartello_indicatore,  5250,  \"A, B\"",
         {T::intero_32, T::testo},
         T::intero_32,
         {"cartello_indicatore", "5250", "\"A, B\""}},
        // Numbers stand apart by blanks alone.
        {"orologio,  8 9 30",
         {T::intero_32, T::intero_32, T::intero_32},
         T::intero_32,
         {"orologio", "8", "9", "30"}},
        // A comma at the end opens one more, empty field.
        {"sabbia,  300,", {T::intero_32}, T::intero_32, {"sabbia", "300", ""}},
        // A text drops its trailing blanks; a row of an unknown keyword is cut as texts.
        {"-- nota ,  piu' avanti  ", {}, T::testo, {"-- nota", "piu' avanti"}},
        // A time in one field is one field that is not a number.
        {"stazione,  8:09:30,  X",
         {T::intero_32, T::testo},
         T::intero_32,
         {"stazione", "8:09:30", "X"}},
        {"   ", {}, T::testo, {}},
    };
    for (const caso& k : casi)
        EXPECT_EQ(testi(taglia_riga(k.riga, k.tipi, k.oltre)), k.campi) << k.riga;
}

TEST(TaglioCampi, AnUnclosedQuoteRunsToTheNextSeparatorAndEndsTheRow) {
    const auto campi =
        taglia_riga("cartello_indicatore,  5250,  \"A, B", std::vector<T>{T::intero_32, T::testo});
    ASSERT_EQ(campi.size(), 3u);
    EXPECT_TRUE(campi[2].aperte);
    EXPECT_EQ(campi[2].testo, "\"A");
}

// The reader takes each field where the cutter puts it: the same bytes at the same columns.
TEST(TaglioCampi, TheReaderAndTheCutterAgreeOnEveryField) {
    const std::string riga = "stazione,  5200  12,\"S. A, B\"  ,  -3 ,";
    const std::vector<T> tipi{T::intero_32, T::intero_32, T::testo, T::intero_32, T::intero_32};
    const auto campi = taglia_riga(riga, tipi);
    ASSERT_EQ(campi.size(), 6u);
    lettore_descrizione r(riga + "\r\n");
    EXPECT_EQ(r.leggi_testo(), campi[0].testo);
    EXPECT_EQ(r.luogo_campo().colonna, static_cast<int>(campi[0].inizio) + 1);
    for (std::size_t i = 0; i < tipi.size(); ++i) {
        const campo_tagliato& c = campi[i + 1];
        if (tipi[i] == T::testo)
            EXPECT_EQ(r.leggi_testo(), c.testo.substr(1, c.testo.size() - 2));
        else
            EXPECT_EQ(std::to_string(r.leggi_long()), c.testo.empty() ? "0" : c.testo);
        EXPECT_FALSE(r.fallito());
        EXPECT_EQ(r.luogo_campo().colonna, static_cast<int>(c.inizio) + 1) << i;
        EXPECT_EQ(r.testo_campo(), c.testo) << i;
    }
    EXPECT_TRUE(r.fine_file());
}

TEST(TaglioCampi, ANumberFieldReadsAsTheReaderReadsIt) {
    EXPECT_EQ(numero_campo(""), 0);
    EXPECT_EQ(numero_campo("-42"), -42);
    EXPECT_EQ(numero_campo("-"), std::nullopt);
    EXPECT_EQ(numero_campo("4-2"), std::nullopt);
    EXPECT_EQ(numero_campo("8:09"), std::nullopt);
    // Past 10^12 the digits stop adding: far outside every type, and no overflow.
    EXPECT_GT(*numero_campo("99999999999999999999999999"), std::int64_t{1'000'000'000'000});
}

} // namespace
} // namespace corvenna
