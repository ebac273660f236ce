#include "base/forme_nomi_file.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace corvenna {
namespace {

TEST(FormeNomiFile, EveryNameWrittenIsRecognisedAsItsFile) {
    for (const file_uscita f :
         {file_uscita::descrizione_linea, file_uscita::descrizione_treno, file_uscita::note,
          file_uscita::rallentamenti, file_uscita::scheda_treno, file_uscita::planimetria,
          file_uscita::voci, file_uscita::celle})
        for (const char* nome : {"Corvenna", "A", "Val di Sole", "X_1234", "linea"})
            EXPECT_EQ(file_di_nome(nome_di_file(nome, "7381", f)), f)
                << nome_di_file(nome, "7381", f);
}

TEST(FormeNomiFile, NamesOfNoFormAreNotFilesOfAScenario) {
    struct caso {
        const char* nome;
        std::optional<file_uscita> file;
    };
    const std::vector<caso> casi = {
        {"Corvenna_linea.txt", file_uscita::descrizione_linea},
        {"Corvenna_7381-.txt", file_uscita::descrizione_treno},
        {"Corvenna_7381_scheda_treno.txt", file_uscita::scheda_treno},
        {"Corvenna_7381.sim", file_uscita::voci},
        {"Corvenna_linea.dat", file_uscita::planimetria},
        {"Corvenna_7381.dat", file_uscita::celle},
        {"appunti.txt", std::nullopt},
        {"_linea.txt", std::nullopt},
        {"_7381.sim", std::nullopt},
        {"Corvenna_738.sim", std::nullopt},
        {"Corvenna_73811.sim", std::nullopt},
        {"Corvenna7381.sim", std::nullopt},
        {"Corvenna_73a1_note.txt", std::nullopt},
        {"Corvenna_7381_note.txt.bak", std::nullopt},
        {"sostituzione_in_corso", std::nullopt},
    };
    for (const caso& c : casi)
        EXPECT_EQ(file_di_nome(c.nome), c.file) << c.nome;
}

TEST(FormeNomiFile, OnlyTheTwoDescriptionsAreTheAuthors) {
    EXPECT_TRUE(e_descrizione(file_uscita::descrizione_linea));
    EXPECT_TRUE(e_descrizione(file_uscita::descrizione_treno));
    for (const file_uscita f :
         {file_uscita::note, file_uscita::rallentamenti, file_uscita::scheda_treno,
          file_uscita::planimetria, file_uscita::voci, file_uscita::celle})
        EXPECT_FALSE(e_descrizione(f));
}

} // namespace
} // namespace corvenna
