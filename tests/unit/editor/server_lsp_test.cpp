#include "base/descrizione.hpp"
#include "editor/cornice_messaggi.hpp"
#include "editor/server_lsp.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvenna {
namespace {

using nlohmann::json;

// The diagnosis the tests choose: a function of the two texts, and what it was last given.
struct diagnosi_finta final : diagnosi {
    std::function<elenco_diagnostiche(const testi_scenario&)> risposta = [](const testi_scenario&) {
        return elenco_diagnostiche{};
    };
    testi_scenario ultimi;
    int chiamate = 0;
    elenco_diagnostiche esamina(const testi_scenario& t) override {
        ultimi = t;
        ++chiamate;
        return risposta(t);
    }
    std::string descrivi_metro(const testi_scenario& t, long long metro) override {
        return "metro " + std::to_string(metro) + " di " + t.identita.nome_scenario + "_" +
               t.identita.numero_treno;
    }
    // As if the kilometres counted from 1500 m back.
    std::string chilometro(const testi_scenario&, long long metro) override {
        return "km " + std::to_string((metro - 1500) / 1000) + "+" +
               std::to_string((metro - 1500) % 1000);
    }
};

struct disco_finto final : accesso_file {
    std::map<std::string, std::string> file;
    std::optional<std::string> leggi(const std::string& p) override {
        const auto f = file.find(p);
        return f == file.end() ? std::nullopt : std::optional(f->second);
    }
    std::vector<std::string> elenca(const std::string& cartella) override {
        std::vector<std::string> r;
        for (const auto& [p, testo] : file)
            if (p.starts_with(cartella) && p.find('/', cartella.size()) == std::string::npos)
                r.push_back(p.substr(cartella.size()));
        return r;
    }
};

// A small editor: each message framed into the bytes the server's stream would carry, each
// answer framed out and read back, as a real client sees them.
struct cliente {
    diagnosi_finta diagnosi;
    disco_finto disco;
    server_lsp server{diagnosi, disco};
    int prossimo_id = 1;

