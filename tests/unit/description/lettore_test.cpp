#include "description/lettore.hpp"
#include "support/cartella_temporanea.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace corvenna;
using namespace std::string_literals;

namespace {

// The number types the descriptions use, to drive one table through all three reads.
enum class tipo_numero { long32, intero16, byte8 };

std::int64_t leggi(lettore_descrizione& r, tipo_numero tipo) {
    switch (tipo) {
    case tipo_numero::long32:
        return r.leggi_long();
    case tipo_numero::intero16:
        return r.leggi_intero();
    case tipo_numero::byte8:
        return r.leggi_byte();
    }
    return 0;
}

} // namespace

TEST(Lettore, ClockNumbersSeparatedByBlanksOnly) {
    lettore_descrizione r("orologio,     6               40            50\r\n[fine]\r\n");
    EXPECT_EQ(r.leggi_testo(), "orologio");
    EXPECT_EQ(r.leggi_intero(), 6);
    EXPECT_EQ(r.leggi_intero(), 40);
    EXPECT_EQ(r.leggi_intero(), 50);
    EXPECT_EQ(r.riga_corrente(), 2);
    EXPECT_EQ(r.leggi_testo(), "[fine]");
    EXPECT_FALSE(r.fallito());
}

TEST(Lettore, EmptyFieldsReadAsZero) {
    lettore_descrizione r(
        "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0\r\nsegue\r\n");
    EXPECT_EQ(r.leggi_testo(), "indicatori_vmax");
    const std::vector<std::int32_t> attesi{1550, 125, 135, 135, 0, 0, 0, 0, 0};
    for (std::int32_t atteso : attesi)
        EXPECT_EQ(r.leggi_long(), atteso);
    EXPECT_FALSE(r.fallito());
    // The last value took its line end with it: the next field is the next line's.
    EXPECT_EQ(r.leggi_testo(), "segue");
    EXPECT_TRUE(r.fine_file());
}

TEST(Lettore, NumberTakesOneSeparatorOnly) {
    // Two commas in a row leave an empty field between them; blanks before a comma or a line
    // end belong to the number; an empty field at a line end reads 0 and takes the line end.
    lettore_descrizione r("1,,2  ,  3   \r\n4,\r\n5");
    const std::vector<std::int32_t> attesi{1, 0, 2, 3, 4, 0, 5};
    for (std::int32_t atteso : attesi)
        EXPECT_EQ(r.leggi_long(), atteso);
    EXPECT_FALSE(r.fallito());
    EXPECT_TRUE(r.fine_file());
}

TEST(Lettore, QuotedTextKeepsCommasAndDropsQuotes) {
    lettore_descrizione r("nome,   \"Porta, Nuova\"  ,  5\r\n\"a\r\nb\"resto, 7\r\n\"\",8\r\n");
    EXPECT_EQ(r.leggi_testo(), "nome");
    EXPECT_EQ(r.leggi_testo(), "Porta, Nuova");
    EXPECT_EQ(r.leggi_long(), 5);
    // A quoted field may hold a line end; what follows the closing quote up to the separator
    // is dropped.
    EXPECT_EQ(r.leggi_testo(), "a\r\nb");
    EXPECT_EQ(r.leggi_long(), 7);
    EXPECT_EQ(r.leggi_testo(), "");
    EXPECT_EQ(r.leggi_long(), 8);
    EXPECT_FALSE(r.fallito());
    EXPECT_TRUE(r.fine_file());
}

TEST(Lettore, UnclosedQuoteFailsInsteadOfSwallowingTheRest) {
    lettore_descrizione r("nome,  \"Porta Nuova\r\nvelocita,  0,  75\r\n[fine]\r\n");
    EXPECT_EQ(r.leggi_testo(), "nome");
    EXPECT_EQ(r.leggi_testo(), "");
    EXPECT_TRUE(r.fallito());
    EXPECT_EQ(r.riga_corrente(), 1);
}

