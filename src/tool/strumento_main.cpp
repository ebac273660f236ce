// scenario: the compiler of the generator for scenario authors. Compiles an author's own line
// and train descriptions, checks them, exports the built-in scenario as a template, and reads
// compiled scenarios back and draws them.

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "diagnostics/esito_rapporto.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "input/errore_lettura.hpp"
#include "platform/motivo_sistema.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/comando_compila.hpp"
#include "tool/comando_confronta.hpp"
#include "tool/comando_disegna.hpp"
#include "tool/comando_esporta.hpp"
#include "tool/comando_formato.hpp"
#include "tool/comando_importa.hpp"
#include "tool/comando_ispeziona.hpp"
#include "tool/comando_lsp.hpp"
#include "tool/comando_marcia.hpp"
#include "tool/comando_spiega.hpp"
#include "tool/destinazione_sicura.hpp"
#include "tool/riga_comando_italiana.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#ifndef GENERA_VERSIONE
#define GENERA_VERSIONE "sviluppo"
#endif

namespace {

// What the command wrote on standard output (a report, JSON, the help) reaches its file only
// when every write, the flush and the close succeed: a full disk or a closed device must not end
// with success and a truncated result. Returns `stato`, or the file-failure status with the
// reason on standard error: the system's, when the last call made is the one that failed; a write
// that failed earlier, inside a flush of the streams, left no reason that can be trusted.
int chiudi_uscita(int stato) {
    errno = 0;
    std::cout.flush();
    bool riuscita = static_cast<bool>(std::cout);
    riuscita = std::fflush(stdout) == 0 && riuscita;
    riuscita = !std::ferror(stdout) && riuscita;
    riuscita = std::fclose(stdout) == 0 && riuscita;
    if (riuscita)
        return stato;
    const std::string motivo =
        errno != 0 ? corvenna::motivo_di_errno(errno) : "scrittura non riuscita";
    std::cerr << "scenario: impossibile scrivere lo standard output: " << motivo << '\n';
    return corvenna::stato_uscita::errore_file;
}

// The form of diagnostics the arguments ask for, read from them directly so that it is known
// even when they do not parse: the last "--diagnostica VALORE" or "--diagnostica=VALORE".
corvenna::forma_diagnostiche forma_chiesta(int argc, char** argv) {
    using corvenna::forma_di_nome;
    corvenna::forma_diagnostiche forma = corvenna::forma_diagnostiche::testo;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--")
            break;
        if (a == "--diagnostica" && i + 1 < argc)
            forma = forma_di_nome(argv[++i]);
        else if (a.starts_with("--diagnostica="))
            forma = forma_di_nome(a.substr(a.find('=') + 1));
    }
    return forma;
}

// Writes to two stream buffers: standard error as ever, and a copy kept for the failure's
// message in a JSON or SARIF report. The copy keeps the last lines only.
class copia_errori : public std::streambuf {
  public:
    explicit copia_errori(std::streambuf* originale) : originale_(originale) {}
    const std::string& testo() const { return copia_; }

  protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        const char carattere = static_cast<char>(c);
        aggiungi(std::string_view(&carattere, 1));
        return originale_->sputc(carattere);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        aggiungi(std::string_view(s, static_cast<std::size_t>(n)));
        return originale_->sputn(s, n);
    }
    int sync() override { return originale_->pubsync(); }

  private:
    void aggiungi(std::string_view s) {
        copia_ += s;
        if (copia_.size() > 1 << 16)
            copia_.erase(0, copia_.size() - (1 << 15));
    }
    std::streambuf* originale_;
    std::string copia_;
};

// The reason a failed command gave last on standard error: its last "scenario: " line, without
// that prefix.
std::string ultimo_motivo(const std::string& errori) {
    constexpr std::string_view prefisso = "scenario: ";
    std::size_t inizio = std::string::npos;
    for (std::size_t p = 0; p < errori.size(); p = errori.find('\n', p) + 1) {
        if (std::string_view(errori).substr(p).starts_with(prefisso))
            inizio = p + prefisso.size();
        if (errori.find('\n', p) == std::string::npos)
            break;
    }
    if (inizio == std::string::npos)
        return {};
    return errori.substr(inizio, errori.find('\n', inizio) - inizio);
}