    std::vector<json> invia_byte(const std::string& byte) {
        lettore_cornici ingresso;
        ingresso.aggiungi(byte);
        std::vector<json> risposte;
        lettore_cornici ritorno;
        while (auto c = ingresso.prossima()) {
            const auto uscita = c->errore.empty() ? server.ricevi_testo(c->corpo)
                                                  : server.errore_cornice(c->errore);
            for (const json& m : uscita)
                ritorno.aggiungi(incornicia(m.dump()));
        }
        while (auto c = ritorno.prossima())
            risposte.push_back(json::parse(c->corpo));
        return risposte;
    }
    std::vector<json> invia(const json& messaggio) {
        return invia_byte(incornicia(messaggio.dump()));
    }
    // The answer to a request (the last message it brings).
    json richiesta(const std::string& metodo, const json& parametri) {
        const auto r = invia(
            {{"jsonrpc", "2.0"}, {"id", prossimo_id++}, {"method", metodo}, {"params", parametri}});
        return r.empty() ? json() : r.back();
    }
    std::vector<json> notifica(const std::string& metodo, const json& parametri) {
        return invia({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", parametri}});
    }
    // The same, the message given to the server as parsed: for a text of megabytes, whose
    // framing and parsing the other tests cover.
    std::vector<json> notifica_diretta(const std::string& metodo, const json& parametri) {
        return server.ricevi({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", parametri}});
    }
    void inizializza() {
        richiesta("initialize", {{"capabilities", json::object()}});
        notifica("initialized", json::object());
    }
    std::vector<json> apri(const std::string& uri, const std::string& testo) {
        return notifica(
            "textDocument/didOpen",
            {{"textDocument",
              {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", testo}}}});
    }
};

json posizione(int riga, int carattere) {
    return {{"line", riga}, {"character", carattere}};
}
json documento(const std::string& uri) {
    return {{"uri", uri}};
}

// The diagnostics published for `uri` among `messaggi`.
std::optional<json> pubblicate(const std::vector<json>& messaggi, const std::string& uri) {
    for (const json& m : messaggi)
        if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
            return m["params"]["diagnostics"];
    return std::nullopt;
}

const std::string uri_linea = "file:///autore/Rivalta_linea.txt";
const std::string uri_treno = "file:///autore/Rivalta_2024-.txt";
const std::string linea = "[generale]\r\nlunghezza percorso,  88000\r\n[indicazioni]\r\n"
                          "cartello_indicatore,  99500,     (   P.L.  )(km 1+522)\r\n[fine]\r\n";
const std::string treno = "[generale]\r\nvelocita,  0,  75\r\n[segnali]\r\n"
                          "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\r\n[fine]\r\n";

diagnostica errore_a(descrizione file, int riga, int colonna, int fine = 0) {
    diagnostica d;
    d.file = file;
    d.riga = riga;
    d.colonna = colonna;
    d.colonna_fine = fine;
    d.codice = 15;
    d.messaggio = "posizione 99500 oltre il percorso (88000 m)";
    return d;
}

TEST(ServerLsp, LifecycleAndUnknownOrMalformedMessages) {
    cliente c;
    // Before initialize: requests refused, notifications dropped.
    EXPECT_EQ(c.richiesta("textDocument/hover", json::object())["error"]["code"], -32002);
    const json init = c.richiesta("initialize", {{"capabilities", json::object()}});
    EXPECT_EQ(init["result"]["capabilities"]["textDocumentSync"]["change"], 2);
    EXPECT_EQ(init["result"]["capabilities"]["positionEncoding"], "utf-16");

    struct caso {
        const char* nome;
        std::string byte;
        int codice;
    };
    const caso casi[] = {
        {"unknown request", incornicia(R"({"jsonrpc":"2.0","id":7,"method":"workspace/nulla"})"),
         -32601},
        {"bad JSON", incornicia(R"({"jsonrpc":"2.0","id":8,"meth)"), -32700},
        {"bad header", "Content-Length: tanti\r\n\r\n{}", -32700},
        {"not an object", incornicia("[1,2]"), -32600},
        {"bad params",
         incornicia(
             R"({"jsonrpc":"2.0","id":9,"method":"textDocument/hover","params":{"textDocument":3}})"),
         -32602},
    };
    for (const caso& k : casi) {
        const auto r = c.invia_byte(k.byte);
        ASSERT_EQ(r.size(), 1u) << k.nome;
        EXPECT_EQ(r[0]["error"]["code"], k.codice) << k.nome;
    }
    // Unknown notifications and answers to nothing are ignored.
    EXPECT_TRUE(c.notifica("$/qualcosa", json::object()).empty());
    EXPECT_TRUE(c.invia({{"jsonrpc", "2.0"}, {"id", 99}, {"result", nullptr}}).empty());
    // A malformed notification is told in the log, not answered.
    const auto log = c.notifica("textDocument/didOpen", {{"textDocument", 1}});
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0]["method"], "window/logMessage");

    EXPECT_EQ(c.richiesta("shutdown", nullptr)["result"], nullptr);
    EXPECT_EQ(c.richiesta("textDocument/hover", json::object())["error"]["code"], -32600);
    EXPECT_FALSE(c.server.finito());
    c.notifica("exit", nullptr);
    EXPECT_TRUE(c.server.finito());
    EXPECT_EQ(c.server.stato_uscita(), 0);

    cliente senza_arresto;
    senza_arresto.inizializza();
    senza_arresto.notifica("exit", nullptr);
    EXPECT_EQ(senza_arresto.server.stato_uscita(), 1);
}

TEST(ServerLsp, PairDiagnosedTogetherWithPartnerFromDiskAndClearedWhenFixed) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_2024-.txt"] = treno;
    c.disco.file["/autore/altro_9999-.txt"] = "";
    // An error in the line and a warning in the train, both from one compile.
    c.diagnosi.risposta = [](const testi_scenario& t) {
        elenco_diagnostiche e;
        if (t.linea.find("99500") != std::string::npos)
            e.push_back(errore_a(descrizione::linea, 4, 23));
        diagnostica avviso = errore_a(descrizione::treno, 4, 11);
        avviso.livello = gravita::avviso;
        avviso.codice = 0;
        avviso.tipo = tipo_avviso::velocita_arrotondata;
        avviso.messaggio = "la velocita' non e' multipla di 5";
        e.push_back(avviso);
        return e;
    };
    const auto aperto = c.apri(uri_linea, linea);
    EXPECT_EQ(c.diagnosi.ultimi.treno, treno) << "the train read from disk";
    EXPECT_EQ(c.diagnosi.ultimi.identita.nome_scenario, "Rivalta");
    EXPECT_EQ(c.diagnosi.ultimi.identita.numero_treno, "2024");
    const auto l = pubblicate(aperto, uri_linea);
    ASSERT_TRUE(l);
    ASSERT_EQ(l->size(), 1u);
    EXPECT_EQ((*l)[0]["range"]["start"], posizione(3, 22));
    EXPECT_EQ((*l)[0]["range"]["end"], posizione(3, 27)) << "to the field's end";
    EXPECT_EQ((*l)[0]["severity"], 1);
    EXPECT_EQ((*l)[0]["code"], 15);
    const auto t = pubblicate(aperto, uri_treno);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->size(), 1u);
    EXPECT_EQ((*t)[0]["severity"], 2);
    EXPECT_EQ((*t)[0]["code"], "velocita-arrotondata");

    // The fix, as an incremental change: the error goes, the list becomes empty.
    json modifica = {{"range", {{"start", posizione(3, 21)}, {"end", posizione(3, 26)}}},
                     {"text", " 2900"}};
    const auto corretto = c.notifica("textDocument/didChange",
                                     {{"textDocument", {{"uri", uri_linea}, {"version", 2}}},
                                      {"contentChanges", json::array({modifica})}});
    ASSERT_TRUE(pubblicate(corretto, uri_linea));
    EXPECT_TRUE(pubblicate(corretto, uri_linea)->empty());
    EXPECT_EQ(pubblicate(corretto, uri_treno)->size(), 1u);

    // Once the train is open, its text is the editor's, not the disk's.
    c.apri(uri_treno, "[generale]\r\n");
    EXPECT_EQ(c.diagnosi.ultimi.treno, "[generale]\r\n");
    EXPECT_NE(c.diagnosi.ultimi.linea.find("2900"), std::string::npos);
}

TEST(ServerLsp, FilesOutsideAPairAreToldWhy) {
    cliente c;
    c.inizializza();
    const auto senza_nome =
        pubblicate(c.apri("file:///x/appunti.txt", "x"), "file:///x/appunti.txt");
    ASSERT_TRUE(senza_nome);
    EXPECT_EQ((*senza_nome)[0]["severity"], 3);
    const auto senza_treno =
        pubblicate(c.apri("file:///x/Sola_linea.txt", linea), "file:///x/Sola_linea.txt");
    ASSERT_TRUE(senza_treno);
    EXPECT_NE((*senza_treno)[0]["message"].get<std::string>().find("Sola_NUMERO-.txt"),
              std::string::npos);
    const auto senza_linea =
        pubblicate(c.apri("file:///x/Altra_1111-.txt", treno), "file:///x/Altra_1111-.txt");
    ASSERT_TRUE(senza_linea);
    EXPECT_NE((*senza_linea)[0]["message"].get<std::string>().find("/x/Altra_linea.txt"),
              std::string::npos);
    EXPECT_EQ(c.diagnosi.chiamate, 0);
}

TEST(ServerLsp, ColumnsCountCharactersAndPositionsUtf16Units) {
    cliente c;
    c.inizializza();
    // Before the field: a name with an accented letter and a character outside the BMP, each
    // one column for the compile; two UTF-16 units for the second.
    const std::string testo = "[generale]\r\nstazione,  \xF0\x9F\x9A\x82"
                              "è,  500\r\n";
    c.disco.file["/autore/Rivalta_linea.txt"] = linea;
    c.diagnosi.risposta = [](const testi_scenario&) {
        return elenco_diagnostiche{errore_a(descrizione::treno, 2, 16, 19)};
    };
    const auto r = pubblicate(c.apri(uri_treno, testo), uri_treno);
    ASSERT_TRUE(r);
    ASSERT_EQ(r->size(), 1u);
    EXPECT_EQ((*r)[0]["range"]["start"], posizione(1, 16));
    EXPECT_EQ((*r)[0]["range"]["end"], posizione(1, 19));
}

TEST(ServerLsp, RelatedPlacesAndFixesAcrossThePair) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_linea.txt"] = linea;
    c.diagnosi.risposta = [](const testi_scenario&) {
        diagnostica d = errore_a(descrizione::treno, 4, 11, 15);
        d.correlati.push_back({descrizione::linea, 4, 23, "il cartello che sovrascrive"});
        d.correzioni.push_back({"posizione 2850", descrizione::treno, 4, 11, 15, "2850"});
        d.correzioni.push_back({"togli il cartello", descrizione::linea, 4, 1, 22, ""});
        return elenco_diagnostiche{d};
    };
    const auto aperto = c.apri(uri_treno, treno);
    const json pubblicata = (*pubblicate(aperto, uri_treno))[0];
    ASSERT_EQ(pubblicata["relatedInformation"].size(), 1u);
    EXPECT_EQ(pubblicata["relatedInformation"][0]["location"]["uri"], uri_linea);

    const json definizione =
        c.richiesta("textDocument/definition",
                    {{"textDocument", documento(uri_treno)}, {"position", posizione(3, 12)}});
    ASSERT_EQ(definizione["result"].size(), 1u);
    EXPECT_EQ(definizione["result"][0]["uri"], uri_linea);
    EXPECT_EQ(definizione["result"][0]["range"]["start"], posizione(3, 22));
    EXPECT_EQ(c.richiesta("textDocument/definition", {{"textDocument", documento(uri_treno)},
                                                      {"position", posizione(0, 0)}})["result"],
              nullptr);

    const json azioni =
        c.richiesta("textDocument/codeAction",
                    {{"textDocument", documento(uri_treno)},
                     {"range", {{"start", posizione(3, 10)}, {"end", posizione(3, 10)}}},
                     {"context", {{"diagnostics", json::array()}}}});
    ASSERT_EQ(azioni["result"].size(), 2u);
    const json& prima = azioni["result"][0];
    EXPECT_EQ(prima["title"], "posizione 2850");
    EXPECT_EQ(prima["kind"], "quickfix");
    const json& modifica = prima["edit"]["changes"][uri_treno][0];
    EXPECT_EQ(modifica["range"]["start"], posizione(3, 10));
    EXPECT_EQ(modifica["range"]["end"], posizione(3, 14));
    EXPECT_EQ(modifica["newText"], "2850");
    EXPECT_TRUE(azioni["result"][1]["edit"]["changes"].contains(uri_linea))
        << "a fix in the other file";
    EXPECT_TRUE(c.richiesta("textDocument/codeAction",
                            {{"textDocument", documento(uri_treno)},
                             {"range", {{"start", posizione(0, 0)}, {"end", posizione(0, 1)}}},
                             {"context", {{"diagnostics", json::array()}}}})["result"]
                    .empty());
}

TEST(ServerLsp, HoverExplainsTheFieldUnderTheCursor) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_linea.txt"] = linea;
    c.apri(uri_treno, treno);
    const auto hover = [&](int riga, int carattere) {
        return c.richiesta("textDocument/hover",
                           {{"textDocument", documento(uri_treno)},
                            {"position", posizione(riga, carattere)}})["result"];
    };
    const json posizione_segnale = hover(3, 12);
    const std::string testo = posizione_segnale["contents"]["value"];
    EXPECT_NE(testo.find("**segnale**"), std::string::npos) << testo;
    EXPECT_NE(testo.find("Campo 1 di 11: `posizione` (m)"), std::string::npos) << testo;
    // The driver's kilometre and the cell come from the compile of the pair.
    EXPECT_NE(testo.find("2800 m dall'inizio del percorso\n\nNella compilazione: metro 2800 di "
                         "Rivalta_2024"),
              std::string::npos)
        << testo;
    EXPECT_EQ(posizione_segnale["range"]["start"], posizione(3, 10));
    EXPECT_EQ(posizione_segnale["range"]["end"], posizione(3, 14));
    EXPECT_NE(hover(3, 51)["contents"]["value"].get<std::string>().find("`tempo` (s)"),
              std::string::npos);
    EXPECT_NE(hover(1, 2)["contents"]["value"].get<std::string>().find("velocita"),
              std::string::npos);
    EXPECT_NE(hover(0, 3)["contents"]["value"].get<std::string>().find("Sezione"),
              std::string::npos);
    EXPECT_EQ(hover(40, 0), nullptr);
    // On the keyword, the row's fields and what the compile made at its position.
    EXPECT_NE(hover(3, 2)["contents"]["value"].get<std::string>().find(
                  "Nella compilazione: metro 2800 di Rivalta_2024"),
              std::string::npos);
}

TEST(ServerLsp, HoverTellsWhatTheCompileMakesOfACurveByItsLetters) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_2024-.txt"] = treno;
    c.apri(uri_linea, "[generale]\r\nlunghezza percorso,  88000\r\n[curve]\r\n"
                      "curvas3,  4100,  800\r\ncurva destra 1000,  6000,  500\r\n[fine]\r\n");
    const auto hover = [&](int riga, int carattere) {
        return c
            .richiesta("textDocument/hover",
                       {{"textDocument", documento(uri_linea)},
                        {"position", posizione(riga, carattere)}})["result"]["contents"]["value"]
            .get<std::string>();
    };
    EXPECT_NE(hover(3, 2).find("Nella compilazione: curva a sinistra, classe 3, raggio 2500 m, "
                               "da 4100 m (km 2+600) a 4900 m (km 3+400)"),
              std::string::npos)
        << hover(3, 2);
    EXPECT_NE(hover(4, 12).find("curva a sinistra, classe 1, raggio 10000 m"), std::string::npos)
        << hover(4, 12);
}

TEST(ServerLsp, CompletionOffersSectionsAndRowSnippetsAtTheKeyword) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_linea.txt"] = linea;
    c.apri(uri_treno, treno + "  seg\r\n");
    const json elenco =
        c.richiesta("textDocument/completion", {{"textDocument", documento(uri_treno)},
                                                {"position", posizione(5, 5)}})["result"];
    std::map<std::string, json> per_nome;
    for (const json& e : elenco["items"])
        per_nome[e["label"]] = e;
    ASSERT_TRUE(per_nome.contains("[stazioni]"));
    ASSERT_TRUE(per_nome.contains("segnale"));
    EXPECT_FALSE(per_nome.contains("pendenza")) << "a row of the line, not of the train";
    const json& segnale = per_nome["segnale"];
    EXPECT_EQ(segnale["insertTextFormat"], 2);
    EXPECT_EQ(segnale["textEdit"]["newText"],
              "segnale,  ${1:posizione},  ${2:sx},  ${3:s1},  ${4:s2},  ${5:s3},  ${6:rapp},  "
              "${7:dx},  ${8:d1},  ${9:d2},  ${10:d3},  ${11:tempo}");
    EXPECT_EQ(segnale["textEdit"]["range"]["start"], posizione(5, 2)) << "the typed word replaced";
    EXPECT_EQ(segnale["textEdit"]["range"]["end"], posizione(5, 5));
    // In a value: nothing.
    EXPECT_TRUE(
        c.richiesta("textDocument/completion", {{"textDocument", documento(uri_treno)},
                                                {"position", posizione(3, 12)}})["result"]["items"]
            .empty());
}

TEST(ServerLsp, SymbolsAreSectionsWithStationsSignalsTunnelsAndBoards) {
    cliente c;
    c.inizializza();
    const std::string testo_linea =
        "[generale]\r\nlunghezza percorso,  88000\r\n[montagne]\r\n"
        "montagna,  8700,  11050,  11\r\n[indicazioni]\r\n"
        "cartello_indicatore,  8600,     (Galleria)(MONTE SCARDO)\r\n[fine]\r\n";
    c.disco.file["/autore/Rivalta_2024-.txt"] = treno;
    c.apri(uri_linea, testo_linea);
    const json simboli = c.richiesta("textDocument/documentSymbol",
                                     {{"textDocument", documento(uri_linea)}})["result"];
    std::vector<std::string> nomi;
    for (const json& s : simboli) {
        nomi.push_back(s["name"]);
        for (const json& figlio : s["children"])
            nomi.push_back("  " + figlio["name"].get<std::string>());
    }
    EXPECT_EQ(nomi,
              (std::vector<std::string>{"[generale]", "[montagne]", "  galleria 8700-11050 m",
                                        "[indicazioni]", "  (Galleria)(MONTE SCARDO)", "[fine]"}));
    EXPECT_EQ(simboli[1]["range"]["end"], posizione(3, 28)) << "a section ends at its last row";

    const std::string testo_treno = treno + "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  "
                                            "4,  1,  1,  6,  41,  0,   CORVENNA\r\n";
    c.apri(uri_treno, testo_treno);
    const json del_treno = c.richiesta("textDocument/documentSymbol",
                                       {{"textDocument", documento(uri_treno)}})["result"];
    ASSERT_EQ(del_treno.size(), 3u);
    ASSERT_EQ(del_treno[2]["children"].size(), 1u) << del_treno.dump();
    EXPECT_EQ(del_treno[1]["children"][0]["name"], "segnale 2800 m");
    EXPECT_EQ(del_treno[2]["children"][0]["name"], "CORVENNA");
    // The driver's kilometre from the compile of the pair.
    EXPECT_EQ(del_treno[1]["children"][0]["detail"], "segnale a 2800 m (km 1+300)");
    EXPECT_EQ(simboli[1]["children"][0]["detail"], "montagna di tipo 11 da 8700 m (km 7+200)");
}

TEST(ServerLsp, DeepNestingIsRefusedWhileParsingAndTheServerStaysUp) {
    cliente c;
    // 100 000 arrays in the parameters, before initialize: a parse error, nothing built.
    const std::string profondo = R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":)" +
                                 std::string(100000, '[') + std::string(100000, ']') + "}";
    const auto r = c.invia_byte(incornicia(profondo));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0]["error"]["code"], -32700);
    EXPECT_EQ(r[0]["id"], nullptr);
    EXPECT_EQ(r[0]["error"]["message"],
              "il messaggio non e' JSON valido: JSON annidato oltre 64 livelli");
    // 64 levels in all are read: the request is answered (before initialize, refused as such).
    const std::string al_limite = R"({"jsonrpc":"2.0","id":2,"method":"x","params":)" +
                                  std::string(63, '[') + std::string(63, ']') + "}";
    EXPECT_EQ(c.invia_byte(incornicia(al_limite))[0]["error"]["code"], -32002);
    const json init = c.richiesta("initialize", {{"capabilities", json::object()}});
    EXPECT_TRUE(init.contains("result"));
    EXPECT_FALSE(c.server.finito());
}

