#include "tool/identita_da_nomi.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

struct caso_identita {
    identita_scenario identita;
    // The reason, or empty when the identity is valid.
    std::string motivo;
};

TEST(IdentitaNonValida, SaysWhatIsWrongWithTheNameOrTheNumber) {
    const std::string nome = "il nome dello scenario ";
    const std::string treno = "il numero del treno ";
    const std::string riservato = "\" non puo' dare nomi di file: e' un nome che Windows riserva "
                                  "ai dispositivi (CON, PRN, AUX, NUL, COM1-9, LPT1-9)";
    // A name of 232 bytes gives X_0000_rallentamenti.txt of 255 bytes, the longest allowed.
    const std::string lungo(232, 'x');
    const std::vector<caso_identita> casi = {
        {{"Corvenna", "7381"}, ""},
        {{"Linea 2 (bis)", "0042"}, ""},
        {{"a.b", "0000"}, ""},
        {{"CONTI", "9999"}, ""},
        {{lungo, "0001"}, ""},
        {{"", "0001"}, nome + "\"\" non puo' dare nomi di file: e' vuoto"},
        {{"../fuori", "0001"},
         nome + "\"../fuori\" non puo' dare nomi di file: contiene il carattere '/' (vietati: / "
                "\\ : * ? \" < > |)"},
        {{"a\\b", "0001"},
         nome + "\"a\\b\" non puo' dare nomi di file: contiene il carattere '\\' (vietati: / \\ "
                ": * ? \" < > |)"},
        {{"C:x", "0001"},
         nome + "\"C:x\" non puo' dare nomi di file: contiene il carattere ':' (vietati: / \\ : "
                "* ? \" < > |)"},
        {{"a|b", "0001"},
         nome + "\"a|b\" non puo' dare nomi di file: contiene il carattere '|' (vietati: / \\ : "
                "* ? \" < > |)"},
        {{"a\tb", "0001"},
         nome + "\"a\tb\" non puo' dare nomi di file: contiene un carattere che non e' ASCII "
                "stampabile"},
        {{"Citt\xC3\xA0", "0001"},
         nome + "\"Citt\xC3\xA0\" non puo' dare nomi di file: contiene un carattere che non e' "
                "ASCII stampabile"},
        {{"..", "0001"}, nome + "\"..\" non puo' dare nomi di file: contiene \"..\""},
        {{"a..b", "0001"}, nome + "\"a..b\" non puo' dare nomi di file: contiene \"..\""},
        {{"fine.", "0001"},
         nome + "\"fine.\" non puo' dare nomi di file: finisce con un punto o uno spazio"},
        {{"fine ", "0001"},
         nome + "\"fine \" non puo' dare nomi di file: finisce con un punto o uno spazio"},
        {{"CON", "0001"}, nome + "\"CON" + riservato},
        {{"nul", "0001"}, nome + "\"nul" + riservato},
        {{"Com1.linea", "0001"}, nome + "\"Com1.linea" + riservato},
        {{"LPT9 .x", "0001"}, nome + "\"LPT9 .x" + riservato},
        {{lungo + "x", "0001"},
         nome + "\"" + lungo + "x\" e' troppo lungo: il nome di file " + lungo +
             "x_0001_rallentamenti.txt avrebbe 256 byte, il massimo e' 255"},
        {{"Corvenna", "abc"},
         treno + "\"abc\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", "-5"},
         treno + "\"-5\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", "1.5"},
         treno + "\"1.5\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", "42"},
         treno + "\"42\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", "73810"},
         treno + "\"73810\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", ""}, treno + "\"\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
        {{"Corvenna", "738/"},
         treno + "\"738/\" non e' valido: servono quattro cifre (come 0042 o 7381)"},
    };
    for (const caso_identita& c : casi) {
        const std::optional<std::string> motivo = identita_non_valida(c.identita);
        EXPECT_EQ(motivo.value_or(""), c.motivo)
            << c.identita.nome_scenario << " " << c.identita.numero_treno;
    }
}

TEST(IdentitaDaNomi, ComesFromTheNamesARunWrites) {
    const auto identita = identita_da_nomi("src/Prova_linea.txt", "src/Prova_1234-.txt");
    ASSERT_TRUE(identita);
    EXPECT_EQ(identita->nome_scenario, "Prova");
    EXPECT_EQ(identita->numero_treno, "1234");
    EXPECT_FALSE(identita_da_nomi("Prova_linea.txt", "Altra_1234-.txt"));
    EXPECT_FALSE(identita_da_nomi("linea.txt", "Prova_1234-.txt"));
}

} // namespace
} // namespace corvenna
