#pragma once

// `scenario lsp`: the language server on standard input and output, for editors. The server's
// logic is the editor layer's; here are the byte streams, the files it reads and the diagnosis
// it runs (the compile with its warnings, as `scenario controlla` runs it).

#include "editor/accesso_file.hpp"
#include "editor/diagnosi.hpp"
#include "tool/comando.hpp"

namespace corvenna {

// The compile of two description texts exactly as `controlla` compiles two files: each text
// converted as a file's bytes are (UTF-8 with letters converted to Windows-1252, a character
// without a byte an error and no compile), then the build and its warnings, and the error
// added for an outcome no diagnostic reports.
class diagnosi_controlla final : public diagnosi {
  public:
    elenco_diagnostiche esamina(const testi_scenario& testi) override;
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
