#pragma once

// The whole life of a run: the scenario identity, the wait notice, the directory lock, the five
// text documents in their fixed order, the build, and the report of its outcome.

#include <filesystem>
#include <functional>
#include <string_view>

namespace corvenna {

// What a run shows the user; the platform layer provides it, tests provide their own.
struct interfaccia_utente {
    std::function<void()> mostra_attesa;
    // Shows " Errore n. " and the number, and ends the program; it does not return.
    std::function<void(std::string_view)> errore;
    // Reports why the run did not produce a sound scenario.
    std::function<void(std::string_view)> segnala;
};

// Runs every step with `cartella` as the output directory, locked for the whole run (the wait
// notice shows while the run waits for it). Returns the process exit status: 0 for a sound
// scenario, 1 when the build recorded an error code or could not create the cells. File
// failures, and a directory that cannot be opened or locked, throw errore_file.
int Form_Load(const std::filesystem::path& cartella, const interfaccia_utente& ui);

struct costruzione;

// Tells the user how the build ended and gives the exit status: the error box for a failed
// header check (1250 or 1251), a report for a compile that left no cells or recorded a code,
// nothing for a sound scenario (status 0).
int riporta_esito(const costruzione& c, int errore_intestazione, const interfaccia_utente& ui);

} // namespace corvenna
