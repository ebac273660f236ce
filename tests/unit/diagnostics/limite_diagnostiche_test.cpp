#include "diagnostics/diagnostiche_json.hpp"
#include "diagnostics/limite_diagnostiche.hpp"
#include "diagnostics/raccolta_diagnostiche.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>

namespace corvenna {
namespace {

diagnostica avviso_a(tipo_avviso tipo, int riga, const std::string& messaggio) {
    diagnostica d;
    d.livello = gravita::avviso;
    d.file = descrizione::linea;
    d.riga = riga;
    d.colonna = 1;
    d.tipo = tipo;
    d.messaggio = messaggio;
    return d;
}

diagnostica errore_di(std::int32_t codice, int riga) {
    diagnostica d;
    d.file = descrizione::treno;
    d.riga = riga;
    d.colonna = 3;
    d.codice = codice;
    d.messaggio = "'x' non e' un numero";
    return d;
}

// The first diagnostics of each kind are shown, whatever they quote; the rest of the kind is
// counted, kinds in the order their first one came, errors apart by code.
TEST(LimiteDiagnostiche, ShowsTheFirstOfEachKindAndCountsTheRest) {
    limite_diagnostiche limite(2);
    std::string mostrate;
    const auto passa = [&](const diagnostica& d) {
        if (limite.mostra(d))
            mostrate += std::to_string(d.riga) + ' ';
    };
    for (int riga = 1; riga <= 5; ++riga) {
        // Built by appending: GCC 12 warns falsely on the inlined concatenation of temporaries.
        std::string messaggio = "'x";
        messaggio.append(std::to_string(riga)).append("' non e' una parola chiave");
        passa(avviso_a(tipo_avviso::parola_chiave_sconosciuta, riga, messaggio));
    }
    passa(errore_di(25, 10));
    passa(avviso_a(tipo_avviso::riga_ripetuta, 11, "r"));
    passa(errore_di(15, 12));
    passa(errore_di(25, 13));
    passa(errore_di(25, 14));
    passa(avviso_a(tipo_avviso::parola_chiave_sconosciuta, 15, "'y' non e' una parola chiave"));
    EXPECT_EQ(mostrate, "1 2 10 11 12 13 ");

    ASSERT_EQ(limite.tralasciate().size(), 2u);
    const diagnostiche_tralasciate& primo = limite.tralasciate()[0];
    EXPECT_EQ(primo.nome, "parola-chiave-sconosciuta");
    EXPECT_EQ(primo.quante, 4u);
    EXPECT_EQ(testo_tralasciate(primo),
              "... e altre 4 diagnostiche dello stesso tipo (parola-chiave-sconosciuta)");
    const diagnostiche_tralasciate& secondo = limite.tralasciate()[1];
    EXPECT_EQ(secondo.livello, gravita::errore);
    EXPECT_EQ(secondo.quante, 1u);
    EXPECT_EQ(testo_tralasciate(secondo),
              "... e un'altra diagnostica dello stesso tipo (codice 25)");
}

TEST(LimiteDiagnostiche, TwentyOfEachKindByDefault) {
    limite_diagnostiche limite;
    int mostrate = 0;
    for (int riga = 1; riga <= 16000; ++riga)
        mostrate += limite.mostra(avviso_a(tipo_avviso::parola_chiave_sconosciuta, riga, "m"));
    EXPECT_EQ(mostrate, 20);
    ASSERT_EQ(limite.tralasciate().size(), 1u);
    EXPECT_EQ(testo_tralasciate(limite.tralasciate()[0]),
              "... e altre 15980 diagnostiche dello stesso tipo (parola-chiave-sconosciuta)");
}

// A pass keeps the first of each kind and counts the rest in the last one it kept: the list
// stays short, and the report shows and counts exactly what it would of the whole list.
TEST(RaccoltaDiagnostiche, KeepsTheFirstOfEachKindAndTheReportCountsEveryOne) {
    elenco_diagnostiche tenute;
    elenco_diagnostiche tutte;
    raccolta_diagnostiche raccolta(30);
    int tenute_ora = 0;
    for (int riga = 1; riga <= 5000; ++riga) {
        const diagnostica d = riga % 1000 == 0
                                  ? errore_di(25, riga)
                                  : avviso_a(tipo_avviso::parola_chiave_sconosciuta, riga, "m");
        tenute_ora += raccolta.aggiungi(tenute, d) != nullptr;
        tutte.push_back(d);
    }
    EXPECT_EQ(tenute_ora, 35);
    ASSERT_EQ(tenute.size(), 35u);
    EXPECT_EQ(tenute.back().riga, 5000);
    EXPECT_EQ(tenute[29].altre_uguali, 4995u - 30u) << "the 30th warning counts the others";

    const auto rapporto = [](const elenco_diagnostiche& elenco) {
        limite_diagnostiche limite;
        std::string r;
        for (const diagnostica& d : elenco)
            if (limite.mostra(d))
                r += std::to_string(d.riga) + " ";
        for (const diagnostiche_tralasciate& t : limite.tralasciate())
            r += testo_tralasciate(t) + "; ";
        return r;
    };
    EXPECT_EQ(rapporto(tenute), rapporto(tutte));
    EXPECT_NE(rapporto(tenute).find("... e altre 4975 diagnostiche dello stesso tipo "
                                    "(parola-chiave-sconosciuta)"),
              std::string::npos);
}

std::string scritto(const elenco_diagnostiche& elenco, std::size_t per_tipo, int rientro) {
    std::ostringstream uscita;
    limite_diagnostiche limite(per_tipo);
    scrivi_diagnostiche_json(uscita, elenco, "L.txt", "T\xFF.txt", limite, rientro);
    return uscita.str();
}

// Written one object at a time, the array is byte for byte the one made whole, on one line or
// indented, empty or not.
TEST(LimiteDiagnostiche, JsonWrittenAsItGoesIsTheArrayMadeWhole) {
    elenco_diagnostiche elenco;
    for (const int rientro : {-1, 2})
        EXPECT_EQ(scritto(elenco, 20, rientro),
                  diagnostiche_json(elenco, "L.txt", "T\xFF.txt", rientro));
    elenco.push_back(avviso_a(tipo_avviso::riga_ripetuta, 4, "CITT\xC0 \"\x1b\""));
    elenco.push_back(errore_di(25, 7));
    diagnostica senza_luogo;
    senza_luogo.codice = 1250;
    elenco.push_back(senza_luogo);
    for (const int rientro : {-1, 2, 4})
        EXPECT_EQ(scritto(elenco, 20, rientro),
                  diagnostiche_json(elenco, "L.txt", "T\xFF.txt", rientro));
}

// The kinds left out end the array, one object each with the diagnostics' fields and the count.
TEST(LimiteDiagnostiche, JsonEndsWithOneObjectPerKindLeftOut) {
    elenco_diagnostiche elenco;
    for (int riga = 1; riga <= 4; ++riga)
        elenco.push_back(avviso_a(tipo_avviso::parola_chiave_sconosciuta, riga, "m"));
    elenco.push_back(errore_di(25, 9));
    elenco.push_back(errore_di(25, 10));
    const std::string testo = scritto(elenco, 1, -1);
    const auto array = nlohmann::ordered_json::parse(testo);
    ASSERT_EQ(array.size(), 4u);
    EXPECT_EQ(array[0]["riga"], 1);
    EXPECT_EQ(array[1]["riga"], 9);
    EXPECT_EQ(array[2].dump(),
              R"j({"file":null,"riga":null,"colonna":null,"gravita":"avviso",)j"
              R"j("codice":"parola-chiave-sconosciuta","messaggio":"... e altre 3 diagnostiche )j"
              R"j(dello stesso tipo (parola-chiave-sconosciuta)","metri":null,)j"
              R"j("nome":"parola-chiave-sconosciuta","numero":null,"colonna_fine":null,)j"
              R"j("correlati":[],"correzioni":[],"tralasciate":3})j");
    EXPECT_EQ(array[3].dump(),
              R"j({"file":null,"riga":null,"colonna":null,"gravita":"errore","codice":25,)j"
              R"j("messaggio":"... e un'altra diagnostica dello stesso tipo (codice 25)",)j"
              R"j("metri":null,"nome":"lettura-fallita","numero":25,"colonna_fine":null,)j"
              R"j("correlati":[],"correzioni":[],"tralasciate":1})j");
}

} // namespace
} // namespace corvenna
