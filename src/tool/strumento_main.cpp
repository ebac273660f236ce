// scenario: the compiler of the generator for scenario authors. Compiles an author's own line
// and train descriptions, checks them, exports the built-in scenario as a template, and reads
// compiled scenarios back and draws them.

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "input/errore_lettura.hpp"
#include "platform/motivo_sistema.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/comando_compila.hpp"
#include "tool/comando_disegna.hpp"
#include "tool/comando_esporta.hpp"
#include "tool/comando_ispeziona.hpp"
#include "tool/comando_lsp.hpp"
#include "tool/destinazione_sicura.hpp"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>

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

int esegui(int argc, char** argv) {
    using namespace corvenna;
    CLI::App app{"scenario: compila, controlla e legge gli scenari del simulatore di guida",
                 "scenario"};
    app.set_version_flag("--version", std::string("scenario ") + GENERA_VERSIONE);
    app.require_subcommand(1);
    app.fallthrough(false);

    azione_comando azione;
    aggiungi_compila(app, azione);
    aggiungi_controlla(app, azione);
    aggiungi_esporta(app, azione);
    aggiungi_ispeziona(app, azione);
    aggiungi_disegna(app, azione);
    aggiungi_lsp(app, azione);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end the parse with success.
        if (e.get_exit_code() == 0)
            return app.exit(e);
        std::cerr << "scenario: " << e.what() << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    }

    try {
        return azione();
    } catch (const errore_scelta_scenario& e) {
        std::cerr << "scenario: " << e.what() << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    } catch (const errore_destinazione& e) {
        std::cerr << "scenario: " << e.what() << "\nPer l'aiuto: scenario --help\n";
        return stato_uscita::uso_errato;
    } catch (const errore_lettura& e) {
        std::cerr << "scenario: " << e.what() << '\n';
        return stato_uscita::file_danneggiato;
    } catch (const errore_file& e) {
        std::cerr << "scenario: impossibile leggere o scrivere " << e.file().string() << ": "
                  << e.motivo() << '\n';
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "scenario: " << e.path1().string() << ": " << motivo_di_errore(e.code())
                  << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "scenario: memoria insufficiente\n";
    } catch (const std::exception& e) {
        std::cerr << "scenario: " << e.what() << '\n';
    }
    return stato_uscita::errore_file;
}

} // namespace

int main(int argc, char** argv) {
    return chiudi_uscita(esegui(argc, argv));
}