TEST(Lettore, UnquotedTextKeepsInnerBlanksAndDropsOuterOnes) {
    lettore_descrizione r("cartello_indicatore,  37900,     (  P.L.A. )(km 36+409)\r\n"
                          "x,   San Vito  al Monte\r\n"
                          "\t nome \t ,fine \t\r\n");
    EXPECT_EQ(r.leggi_testo(), "cartello_indicatore");
    EXPECT_EQ(r.leggi_long(), 37900);
    EXPECT_EQ(r.leggi_testo(), "(  P.L.A. )(km 36+409)");
    EXPECT_EQ(r.leggi_testo(), "x");
    EXPECT_EQ(r.leggi_testo(), "San Vito  al Monte");
    EXPECT_EQ(r.leggi_testo(), "nome");
    EXPECT_EQ(r.leggi_testo(), "fine");
    EXPECT_FALSE(r.fallito());
    EXPECT_TRUE(r.fine_file());
}

TEST(Lettore, StationLineReadsEachValueWithItsType) {
    lettore_descrizione r("stazione,  8050,  12,  300,  1,  0,  1,  -2,  300,  255,  6,  40,  "
                          "50,  0,  7,  12,  5,   Val di  Sotto\r\n");
    EXPECT_EQ(r.leggi_testo(), "stazione");
    EXPECT_EQ(r.leggi_long(), 8050);
    EXPECT_EQ(r.leggi_byte(), 12);
    EXPECT_EQ(r.leggi_long(), 300);
    EXPECT_EQ(r.leggi_byte(), 1);
    EXPECT_EQ(r.leggi_byte(), 0);
    EXPECT_EQ(r.leggi_byte(), 1);
    EXPECT_EQ(r.leggi_intero(), -2);
    EXPECT_EQ(r.leggi_intero(), 300);
    EXPECT_EQ(r.leggi_byte(), 255);
    EXPECT_EQ(r.leggi_intero(), 6);
    EXPECT_EQ(r.leggi_intero(), 40);
    EXPECT_EQ(r.leggi_intero(), 50);
    EXPECT_EQ(r.leggi_byte(), 0);
    EXPECT_EQ(r.leggi_long(), 7);
    EXPECT_EQ(r.leggi_long(), 12);
    EXPECT_EQ(r.leggi_long(), 5);
    EXPECT_EQ(r.leggi_testo(), "Val di  Sotto");
    EXPECT_FALSE(r.fallito());
    EXPECT_TRUE(r.fine_file());
}

TEST(Lettore, NumberRangeOfEachType) {
    struct caso {
        std::string testo;
        tipo_numero tipo;
        bool valido;
        std::int64_t valore;
    };
    const std::vector<caso> casi{
        {"2147483647", tipo_numero::long32, true, 2147483647},
        {"2147483648", tipo_numero::long32, false, 0},
        {"-2147483648", tipo_numero::long32, true, -2147483648LL},
        {"-2147483649", tipo_numero::long32, false, 0},
        {"4294967296", tipo_numero::long32, false, 0},
        {"99999999999999999999999999999999999999", tipo_numero::long32, false, 0},
        {"-99999999999999999999999999999999999999", tipo_numero::long32, false, 0},
        {"0000000000000000000000000000000000000042", tipo_numero::long32, true, 42},
        {"32767", tipo_numero::intero16, true, 32767},
        {"32768", tipo_numero::intero16, false, 0},
        {"-32768", tipo_numero::intero16, true, -32768},
        {"-32769", tipo_numero::intero16, false, 0},
        {"65536", tipo_numero::intero16, false, 0},
        {"255", tipo_numero::byte8, true, 255},
        {"256", tipo_numero::byte8, false, 0},
        {"0", tipo_numero::byte8, true, 0},
        {"-0", tipo_numero::byte8, true, 0},
        {"-1", tipo_numero::byte8, false, 0},
        {"511", tipo_numero::byte8, false, 0},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.testo);
        lettore_descrizione r("  " + c.testo + ",  9\r\n");
        EXPECT_EQ(leggi(r, c.tipo), c.valore);
        EXPECT_EQ(r.fallito(), !c.valido);
        // A valid value leaves the reader on the next field; a failure stops all reading.
        EXPECT_EQ(r.leggi_long(), c.valido ? 9 : 0);
    }
}

