#include "diagnostics/esito_rapporto.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "model/codici_errore.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace corvenna {
namespace {

// Lower-case words of letters and digits joined by single hyphens.
bool kebab(std::string_view nome) {
    if (nome.empty() || nome.front() == '-' || nome.back() == '-' ||
        nome.find("--") != std::string_view::npos)
        return false;
    return std::all_of(nome.begin(), nome.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

// Printable ASCII only: the texts reach terminals and JSON as they are, whatever the encoding.
bool ascii_stampabile(std::string_view testo) {
    return std::all_of(testo.begin(), testo.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

TEST(TipiDiagnostica, EveryCodeOfTheModelHasItsErrorKindAndNoOther) {
    for (const std::int32_t codice : codice::tutti) {
        const tipo_diagnostica* t = tipo_di_codice(codice);
        ASSERT_NE(t, nullptr) << codice;
        EXPECT_EQ(t->livello, gravita::errore) << codice;
        EXPECT_EQ(t->codice, codice);
        EXPECT_FALSE(t->avviso.has_value()) << codice;
    }
    for (const tipo_diagnostica& t : tipi_diagnostica()) {
        if (t.livello == gravita::errore && !t.dello_strumento) {
            EXPECT_NE(std::find(codice::tutti.begin(), codice::tutti.end(), t.codice),
                      codice::tutti.end())
                << t.nome << " has code " << t.codice << ", which the model does not have";
        }
    }
}

TEST(TipiDiagnostica, EveryWarningKindHasItsEntry) {
    for (std::size_t i = 0; i < numero_tipi_avviso; ++i) {
        const auto tipo = static_cast<tipo_avviso>(i);
        const tipo_diagnostica& t = tipo_di(tipo);
        EXPECT_EQ(t.livello, gravita::avviso) << t.nome;
        EXPECT_EQ(t.avviso, tipo) << t.nome;
        EXPECT_EQ(t.codice, 0) << t.nome;
    }
}

TEST(TipiDiagnostica, NamesAreUniqueKebabCaseAndFindTheirKind) {
    std::set<std::string_view> nomi;
    for (const tipo_diagnostica& t : tipi_diagnostica()) {
        EXPECT_TRUE(kebab(t.nome)) << "'" << t.nome << "'";
        EXPECT_TRUE(nomi.insert(t.nome).second) << t.nome << " is given twice";
        EXPECT_EQ(tipo_di_nome(t.nome), &t) << t.nome;
    }
    EXPECT_EQ(tipo_di_nome(""), nullptr);
    EXPECT_EQ(tipo_di_nome("nome-avviso"), nullptr);
    EXPECT_EQ(tipo_di_nome("elemento_coperto"), nullptr);
}

TEST(TipiDiagnostica, EveryKindHasAOneLineTextAndAnExplanation) {
    for (const tipo_diagnostica& t : tipi_diagnostica()) {
        EXPECT_FALSE(t.testo.empty()) << t.nome;
        EXPECT_TRUE(ascii_stampabile(t.testo)) << t.nome;
        // An explanation says what it means and what to do: more than the one-line text.
        EXPECT_GT(t.spiegazione.size(), t.testo.size()) << t.nome;
        EXPECT_TRUE(ascii_stampabile(t.spiegazione)) << t.nome;
        EXPECT_EQ(t.spiegazione.back(), '.') << t.nome;
    }
}

TEST(TipiDiagnostica, CodeSentencesAndPositionsAreThoseThePrintedReportsUse) {
    struct caso {
        std::int32_t codice;
        std::string_view testo;
        bool con_posizione;
    };
    const caso casi[] = {
        {codice::lunghezza_eccessiva, "la lunghezza del percorso e' negativa o supera 1000000 m",
         false},
        {codice::fuori_tracciato, "una posizione cade oltre la fine del tracciato", true},
        {codice::troppe_montagne, "i tratti montagna superano gli 80 consentiti", true},
        {codice::curva_non_valida, "una curva non ha la classe o si estende oltre la planimetria",
         false},
        // Codes the build does not have.
        {0, "errore sconosciuto", false},
        {14, "errore sconosciuto", false},
        {23, "errore sconosciuto", false},
    };
    for (const caso& k : casi) {
        EXPECT_EQ(testo_codice(k.codice), k.testo) << k.codice;
        EXPECT_EQ(codice_con_posizione(k.codice), k.con_posizione) << k.codice;
    }
    EXPECT_EQ(tipo_di_codice(14), nullptr);
}

TEST(TipiDiagnostica, TheToolsFailuresAreErrorsWithoutACodeUnderTheNamesItsReportsGive) {
    // The names the JSON and SARIF reports give a failure of the tool find their kind, so
    // `scenario spiega uso-errato` explains them; no code finds them, so a compile's code 0 is
    // still unknown.
    std::set<std::string_view> dello_strumento;
    for (const tipo_diagnostica& t : tipi_diagnostica())
        if (t.dello_strumento) {
            dello_strumento.insert(t.nome);
            EXPECT_EQ(t.livello, gravita::errore) << t.nome;
            EXPECT_EQ(t.codice, 0) << t.nome;
            EXPECT_FALSE(t.avviso.has_value()) << t.nome;
            EXPECT_FALSE(t.con_posizione) << t.nome;
        }
    EXPECT_EQ(dello_strumento,
              (std::set<std::string_view>{nome_file_inaccessibile, nome_uso_errato}));
    EXPECT_EQ(tipo_di_codice(0), nullptr);
    EXPECT_EQ(testo_codice(0), "errore sconosciuto");
    // And every compile kind is not the tool's.
    for (const std::int32_t codice : codice::tutti)
        EXPECT_FALSE(tipo_di_codice(codice)->dello_strumento) << codice;
}

TEST(TipiDiagnostica, WarningNamesArePublicAndStayAsGiven) {
    // Printed with every warning and read by authors' scripts: a kind renamed or dropped would
    // break them.
    const std::set<std::string_view> pubblici = {
        "abbattimento-ridotto",
        "byte-non-stampabile",
        "classe-curva-multipla",
        "compilazione-interrotta",
        "curva-sovrapposta",
        "elemento-coperto",
        "generale-mancante",
        "marcatore-galleria-omesso",
        "marcatore-galleria-sostituito",
        "marcatori-sovrascritti",
        "montagna-vuota",
        "montagne-sovrapposte",
        "parola-chiave-multipla",
        "parola-chiave-sconosciuta",
        "posizione-arrotondata",
        "posizione-non-crescente",
        "preavvisi-omessi",
        "prima-di-generale",
        "prima-posizione-non-zero",
        "rallentamento-senza-fine",
        "riga-ripetuta",
        "tempo-segnale-cambiato",
        "testo-accorciato",
        "tipo-montagna-cambiato",
        "ultimo-campo-ignorato",
        "valore-stazione-ignorato",
        "valore-troncato",
        "valori-in-eccesso",
        "valori-su-piu-righe",
        "velocita-arrotondata",
    };
    std::set<std::string_view> nomi;
    for (std::size_t i = 0; i < numero_tipi_avviso; ++i)
        nomi.insert(tipo_di(static_cast<tipo_avviso>(i)).nome);
    for (const std::string_view nome : pubblici)
        EXPECT_TRUE(nomi.count(nome)) << nome << " is no longer a warning";
}

} // namespace
} // namespace corvenna