int esegui(int argc, char** argv, std::optional<std::string>& file_fallito) {
    using namespace corvenna;
    CLI::App app{"scenario: compila, controlla e legge gli scenari del simulatore di guida",
                 "scenario"};
    aiuto_in_italiano(app);
    app.set_version_flag("--version", std::string("scenario ") + GENERA_VERSIONE,
                         "mostra la versione ed esce");
    app.require_subcommand(1);
    app.fallthrough(false);

    azione_comando azione;
    aggiungi_compila(app, azione);
    aggiungi_controlla(app, azione);
    aggiungi_esporta(app, azione);
    aggiungi_ispeziona(app, azione);
    aggiungi_marcia(app, azione);
    aggiungi_confronta(app, azione);
    aggiungi_disegna(app, azione);
    aggiungi_importa(app, azione);
    aggiungi_formato(app, azione);
    aggiungi_spiega(app, azione);
    aggiungi_lsp(app, azione);
    aiuto_dei_comandi_in_italiano(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end the parse with success.
        if (e.get_exit_code() == 0)
            return app.exit(e);
        std::cerr << "scenario: " << messaggio_in_italiano(e, app.remaining())
                  << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    }

    try {
        return azione();
    } catch (const errore_scelta_scenario& e) {
        std::cerr << "scenario: " << testo_mostrabile(e.what(), true)
                  << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    } catch (const errore_destinazione& e) {
        std::cerr << "scenario: " << testo_mostrabile(e.what(), true)
                  << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    } catch (const errore_lettura& e) {
        std::cerr << "scenario: " << testo_mostrabile(e.what(), true) << '\n';
        return stato_uscita::file_danneggiato;
    } catch (const errore_file& e) {
        file_fallito = e.file().string();
        std::cerr << "scenario: impossibile leggere o scrivere " << percorso_mostrabile(e.file())
                  << ": " << testo_mostrabile(e.motivo(), true) << '\n';
    } catch (const std::filesystem::filesystem_error& e) {
        file_fallito = e.path1().string();
        std::cerr << "scenario: " << percorso_mostrabile(e.path1()) << ": "
                  << motivo_di_errore(e.code()) << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "scenario: memoria insufficiente\n";
    } catch (const std::exception& e) {
        std::cerr << "scenario: " << e.what() << '\n';
    }
    return stato_uscita::errore_file;
}

// The run, with a JSON or SARIF report (when one is asked for) completed by the failure that
// ends a command with status 2 or 64, so that its reader always gets one document that says
// why. The report is held until the command ends: it is bounded (a few diagnostics of each
// kind).
int esegui_con_rapporto(int argc, char** argv) {
    using namespace corvenna;
    const forma_diagnostiche forma = forma_chiesta(argc, argv);
    std::optional<std::string> file_fallito;
    if (forma == forma_diagnostiche::testo)
        return esegui(argc, argv, file_fallito);

    std::ostringstream rapporto;
    copia_errori copia(std::cerr.rdbuf());
    std::streambuf* const uscita = std::cout.rdbuf(rapporto.rdbuf());
    std::streambuf* const errori = std::cerr.rdbuf(&copia);
    int stato = stato_uscita::errore_file;
    try {
        stato = esegui(argc, argv, file_fallito);
    } catch (...) {
        std::cout.rdbuf(uscita);
        std::cerr.rdbuf(errori);
        throw;
    }
    std::cout.rdbuf(uscita);
    std::cerr.rdbuf(errori);
    if (stato != stato_uscita::errore_file && stato != stato_uscita::uso_errato) {
        std::cout << rapporto.str();
        return stato;
    }
    esito_comando esito;
    esito.stato = stato;
    esito.messaggio = ultimo_motivo(copia.testo());
    esito.file = file_fallito;
    std::cout << (forma == forma_diagnostiche::sarif ? sarif_con_esito(rapporto.str(), esito)
                                                     : json_con_esito(rapporto.str(), esito));
    return stato;
}

} // namespace

int main(int argc, char** argv) {
    return chiudi_uscita(esegui_con_rapporto(argc, argv));
}