TEST(ServerLsp, AUriThatIsNoFileIsRefusedNotTakenAsAPath) {
    cliente c;
    c.inizializza();
    c.disco.file["untitled:Rivalta_linea.txt"] = linea;
    const std::string uri = "untitled:Rivalta_2024-.txt";
    const auto aperto = c.apri(uri, treno);
    const auto nota = pubblicate(aperto, uri);
    ASSERT_TRUE(nota);
    ASSERT_EQ(nota->size(), 1u);
    EXPECT_EQ((*nota)[0]["severity"], 3);
    EXPECT_EQ((*nota)[0]["message"],
              "'untitled:Rivalta_2024-.txt' non e' un file (file:): si controllano solo le "
              "descrizioni salvate su disco, NOME_linea.txt e NOME_NUMERO-.txt");
    EXPECT_EQ(c.diagnosi.chiamate, 0);
    const json hover = c.richiesta(
        "textDocument/hover", {{"textDocument", documento(uri)}, {"position", posizione(3, 2)}});
    EXPECT_EQ(hover["error"]["code"], -32602);
    EXPECT_NE(hover["error"]["message"].get<std::string>().find("non e' un file"),
              std::string::npos);
    // Without a path, a "file:" URI names no file either.
    EXPECT_EQ(c.richiesta("textDocument/hover", {{"textDocument", documento("file:server")},
                                                 {"position", posizione(0, 0)}})["error"]["code"],
              -32602);
}

