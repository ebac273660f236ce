#include "base/json_limitato.hpp"

#include <gtest/gtest.h>

#include <string>

namespace corvenna {
namespace {

std::string annidato(int livelli) {
    return std::string(static_cast<std::size_t>(livelli), '[') +
           std::string(static_cast<std::size_t>(livelli), ']');
}

TEST(LeggiJson, ReadsAValueAndRefusesWhatIsNoneWithItsReason) {
    struct caso {
        std::string testo;
        difetto_json difetto;
        std::string motivo;
    };
    const caso casi[] = {
        {R"({"a": [1, {"b": "c"}]})", difetto_json::nessuno, ""},
        {annidato(64), difetto_json::nessuno, ""},
        {annidato(65), difetto_json::profondita, "JSON annidato oltre 64 livelli"},
        // A million brackets, never closed: refused at the 65th, nothing built past it.
        {std::string(1000000, '['), difetto_json::profondita, "JSON annidato oltre 64 livelli"},
        {R"({"a": )" + std::string(40, '{') + R"("x": 1})", difetto_json::sintassi,
         "JSON non valido al byte 8"},
        {R"({"a": 1e99999})", difetto_json::numero, "JSON con un numero fuori dall'intervallo"},
        {"", difetto_json::sintassi, "JSON non valido al byte 1"},
    };
    for (const caso& c : casi) {
        const json_letto l = leggi_json(c.testo);
        EXPECT_EQ(l.difetto, c.difetto) << c.testo.substr(0, 80);
        EXPECT_EQ(testo_difetto(l), c.motivo) << c.testo.substr(0, 80);
        if (!l.riuscito()) {
            EXPECT_TRUE(l.valore.is_null());
        }
    }
    EXPECT_EQ(leggi_json(R"({"a": [1, {"b": "c"}]})").valore["a"][1]["b"], "c");
}

} // namespace
} // namespace corvenna
