#pragma once

// The one way the server learns what is wrong with a scenario: "diagnose these two texts". The
// program that runs the server supplies it (today: the compile with its warnings, exactly as
// `scenario controlla` runs it), so a deeper check can take its place without the server
// changing.

#include "diagnostics/diagnostica.hpp"
#include "model/identita_scenario.hpp"

#include <string>

namespace corvenna {

struct testi_scenario {
    // The two descriptions as bytes: UTF-8 from the editor, or a file's bytes from disk
    // (Windows-1252, or UTF-8 from a modern editor), as `controlla` would read them.
    std::string linea;
    std::string treno;
    // The identity the two file names give.
    identita_scenario identita;
};

class diagnosi {
  public:
    virtual ~diagnosi() = default;
    // Every error and warning, with lines and columns counted in characters of the texts and
    // messages in Windows-1252, as the compile gives them.
    virtual elenco_diagnostiche esamina(const testi_scenario& testi) = 0;
    // What the compile of `testi` made at a route metre, in words: the 50 m cell holding it,
    // the kilometre the driver reads there, speeds, gradient and the features placed there.
    // Empty when the pair does not compile or the metre lies beyond the cells.
    virtual std::string descrivi_metro(const testi_scenario& testi, long long metro) {
        (void)testi;
        (void)metro;
        return {};
    }
    // The kilometre the driver reads at a route metre in the compile of `testi` ("km 2+600"),
    // from the kilometric systems in force; empty when the pair does not compile.
    virtual std::string chilometro(const testi_scenario& testi, long long metro) {
        (void)testi;
        (void)metro;
        return {};
    }
    // What the dry run of the compile of `testi` says of the row on line `riga` (from 1) of
    // description `d`: a section's times at the station row that ends it, a distant signal's
    // braking distance. Empty when it says nothing there.
    virtual std::string marcia_riga(const testi_scenario& testi, descrizione d, int riga) {
        (void)testi;
        (void)d;
        (void)riga;
        return {};
    }
    // The train model of the dry run's checks and hovers (a named model or a JSON file), as the
    // client's settings give it; empty: the lower bound only, and the default model in hovers.
    virtual void imposta_modello(const std::string& modello) { (void)modello; }
};

} // namespace corvenna
