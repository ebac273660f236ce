// `scenario lsp` as an editor runs it: framed messages on its standard input, its answers read
// back from its standard output, against what `scenario controlla --diagnostica json` reports
// for the same files.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace corvenna::prova_lsp {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using prova::cartella_temporanea;
using prova::esegui_strumento;
using prova::leggi_file;
using prova::scrivi_file;

std::string cornice(const json& m) {
    const std::string corpo = m.dump();
    return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}

// The bodies of the framed messages in `uscita`.
std::vector<json> messaggi(const std::string& uscita) {
    std::vector<json> r;
    std::size_t p = 0;
    while ((p = uscita.find("Content-Length: ", p)) != std::string::npos) {
        const std::size_t fine = uscita.find("\r\n\r\n", p);
        const std::size_t n = std::stoul(uscita.substr(p + 16, fine - p - 16));
        r.push_back(json::parse(uscita.substr(fine + 4, n)));
        p = fine + 4 + n;
    }
    return r;
}

// Runs `scenario lsp` in `cartella` with `ingresso` on its standard input.
prova::esito_strumento lsp(const fs::path& cartella, const std::string& ingresso) {
    scrivi_file(cartella / "ingresso.bin", ingresso);
    return esegui_strumento(cartella, {"lsp"}, {},
                            {"/bin/sh", "-c", "exec \"$0\" \"$@\" < ingresso.bin"});
}

json richiesta(int id, const std::string& metodo, const json& parametri) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", parametri}};
}
json notifica(const std::string& metodo, const json& parametri) {
    return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", parametri}};
}

struct modello_con_guasto {
    cartella_temporanea d;
    fs::path linea = d.percorso() / "Rivalta_linea.txt";
    fs::path treno = d.percorso() / "Rivalta_2024-.txt";
    std::string testo_linea;

    modello_con_guasto() {
        EXPECT_EQ(esegui_strumento(d.percorso(), {"esporta", "modello"}).stato, 0);
        testo_linea = leggi_file(d.percorso() / "modello" / "Corvenna_linea.txt");
        const std::size_t p = testo_linea.find("cartello_indicatore,  2900,");
        testo_linea.replace(p + 22, 4, "99500");
        scrivi_file(linea, testo_linea);
        // And a speed that is no multiple of 5: a warning in the train.
        std::string testo_treno = leggi_file(d.percorso() / "modello" / "Corvenna_7381-.txt");
        testo_treno.replace(testo_treno.find("velocita,  1500,  125"), 21, "velocita,  1500,  123");
        scrivi_file(treno, testo_treno);
    }
    std::string uri(const fs::path& p) const { return "file://" + p.string(); }
};

TEST(LspProcesso, DiagnosticsMatchControllaForBothFiles) {
    modello_con_guasto m;
    const auto controlla = esegui_strumento(
        m.d.percorso(), {"controlla", m.linea.string(), m.treno.string(), "--diagnostica", "json"});
    ASSERT_EQ(controlla.stato, 1);
    const json attese = json::parse(controlla.uscita);

    const std::string ingresso =
        cornice(richiesta(1, "initialize", {{"capabilities", json::object()}})) +
        cornice(notifica("initialized", json::object())) +
        cornice(notifica("textDocument/didOpen", {{"textDocument",
                                                   {{"uri", m.uri(m.linea)},
                                                    {"languageId", "scenario"},
                                                    {"version", 1},
                                                    {"text", m.testo_linea}}}})) +
        cornice(richiesta(2, "shutdown", nullptr)) + cornice(notifica("exit", nullptr));
    const auto esito = lsp(m.d.percorso(), ingresso);
    EXPECT_EQ(esito.stato, 0) << esito.errori;

    std::map<std::string, json> pubblicate;
    for (const json& x : messaggi(esito.uscita))
        if (x.value("method", "") == "textDocument/publishDiagnostics")
            pubblicate[x["params"]["uri"]] = x["params"]["diagnostics"];
    ASSERT_TRUE(pubblicate.contains(m.uri(m.linea)));
    ASSERT_TRUE(pubblicate.contains(m.uri(m.treno))) << "the partner, read from disk";

    // Every diagnostic of the JSON report at the same line, column, code and message.
    std::size_t trovate = 0;
    for (const json& a : attese) {
        if (a["file"].is_null())
            continue;
        const std::string uri = a["file"] == m.linea.string() ? m.uri(m.linea) : m.uri(m.treno);
        bool presente = false;
        for (const json& p : pubblicate[uri])
            presente =
                presente || (p["range"]["start"]["line"] == a["riga"].get<int>() - 1 &&
                             p["range"]["start"]["character"] == a["colonna"].get<int>() - 1 &&
                             p["code"] == a["codice"] && p["message"] == a["messaggio"]);
        EXPECT_TRUE(presente) << a.dump();
        ++trovate;
    }
    EXPECT_GE(trovate, 3u);
    EXPECT_EQ(pubblicate[m.uri(m.linea)].size() + pubblicate[m.uri(m.treno)].size(), trovate);
}