TEST(Lettore, NumberFieldWithOtherCharactersFails) {
    const std::vector<std::string> campi{
        "12a", "abc", "-",    "- 5",   "--5",     "+5",   "5-",
        "1.5", "1e3", "0x10", "\"5\"", "1\0002"s, "\xff", "7\xa0",
    };
    for (const std::string& campo : campi) {
        SCOPED_TRACE(campo);
        lettore_descrizione r("1\r\n  " + campo + ",  9\r\n");
        EXPECT_EQ(r.leggi_long(), 1);
        EXPECT_EQ(r.leggi_long(), 0);
        EXPECT_TRUE(r.fallito());
        EXPECT_EQ(r.riga_corrente(), 2);
    }
}

TEST(Lettore, ReadPastTheEndFailsAndStaysFailed) {
    lettore_descrizione r("pendenza,  1500");
    EXPECT_EQ(r.leggi_testo(), "pendenza");
    EXPECT_EQ(r.leggi_long(), 1500);
    EXPECT_FALSE(r.fallito());
    EXPECT_TRUE(r.fine_file());
    EXPECT_EQ(r.leggi_long(), 0);
    EXPECT_TRUE(r.fallito());
    EXPECT_EQ(r.leggi_testo(), "");
    EXPECT_EQ(r.leggi_byte(), 0);
    EXPECT_TRUE(r.fallito());
    EXPECT_TRUE(r.fine_file());

    lettore_descrizione vuoto("");
    EXPECT_TRUE(vuoto.fine_file());
    EXPECT_EQ(vuoto.leggi_testo(), "");
    EXPECT_TRUE(vuoto.fallito());
}

TEST(Lettore, FailedReaderReadsNothingMore) {
    // A failure in the middle ends the reading: later fields are not handed out, and the
    // line of the failed field is kept for the message.
    lettore_descrizione r("velocita,  0,  75\r\nvelocita,  1500,  x125\r\nsabbia,  3\r\n");
    EXPECT_EQ(r.leggi_testo(), "velocita");
    EXPECT_EQ(r.leggi_long(), 0);
    EXPECT_EQ(r.leggi_long(), 75);
    EXPECT_EQ(r.leggi_testo(), "velocita");
    EXPECT_EQ(r.leggi_long(), 1500);
    EXPECT_EQ(r.leggi_long(), 0);
    EXPECT_TRUE(r.fallito());
    EXPECT_TRUE(r.fine_file());
    EXPECT_EQ(r.leggi_testo(), "");
    EXPECT_EQ(r.leggi_long(), 0);
    EXPECT_EQ(r.riga_corrente(), 2);
}

TEST(Lettore, LineEndVariantsSeparateFields) {
    const std::vector<std::string> a_capo{"\r\n", "\r", "\n"};
    for (const std::string& fine : a_capo) {
        SCOPED_TRACE(static_cast<int>(fine.size()));
        lettore_descrizione r("[generale]" + fine + "sabbia,  3" + fine + "  -4  " + fine + fine +
                              "[fine]" + fine);
        EXPECT_EQ(r.leggi_testo(), "[generale]");
        EXPECT_EQ(r.riga_corrente(), 2);
        EXPECT_EQ(r.leggi_testo(), "sabbia");
        EXPECT_EQ(r.leggi_intero(), 3);
        EXPECT_EQ(r.leggi_intero(), -4);
        EXPECT_EQ(r.riga_corrente(), 4);
        EXPECT_EQ(r.leggi_testo(), "");
        EXPECT_EQ(r.leggi_testo(), "[fine]");
        EXPECT_EQ(r.riga_corrente(), 6);
        EXPECT_FALSE(r.fallito());
        EXPECT_TRUE(r.fine_file());
    }
    // LF CR is two line ends, not one.
    lettore_descrizione r("a\n\rb");
    EXPECT_EQ(r.leggi_testo(), "a");
    EXPECT_EQ(r.leggi_testo(), "");
    EXPECT_EQ(r.riga_corrente(), 3);
    EXPECT_EQ(r.leggi_testo(), "b");
}

