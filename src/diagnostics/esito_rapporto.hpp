#pragma once

// A command that ends for a file it cannot read or write (exit status 2) or for its command line
// (64) before or after it reported the diagnostics: a reader of the JSON or SARIF report still
// gets one valid document that says why. The report the command wrote, maybe nothing, gets the
// failure added:
//
// - JSON: one more object at the end of the array, with the fields of a diagnostic (file, when
//   the failure concerns one; riga, colonna, metri, numero and colonna_fine null; gravita
//   "errore"; codice and nome "file-inaccessibile" or "uso-errato"; correlati and correzioni
//   empty) and "stato", the exit status;
// - SARIF: the run's invocation gets executionSuccessful false, exitCode the status and a
//   notification of level "error" with the message (and the file as its location).
//
// A report that does not read as one (cut short by the failure) is replaced by one that holds
// the failure alone.

#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

struct esito_comando {
    int stato = 0;
    // UTF-8.
    std::string messaggio;
    std::optional<std::string> file;
};

// The names the failures take as diagnostics.
inline constexpr std::string_view nome_file_inaccessibile = "file-inaccessibile";
inline constexpr std::string_view nome_uso_errato = "uso-errato";

std::string json_con_esito(std::string_view rapporto, const esito_comando& esito);
std::string sarif_con_esito(std::string_view rapporto, const esito_comando& esito);

} // namespace corvenna