TEST(ServerLsp, NamesThatControllaRefusesAreNotCompiled) {
    struct caso {
        std::string uri_linea;
        std::string file_treno;
        std::string messaggio;
    };
    const caso casi[] = {
        {"file:///x/CON_linea.txt", "/x/CON_0001-.txt",
         "il nome dello scenario \"CON\" non puo' dare nomi di file: e' un nome che Windows "
         "riserva ai dispositivi (CON, PRN, AUX, NUL, COM1-9, LPT1-9); la coppia non e' "
         "controllata"},
        {"file:///x/Citt%C3%A0_linea.txt", "/x/Citt\xC3\xA0_0001-.txt",
         "il nome dello scenario \"Citt\xC3\xA0\" non puo' dare nomi di file: contiene un "
         "carattere che non e' ASCII stampabile; la coppia non e' controllata"},
        {"file:///x/Linea%20_linea.txt", "/x/Linea _0001-.txt",
         "il nome dello scenario \"Linea \" non puo' dare nomi di file: finisce con un punto o "
         "uno spazio; la coppia non e' controllata"},
    };
    for (const caso& k : casi) {
        cliente c;
        c.inizializza();
        c.disco.file[k.file_treno] = treno;
        const auto d = pubblicate(c.apri(k.uri_linea, linea), k.uri_linea);
        ASSERT_TRUE(d) << k.uri_linea;
        ASSERT_EQ(d->size(), 1u) << k.uri_linea;
        EXPECT_EQ((*d)[0]["severity"], 1);
        EXPECT_EQ((*d)[0]["message"], k.messaggio);
        EXPECT_EQ(c.diagnosi.chiamate, 0) << k.uri_linea;
    }
}