TEST(Lettore, EndOfFileAfterTheLastField) {
    // After "[fine]" and its line end every byte is consumed: the caller sees the end right
    // after taking the last field, which is therefore never interpreted.
    lettore_descrizione con_a_capo("pendenza,  1500,  -5\r\n[fine]\r\n");
    EXPECT_EQ(con_a_capo.leggi_testo(), "pendenza");
    EXPECT_FALSE(con_a_capo.fine_file());
    EXPECT_EQ(con_a_capo.leggi_long(), 1500);
    EXPECT_EQ(con_a_capo.leggi_long(), -5);
    EXPECT_FALSE(con_a_capo.fine_file());
    EXPECT_EQ(con_a_capo.leggi_testo(), "[fine]");
    EXPECT_TRUE(con_a_capo.fine_file());

    // A last line without a line end still gives all its values.
    lettore_descrizione senza_a_capo("pendenza,  1500,  -5");
    EXPECT_EQ(senza_a_capo.leggi_testo(), "pendenza");
    EXPECT_FALSE(senza_a_capo.fine_file());
    EXPECT_EQ(senza_a_capo.leggi_long(), 1500);
    EXPECT_EQ(senza_a_capo.leggi_long(), -5);
    EXPECT_FALSE(senza_a_capo.fallito());
    EXPECT_TRUE(senza_a_capo.fine_file());

    // An empty line after the last one is one more (empty) field.
    lettore_descrizione riga_vuota("[fine]\r\n\r\n");
    EXPECT_EQ(riga_vuota.leggi_testo(), "[fine]");
    EXPECT_FALSE(riga_vuota.fine_file());
    EXPECT_EQ(riga_vuota.leggi_testo(), "");
    EXPECT_TRUE(riga_vuota.fine_file());
    EXPECT_FALSE(riga_vuota.fallito());
}

TEST(Lettore, BlanksUpToTheEndAreAnEmptyField) {
    lettore_descrizione testo("x,   ");
    EXPECT_EQ(testo.leggi_testo(), "x");
    EXPECT_EQ(testo.leggi_testo(), "");
    EXPECT_FALSE(testo.fallito());
    EXPECT_TRUE(testo.fine_file());

    lettore_descrizione numero("1,   ");
    EXPECT_EQ(numero.leggi_long(), 1);
    EXPECT_EQ(numero.leggi_long(), 0);
    EXPECT_FALSE(numero.fallito());
    EXPECT_TRUE(numero.fine_file());
}

TEST(Lettore, ArbitraryBytesNeverRunPastTheEnd) {
    // Byte soup weighted toward the characters the reader treats specially; every read either
    // moves forward or fails, so reading in a loop always ends.
    const std::string speciali = ",\r\n \t\"-0123456789";
    std::uint32_t stato = 12345;
    auto prossimo = [&stato] {
        stato = stato * 1103515245u + 12345u;
        return stato >> 16;
    };
    for (int prova = 0; prova < 2000; ++prova) {
        std::string testo(prossimo() % 64, '\0');
        for (char& c : testo)
            c = (prossimo() % 3 == 0) ? static_cast<char>(prossimo() % 256)
                                      : speciali[prossimo() % speciali.size()];
        lettore_descrizione r(testo);
        int letture = 0;
        while (!r.fine_file()) {
            ASSERT_LE(++letture, 64 + 1) << "no progress on: " << testo;
            switch (prossimo() % 4) {
            case 0:
                (void)r.leggi_testo();
                break;
            case 1:
                (void)r.leggi_long();
                break;
            case 2:
                (void)r.leggi_intero();
                break;
            default:
                (void)r.leggi_byte();
                break;
            }
            EXPECT_GE(r.riga_corrente(), 1);
        }
        EXPECT_EQ(r.leggi_testo(), "");
        EXPECT_TRUE(r.fallito());
    }
}

