#pragma once

// The diagnostics of a compile as the tool shows them: as compilers print them on standard
// error, or as one JSON array on standard output; then the summary line.

#include "pipeline/costruisci_scenario.hpp"
#include "pipeline/esito_costruzione.hpp"

#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>

namespace corvenna {

// The form asked for with --diagnostica: text on standard error, one JSON array or one SARIF
// log on standard output.
enum class forma_diagnostiche { testo, json, sarif };

// The form named "testo", "json" or "sarif" (testo for any other name).
forma_diagnostiche forma_di_nome(std::string_view nome);

// A description's path as a SARIF URI reference relative to the current directory ("../a
// b.txt" gives "../a%20b.txt"), and the current directory as an absolute "file:" URI ending in
// '/' (empty when it cannot be known). An absolute path with no relative form (another drive)
// is an absolute "file:" URI.
std::string uri_relativo(const std::filesystem::path& percorso);
std::string uri_cartella_corrente();

struct conteggio_diagnostiche {
    int errori = 0;
    int avvisi = 0;
};

// A description as the user knows it: the name given on the command line and its text as
// UTF-8, to show the line a diagnostic points into.
struct file_mostrato {
    std::string nome;
    std::string testo_utf8;
};
using file_mostrati = std::map<descrizione, file_mostrato>;

// Messages are the build's (Windows-1252 bytes, quoting the descriptions) and are shown as
// UTF-8. In the text form, control bytes and bytes without a character, in messages and in the
// source lines, are shown escaped ("\x1b"), and each file's lines are indexed once, so the
// time is linear in the diagnostics and the files. Both forms show the first few diagnostics
// of each kind and then one line, or one JSON object, for the rest of that kind; the counts
// returned (and printed last) count them all.
conteggio_diagnostiche stampa_diagnostiche(const elenco_diagnostiche& diagnostiche,
                                           const file_mostrati& file, forma_diagnostiche forma,
                                           std::ostream& uscita, std::ostream& errori);

} // namespace corvenna