TEST(ServerLsp, ADocumentPastTheDescriptionLimitIsNotHeldNorCompiled) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_2024-.txt"] = treno;
    const auto troppo_grande = [](const std::vector<json>& messaggi) {
        const auto d = pubblicate(messaggi, uri_linea);
        return d && d->size() == 1 && (*d)[0]["severity"] == 1
                   ? (*d)[0]["message"].get<std::string>()
                   : std::string();
    };
    // Opened whole, one byte past 16 MiB.
    std::string grande = linea;
    grande.resize(byte_massimi_descrizione + 1, 'x');
    const auto apri = [&](const std::string& uri, const std::string& testo) {
        return c.notifica_diretta(
            "textDocument/didOpen",
            {{"textDocument",
              {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", testo}}}});
    };
    EXPECT_EQ(troppo_grande(apri(uri_linea, grande)),
              "il documento e' troppo grande: 16777217 byte, oltre il massimo di 16 MiB di una "
              "descrizione; non e' controllato finche' il suo testo intero non torna sotto il "
              "massimo");
    EXPECT_EQ(c.diagnosi.chiamate, 0);
    EXPECT_EQ(c.richiesta("textDocument/hover", {{"textDocument", documento(uri_linea)},
                                                 {"position", posizione(0, 1)}})["result"],
              nullptr);

    // A whole text within the limit is taken again and compiled.
    const auto cambia = [&](const json& modifica, int versione) {
        return c.notifica_diretta("textDocument/didChange",
                                  {{"textDocument", {{"uri", uri_linea}, {"version", versione}}},
                                   {"contentChanges", json::array({modifica})}});
    };
    grande.resize(byte_massimi_descrizione - 4);
    EXPECT_EQ(troppo_grande(cambia({{"text", grande}}, 2)), "");
    EXPECT_EQ(c.diagnosi.chiamate, 1);
    // Grown past the limit by an insertion: dropped, told, not compiled.
    const json inserimento = {{"range", {{"start", posizione(0, 0)}, {"end", posizione(0, 0)}}},
                              {"text", "0123456789"}};
    EXPECT_NE(troppo_grande(cambia(inserimento, 3)).find("16777222 byte"), std::string::npos);
    EXPECT_EQ(c.diagnosi.chiamate, 1);
    // Later edits of a text not held change nothing; a whole text brings it back.
    EXPECT_NE(troppo_grande(cambia(inserimento, 4)), "");
    EXPECT_TRUE(pubblicate(cambia({{"text", linea}}, 5), uri_linea)->empty());
    EXPECT_EQ(c.diagnosi.ultimi.linea, linea);

    // The partner of a document too large is not compiled with it either.
    apri(uri_linea, grande + "0123456789");
    const auto treno_aperto = pubblicate(apri(uri_treno, treno), uri_treno);
    ASSERT_TRUE(treno_aperto);
    ASSERT_EQ(treno_aperto->size(), 1u);
    EXPECT_EQ((*treno_aperto)[0]["message"],
              "l'altra descrizione di questo scenario, /autore/Rivalta_linea.txt, e' troppo "
              "grande (16777222 byte, oltre il massimo di 16 MiB)");
    EXPECT_EQ(c.diagnosi.chiamate, 2);
}

TEST(ServerLsp, CompletionRanksTheSectionsKeywordsFirstAndRepeatsNoLabel) {
    cliente c;
    c.inizializza();
    c.disco.file["/autore/Rivalta_linea.txt"] = linea;
    // "se" typed on the row after the signal's, under [segnali].
    c.apri(uri_treno, treno.substr(0, treno.find("[fine]")) + "se\r\n[fine]\r\n");
    const json elenco =
        c.richiesta("textDocument/completion", {{"textDocument", documento(uri_treno)},
                                                {"position", posizione(4, 2)}})["result"];
    // As an editor lists them: by sortText.
    std::vector<std::pair<std::string, std::string>> per_ordine;
    for (const json& e : elenco["items"])
        per_ordine.emplace_back(e["sortText"], e["label"]);
    std::sort(per_ordine.begin(), per_ordine.end());
    ASSERT_FALSE(per_ordine.empty());
    EXPECT_EQ(per_ordine.front().second, "segnale") << "the row of [segnali] first";
    std::set<std::string> etichette;
    for (const auto& [ordine, etichetta] : per_ordine)
        EXPECT_TRUE(etichette.insert(etichetta).second) << etichetta << " offered twice";
    EXPECT_TRUE(etichette.contains("[fine]"));
    EXPECT_TRUE(etichette.contains("stazione"));
    // The headers come after every row; once the word opens with '[', they alone.
    EXPECT_EQ(per_ordine.back().second.front(), '[');
    c.apri(uri_treno, treno + "[s\r\n");
    const json sezioni =
        c.richiesta("textDocument/completion", {{"textDocument", documento(uri_treno)},
                                                {"position", posizione(4, 2)}})["result"];
    ASSERT_FALSE(sezioni["items"].empty());
    for (const json& e : sezioni["items"])
        EXPECT_EQ(e["label"].get<std::string>().front(), '[') << e["label"];
}

} // namespace
} // namespace corvenna