TEST(Lettore, OpensAFileWhole) {
    const prova::cartella_temporanea cartella;
    const auto percorso = cartella.percorso() / "Prova_linea.txt";
    const std::string contenuto = "[generale]\r\nnome,  Citt\xe0\0x\r\n[fine]\r\n"s;
    {
        std::ofstream file(percorso, std::ios::binary);
        file << contenuto;
    }
    auto r = lettore_descrizione::apri(percorso);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->leggi_testo(), "[generale]");
    EXPECT_EQ(r->leggi_testo(), "nome");
    EXPECT_EQ(r->leggi_testo(), "Citt\xe0\0x"s);
    EXPECT_EQ(r->leggi_testo(), "[fine]");
    EXPECT_TRUE(r->fine_file());

    EXPECT_FALSE(lettore_descrizione::apri(cartella.percorso() / "manca.txt").has_value());
    EXPECT_FALSE(lettore_descrizione::apri(cartella.percorso()).has_value());
}

TEST(Lettore, EachFieldHasTheLineAndColumnWhereItBegins) {
    lettore_descrizione r("[generale]\r\n  pendenza,  1500,\t-5\r\n\"a,b\" x\r\nc\n");
    struct atteso {
        int riga;
        int colonna;
        bool a_inizio_riga;
    };
    const auto controlla = [&](const atteso& a) {
        EXPECT_EQ(r.luogo_campo(), (luogo{a.riga, a.colonna}));
        EXPECT_EQ(r.campo_a_inizio_riga(), a.a_inizio_riga);
    };
    EXPECT_EQ(r.leggi_testo(), "[generale]");
    controlla({1, 1, true});
    EXPECT_EQ(r.leggi_testo(), "pendenza");
    controlla({2, 3, true});
    EXPECT_EQ(r.leggi_long(), 1500);
    controlla({2, 14, false});
    // A tab counts as one byte.
    EXPECT_EQ(r.leggi_long(), -5);
    controlla({2, 20, false});
    EXPECT_EQ(r.testo_campo(), "-5");
    // A quoted text that spans a comma; what follows the closing quote is dropped.
    EXPECT_EQ(r.leggi_testo(), "a,b");
    controlla({3, 1, true});
    EXPECT_TRUE(r.testo_accorciato());
    EXPECT_EQ(r.leggi_testo(), "c");
    controlla({4, 1, true});
    EXPECT_FALSE(r.testo_accorciato());
    EXPECT_FALSE(r.fallito());
}

TEST(Lettore, TrailingBlanksOfATextAreReportedAsTrimmed) {
    lettore_descrizione r("   ab  ,ab,\"ab\"  ,");
    EXPECT_EQ(r.leggi_testo(), "ab");
    EXPECT_TRUE(r.testo_accorciato());
    EXPECT_EQ(r.leggi_testo(), "ab");
    EXPECT_FALSE(r.testo_accorciato());
    // Blanks after a closing quote lose nothing.
    EXPECT_EQ(r.leggi_testo(), "ab");
    EXPECT_FALSE(r.testo_accorciato());
}

