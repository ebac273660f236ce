#include "tool/ingresso_descrizione.hpp"

#include "base/errore_file.hpp"
#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace corvenna {
namespace {

// The UTF-16 bytes of ASCII text with the letter "à" (U+00E0) where `testo` has '@'.
std::string utf16(std::string_view testo, bool piccolo, bool segno) {
    std::string t;
    const auto unita = [&](unsigned u) {
        const char basso = static_cast<char>(u & 0xFF);
        const char alto = static_cast<char>(u >> 8);
        t += piccolo ? basso : alto;
        t += piccolo ? alto : basso;
    };
    if (segno)
        unita(0xFEFF);
    for (const char c : testo)
        unita(c == '@' ? 0xE0u : static_cast<unsigned char>(c));
    return t;
}

TEST(IngressoDescrizione, Utf16IsConvertedByItsMarkOrItsNulBytes) {
    const std::string testo = "[generale]\r\nnome,  CITT@\r\n";
    for (const bool piccolo : {true, false})
        for (const bool segno : {true, false}) {
            const testo_convertito r = testo_in_1252(utf16(testo, piccolo, segno));
            EXPECT_EQ(r.testo, "[generale]\r\nnome,  CITT\xE0\r\n") << piccolo << segno;
            EXPECT_EQ(r.codifica, piccolo ? "UTF-16LE" : "UTF-16BE");
            EXPECT_TRUE(r.utf8);
            EXPECT_FALSE(r.fallito);
        }
}

TEST(IngressoDescrizione, Utf16ThatCannotBeDecodedOrHeldIsAnErrorAtItsPlace) {
    struct caso {
        std::string byte;
        int riga;
        int colonna;
        std::string messaggio;
    };
    // A lone high surrogate on line 2; a letter beyond Windows-1252 (U+0141); an odd last byte.
    std::string surrogato = utf16("a\nbc", true, true);
    surrogato += std::string("\x00\xD8", 2);
    std::string fuori = utf16("a\nbc", true, true);
    fuori += std::string("\x41\x01", 2);
    const caso casi[] = {
        {surrogato, 2, 3, "il testo UTF-16LE non e' valido a questo punto"},
        {fuori, 2, 3, "il carattere U+0141 non ha un byte in Windows-1252"},
        {utf16("ab\ncd", false, true) + "x", 2, 3,
         "il testo UTF-16BE non e' valido a questo punto"},
    };
    for (const caso& c : casi) {
        const testo_convertito r = testo_in_1252(c.byte);
        ASSERT_TRUE(r.fallito) << c.messaggio;
        EXPECT_EQ(r.fallito->riga, c.riga) << c.messaggio;
        EXPECT_EQ(r.fallito->colonna, c.colonna) << c.messaggio;
        EXPECT_EQ(r.fallito->messaggio, c.messaggio);
    }
}

TEST(IngressoDescrizione, ANulByteNamesABinaryFileOnce) {
    const std::string binario = std::string("[generale]\r\nab\x01\x00\x00\x7f\n\x00 x", 20);
    const testo_convertito r = testo_in_1252(binario);
    ASSERT_TRUE(r.fallito);
    EXPECT_EQ(r.fallito->riga, 2);
    EXPECT_EQ(r.fallito->colonna, 4);
    EXPECT_EQ(r.fallito->messaggio, "il file contiene byte NUL alla riga 2: e' un file binario?");
    EXPECT_EQ(r.testo, binario);
    // Text with no NUL is Windows-1252 as ever.
    EXPECT_FALSE(testo_in_1252("a\x01\x7f\xC0").fallito);
    EXPECT_EQ(testo_in_1252("a\x01\x7f\xC0").codifica, "");
}

TEST(IngressoDescrizione, AFileLargerThanADescriptionIsRefusedUnread) {
    const prova::cartella_temporanea d;
    const std::filesystem::path grande = d.percorso() / "Grande_linea.txt";
    // Sparse: a terabyte that takes no room, and that a read of would never end in a test.
    prova::scrivi_file(grande, "");
    std::filesystem::resize_file(grande, std::uintmax_t{1} << 40);
    try {
        leggi_file_intero(grande);
        ADD_FAILURE() << "read";
    } catch (const errore_file& e) {
        EXPECT_EQ(e.motivo(), "e' troppo grande: 1099511627776 byte, oltre il massimo di 16 MiB");
    }
    std::filesystem::resize_file(grande, byte_massimi_descrizione);
    EXPECT_EQ(leggi_file_intero(grande).size(), byte_massimi_descrizione);
}

} // namespace
} // namespace corvenna
