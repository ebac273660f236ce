#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

namespace corvenna {
namespace {

using prova::cartella_temporanea;
using prova::esegui_strumento;
using prova::scrivi_file;

const nlohmann::json* trova(const nlohmann::json& elenco, int riga, const std::string& nome) {
    for (const nlohmann::json& x : elenco)
        if (x["riga"] == riga && x["codice"] == nome)
            return &x;
    return nullptr;
}

// Through the real program: a setting given twice names the row it repeats and offers to empty
// that row, and a rounded speed offers the value the compile keeps.
TEST(ControlloStrumento, JsonCarriesRelatedPlacesAndCertainFixes) {
    cartella_temporanea d;
    scrivi_file(d.percorso() / "Prova_linea.txt",
                "[generale]\r\nlunghezza percorso,  10000\r\n[righe]\r\n"
                "[fine]\r\n");
    scrivi_file(d.percorso() / "Prova_7381-.txt",
                "[generale]\r\nsabbia,  300\r\nsabbia,  200\r\n"
                "[vel_limite]\r\nvelocita,  0,  72\r\n[fine]\r\n");
    const auto esito = esegui_strumento(
        d.percorso(), {"controlla", "Prova_linea.txt", "Prova_7381-.txt", "--diagnostica", "json"});
    EXPECT_NE(esito.stato, 2);
    const nlohmann::json elenco = nlohmann::json::parse(esito.uscita);

    const nlohmann::json* ripetuta = trova(elenco, 3, "riga-ripetuta");
    ASSERT_NE(ripetuta, nullptr) << esito.uscita;
    ASSERT_EQ((*ripetuta)["correlati"].size(), 1u);
    EXPECT_EQ((*ripetuta)["correlati"][0]["riga"], 2);
    EXPECT_EQ((*ripetuta)["correlati"][0]["colonna"], 1);
    ASSERT_EQ((*ripetuta)["correzioni"].size(), 1u);
    const nlohmann::json& togli = (*ripetuta)["correzioni"][0];
    EXPECT_EQ(togli["riga"], 2);
    EXPECT_EQ(togli["colonna"], 1);
    EXPECT_EQ(togli["colonna_fine"], 13);
    EXPECT_EQ(togli["testo"], "");

    const nlohmann::json* velocita = trova(elenco, 5, "velocita-arrotondata");
    ASSERT_NE(velocita, nullptr) << esito.uscita;
    EXPECT_EQ((*velocita)["colonna"], 16);
    EXPECT_EQ((*velocita)["colonna_fine"], 18);
    ASSERT_EQ((*velocita)["correzioni"].size(), 1u);
    EXPECT_EQ((*velocita)["correzioni"][0]["testo"], "70");
    EXPECT_EQ((*velocita)["correzioni"][0]["colonna"], 16);
    EXPECT_EQ((*velocita)["correzioni"][0]["colonna_fine"], 18);
}

} // namespace
} // namespace corvenna