TEST(Lettore, AFailedReadSaysWhereAndWhy) {
    struct caso {
        const char* testo;
        int letture;
        causa_fallimento causa;
        luogo posto;
        std::string_view campo;
    };
    const caso casi[] = {
        {"a,  1x00,  2\r\n", 2, causa_fallimento::non_numero, {1, 5}, "1x00"},
        {"a,\r\n  --3", 3, causa_fallimento::non_numero, {2, 3}, "--3"},
        {"a,  70000", 2, causa_fallimento::fuori_tipo, {1, 5}, "70000"},
        // Nothing left: the place is just after the last line, with or without its line end.
        {"a,  1\r\n", 3, causa_fallimento::fine_testo, {1, 6}, ""},
        {"a,  1", 3, causa_fallimento::fine_testo, {1, 6}, ""},
        {"a\r\n22\n", 3, causa_fallimento::fine_testo, {2, 3}, ""},
        {"", 1, causa_fallimento::fine_testo, {1, 1}, ""},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.testo);
        lettore_descrizione r(k.testo);
        r.leggi_testo();
        for (int i = 1; i < k.letture; ++i)
            r.leggi_intero();
        ASSERT_TRUE(r.fallito());
        EXPECT_EQ(r.causa(), k.causa);
        EXPECT_EQ(r.luogo_campo(), k.posto);
        EXPECT_EQ(r.testo_campo(), k.campo);
        EXPECT_EQ(r.riga_corrente(), k.posto.riga);
    }
    lettore_descrizione tipo("300");
    tipo.leggi_byte();
    EXPECT_EQ(tipo.causa(), causa_fallimento::fuori_tipo);
    EXPECT_EQ(tipo.minimo_tipo(), 0);
    EXPECT_EQ(tipo.massimo_tipo(), 255);

    lettore_descrizione virgolette("x,  \"aperte, e mai chiuse");
    virgolette.leggi_testo();
    virgolette.leggi_testo();
    EXPECT_EQ(virgolette.causa(), causa_fallimento::virgolette_aperte);
    EXPECT_EQ(virgolette.luogo_campo(), (luogo{1, 5}));
    EXPECT_EQ(virgolette.testo_campo(), "\"aperte");
}

TEST(ParoleChiave, ContieneIgnoresAsciiCaseOnly) {
    struct caso {
        std::string campo;
        std::string sottostringa;
        bool contiene;
        bool esatto;
    };
    const std::vector<caso> casi{
        {"lunghezza percorso", "percorso", true, true},
        {"LUNGHEZZA PERCORSO", "percorso", true, false},
        {"Progressiva tre", "progressiva", true, false},
        {"progressiva tre", "progressiva", true, true},
        {"curvaS4", "s", true, false},
        {"curvad4", "s", false, false},
        {"stazioni", "stazione", false, false},
        {"[Generale]", "[generale]", true, false},
        {"ab", "abc", false, false},
        {"", "", true, true},
        {"x", "", true, true},
        // Letters outside ASCII are compared as bytes.
        {"citt\xc0", "citt\xe0", false, false},
        {"CITT\xe0", "citt\xe0", true, false},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.campo + " / " + c.sottostringa);
        EXPECT_EQ(contiene(c.campo, c.sottostringa), c.contiene);
        EXPECT_EQ(contiene_esatto(c.campo, c.sottostringa), c.esatto);
    }
}

TEST(ParoleChiave, HeadersAndDashFields) {
    struct caso {
        std::string campo;
        bool intestazione;
        bool trattino;
    };
    const std::vector<caso> casi{
        {"[generale]", true, false},       {"  [fine]", true, false},
        {"]rovescia[", true, false},       {"[vel_limite]", true, false},
        {"[vel-limite]", true, true},      {"-[curve]", false, true},
        {" \t-- [curve] --", false, true}, {"---------------", false, true},
        {"[aperta", false, false},         {"chiusa]", false, false},
        {"curvas4", false, false},         {"", false, false},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.campo);
        EXPECT_EQ(e_intestazione(c.campo), c.intestazione);
        EXPECT_EQ(e_campo_trattino(c.campo), c.trattino);
    }
}
