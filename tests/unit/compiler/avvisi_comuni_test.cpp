#include "support/compila_prova.hpp"

#include "compiler/registro_compilazione.hpp"
#include "model/codici_errore.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

using prova::linea;
using prova::treno;

// A station line at 5200 m named `nome`.
std::string stazione_di_nome(const std::string& nome) {
    return "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  " +
           nome;
}

// A name or board text that goes into the item file with a control byte or a byte without a
// Windows-1252 character is warned about at its field, naming the first such byte; the item
// file still gets the text as written.
TEST(AvvisiComuni, UnprintableBytesInNamesAreWarnedAtTheirField) {
    struct caso {
        const char* nome;
        std::string linea;
        std::string treno;
        // The warning's place and message; riga 0 when there is none.
        descrizione file;
        int riga;
        int colonna;
        std::string messaggio;
        // The text as the item file holds it.
        std::string testo;
    };
    const caso casi[] = {
        {"escape in a board text", linea({"cartello_indicatore,  350,  (A\x1b[31m)"}), treno({}),
         descrizione::linea, 4, 29,
         "il testo '(A\\x1b[31m)' contiene il byte 0x1b, di controllo: va nel file delle voci "
         "cosi' com'e'",
         "(A\x1b[31m)"},
        {"DEL then a byte without a character in a station name", linea({}),
         treno({stazione_di_nome("CITT\x7F\x81")}), descrizione::treno, 2, 82,
         "il testo 'CITT\\x7f\\x81' contiene il byte 0x7f, di controllo: va nel file delle voci "
         "cosi' com'e'",
         "CITT\x7F\x81"},
        {"byte without a character", linea({}), treno({stazione_di_nome("A\x9D")}),
         descrizione::treno, 2, 82,
         "il testo 'A\\x9d' contiene il byte 0x9d, senza carattere in Windows-1252: va nel file "
         "delle voci cosi' com'e'",
         "A\x9D"},
        {"accented letters are characters", linea({}), treno({stazione_di_nome("CITT\xC0 \x80")}),
         descrizione::treno, 0, 0, "", "CITT\xC0 \x80"},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        costruzione c;
        sorgente_memoria sorgente;
        sorgente.testi[descrizione::linea] = k.linea;
        sorgente.testi[descrizione::treno] = k.treno;
        registro_compilazione reg;
        memorizza_dati(c, sorgente, reg);
        EXPECT_EQ(c.codice_errore, 0);
        std::vector<const diagnostica*> avvisi;
        for (const diagnostica& d : reg.diagnostiche)
            if (d.tipo == tipo_avviso::byte_non_stampabile)
                avvisi.push_back(&d);
        bool trovato = false;
        for (const voce& v : c.voci)
            trovato = trovato || v.nome == k.testo;
        EXPECT_TRUE(trovato);
        if (k.riga == 0) {
            EXPECT_TRUE(avvisi.empty());
            continue;
        }
        ASSERT_EQ(avvisi.size(), 1u);
        EXPECT_EQ(avvisi[0]->livello, gravita::avviso);
        EXPECT_EQ(avvisi[0]->file, k.file);
        EXPECT_EQ(avvisi[0]->riga, k.riga);
        EXPECT_EQ(avvisi[0]->colonna, k.colonna);
        EXPECT_EQ(avvisi[0]->messaggio, k.messaggio);
    }
}

} // namespace
} // namespace corvenna
