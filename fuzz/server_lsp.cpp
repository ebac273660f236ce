// The language server on an arbitrary byte stream, as `scenario lsp` reads standard input: the
// bytes are cut into frames, each body given to the server, each answer printed as the program
// prints it. The diagnosis is a stand-in that turns every row of the texts into a diagnostic
// with a range, a related place in the other file and a fix, so that columns, UTF-16 offsets,
// edits and fixes run on whatever texts and positions the stream brings. Seeds in corpus_lsp/:
// whole sessions (initialize, open, change, hover, completion, symbols, definition, actions).

#include "editor/server_lsp.hpp"
#include "editor/cornice_messaggi.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace corvenna;

struct diagnosi_di_prova final : diagnosi {
    elenco_diagnostiche esamina(const testi_scenario& testi) override {
        elenco_diagnostiche e;
        int riga = 1;
        for (std::size_t p = 0; p < testi.linea.size() && e.size() < 50; ++p) {
            if (testi.linea[p] == '\n')
                ++riga;
            if (testi.linea[p] != ',')
                continue;
            diagnostica d;
            d.file = riga % 2 == 0 ? descrizione::treno : descrizione::linea;
            d.riga = riga;
            d.colonna = static_cast<int>(p % 97);
            d.colonna_fine = static_cast<int>(p % 131);
            d.messaggio = "riga \xE8";
            d.correlati.push_back({descrizione::treno, riga + 1, d.colonna + 3, "qui"});
            d.correzioni.push_back(
                {"correggi", std::nullopt, riga, d.colonna, d.colonna_fine, "x"});
            e.push_back(std::move(d));
        }
        return e;
    }
    std::string descrivi_metro(const testi_scenario&, long long metro) override {
        return "metro " + std::to_string(metro);
    }
    std::string chilometro(const testi_scenario&, long long metro) override {
        return "km " + std::to_string(metro / 1000);
    }
};

struct disco_di_prova final : accesso_file {
    std::optional<std::string> leggi(const std::string& percorso) override {
        if (percorso.ends_with("-.txt"))
            return std::string("[generale]\r\nvelocita,  0,  75\r\n[fine]\r\n");
        return std::nullopt;
    }
    std::vector<std::string> elenca(const std::string&) override { return {"Prova_0001-.txt"}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    diagnosi_di_prova diagnosi;
    disco_di_prova disco;
    server_lsp server(diagnosi, disco);
    lettore_cornici cornici;
    std::size_t scritti = 0;
    cornici.aggiungi(std::string_view(reinterpret_cast<const char*>(dati), dimensione));
    while (auto c = cornici.prossima()) {
        const auto uscita =
            c->errore.empty() ? server.ricevi_testo(c->corpo) : server.errore_cornice(c->errore);
        // Printed as the program prints each answer.
        for (const nlohmann::json& m : uscita)
            scritti +=
                incornicia(m.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)).size();
        if (server.finito())
            break;
    }
    static volatile std::size_t scritti_in_tutto = 0;
    scritti_in_tutto = scritti_in_tutto + scritti;
    return 0;
}