TEST(LspProcesso, MalformedInputIsAnsweredAndTheSessionGoesOn) {
    cartella_temporanea d;
    const std::string ingresso =
        cornice(richiesta(1, "initialize", {{"capabilities", json::object()}})) +
        "Content-Length: 12\r\n\r\n{not json!!}" + "Content-Length: 999999999999\r\n\r\n{}" +
        cornice(richiesta(2, "workspace/ignoto", json::object())) +
        cornice(richiesta(3, "shutdown", nullptr));
    // The input ends without "exit": the editor is gone, status 1.
    const auto esito = lsp(d.percorso(), ingresso);
    EXPECT_EQ(esito.stato, 1);
    std::vector<std::string> visti;
    for (const json& x : messaggi(esito.uscita))
        visti.push_back(x.contains("error") ? std::to_string(x["error"]["code"].get<int>())
                                            : "ok " + x["id"].dump());
    EXPECT_EQ(visti, (std::vector<std::string>{"ok 1", "-32700", "-32700", "-32601", "ok 3"}));
    EXPECT_NE(esito.errori.find("messaggio scartato"), std::string::npos);
}

// What a hostile editor (or a broken one) may send: each is answered, the process stays up and
// ends as the protocol wants.
TEST(LspProcesso, HostileInputIsAnsweredAndTheServerStaysUp) {
    cartella_temporanea d;
    const std::string profondo = R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":)" +
                                 std::string(100000, '[') + std::string(100000, ']') + "}";
    const std::string ingresso =
        // Before initialize: 100 000 nested arrays, a length of 13 digits.
        "Content-Length: " + std::to_string(profondo.size()) + "\r\n\r\n" + profondo +
        "Content-Length: 1000000000000\r\n\r\n" +
        cornice(richiesta(2, "initialize", {{"capabilities", json::object()}})) +
        cornice(notifica("textDocument/didOpen", {{"textDocument",
                                                   {{"uri", "untitled:Senza_linea.txt"},
                                                    {"languageId", "scenario"},
                                                    {"version", 1},
                                                    {"text", "[generale]"}}}})) +
        cornice(richiesta(3, "shutdown", nullptr)) + cornice(notifica("exit", nullptr));
    const auto esito = lsp(d.percorso(), ingresso);
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.errori, "scenario lsp: messaggio scartato: Content-Length 1000000000000 oltre "
                            "il massimo di 67108864 byte\n");
    std::vector<std::string> visti;
    for (const json& x : messaggi(esito.uscita)) {
        if (x.contains("error"))
            visti.push_back(x["error"]["message"]);
        else if (x.contains("method"))
            visti.push_back(x["params"]["uri"].get<std::string>() + ": " +
                            x["params"]["diagnostics"][0]["message"].get<std::string>());
        else
            visti.push_back("ok " + x["id"].dump());
    }
    EXPECT_EQ(visti,
              (std::vector<std::string>{
                  "il messaggio non e' JSON valido: JSON annidato oltre 64 livelli",
                  "messaggio scartato: Content-Length 1000000000000 oltre il massimo di 67108864 "
                  "byte",
                  "ok 2",
                  "untitled:Senza_linea.txt: 'untitled:Senza_linea.txt' non e' un file (file:): si "
                  "controllano solo le descrizioni salvate su disco, NOME_linea.txt e "
                  "NOME_NUMERO-.txt",
                  "ok 3"}));
}

} // namespace
} // namespace corvenna::prova_lsp
