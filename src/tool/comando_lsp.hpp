#pragma once

// `scenario lsp`: the language server on standard input and output, for editors. The server's
// logic is the editor layer's; here are the byte streams, the files it reads and the diagnosis
// it runs (the compile with its warnings, as `scenario controlla` runs it).

#include "editor/accesso_file.hpp"
#include "editor/diagnosi.hpp"
#include "inspect/ispezione_tratti.hpp"
#include "tool/comando.hpp"

#include <memory>
#include <string>

namespace corvenna {

// The compile of two description texts exactly as `controlla` compiles two files: each text
// converted as a file's bytes are (UTF-8 with letters converted to Windows-1252, a character
// without a byte an error and no compile), then the build and its warnings, and the error
// added for an outcome no diagnostic reports.
// The hovers' account of a metre comes from the same compile, as `scenario ispeziona
// --al-metro` tells it; the last pair compiled is kept, so a hover after an edit compiles nothing
// again.
class diagnosi_controlla final : public diagnosi {
  public:
    diagnosi_controlla();
    ~diagnosi_controlla() override;
    elenco_diagnostiche esamina(const testi_scenario& testi) override;
    std::string descrivi_metro(const testi_scenario& testi, long long metro) override;
    std::string chilometro(const testi_scenario& testi, long long metro) override;
    std::string marcia_riga(const testi_scenario& testi, descrizione d, int riga) override;
    void imposta_modello(const std::string& modello) override { modello_ = modello; }

  private:
    struct compilata;
    // The texts converted and compiled, or the conversion's errors.
    elenco_diagnostiche compila(const testi_scenario& testi);
    // The cells of the compile of `testi` (compiled again when they are not the last pair), or
    // nullptr when it did not succeed.
    const ispezione* tratti_di(const testi_scenario& testi);
    std::unique_ptr<compilata> ultima_;
    // The dry run's model as the client set it (scenario controlla --modello).
    std::string modello_;
};

// Files on the local disk.
class accesso_disco final : public accesso_file {
  public:
    std::optional<std::string> leggi(const std::string& percorso) override;
    std::vector<std::string> elenca(const std::string& cartella) override;
};

// Serves until "exit" or the end of standard input. Returns the exit status: 0 after shutdown
// and exit, 1 otherwise.
int esegui_lsp();

void aggiungi_lsp(CLI::App& app, azione_comando& azione);

} // namespace corvenna
