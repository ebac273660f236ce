// scenario: the compiler of the generator for scenario authors. Compiles an author's own line
// and train descriptions, checks them, exports the built-in scenario as a template, and reads
// compiled scenarios back and draws them.

#include "base/errore_file.hpp"
#include "base/stato_uscita.hpp"
#include "input/errore_lettura.hpp"
#include "tool/carica_scenario.hpp"
#include "tool/comando_compila.hpp"
#include "tool/comando_disegna.hpp"
#include "tool/comando_esporta.hpp"
#include "tool/comando_ispeziona.hpp"

#include <CLI/CLI.hpp>

#include <exception>
#include <filesystem>
#include <iostream>

#ifndef GENERA_VERSIONE
#define GENERA_VERSIONE "sviluppo"
#endif

int main(int argc, char** argv) {
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
    } catch (const errore_lettura& e) {
        std::cerr << "scenario: " << e.what() << '\n';
        return stato_uscita::file_danneggiato;
    } catch (const errore_file& e) {
        std::cerr << "scenario: impossibile leggere o scrivere " << e.file().string() << ": "
                  << e.motivo() << '\n';
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "scenario: " << e.path1().string() << ": " << e.code().message() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "scenario: " << e.what() << '\n';
    }
    return stato_uscita::errore_file;
}
