#pragma once

// Whole-program test support for the authors' tool: the real `scenario` executable run as a
// child process in a working directory, with its standard output and standard error kept apart.

#include <filesystem>
#include <string>
#include <vector>

namespace corvenna::prova {

struct esito_strumento {
    // The exit status, or 128 plus the signal that ended the process.
    int stato = -1;
    std::string uscita;
    std::string errori;
};

// Runs `scenario ARGOMENTI...` in `cartella` to its end. With `uscita_su`, its standard output
// goes to that existing file (such as /dev/full) instead of being kept. With `prefisso`, a
// command that runs the tool (a tracer with its options; its first word a full path) comes first.
esito_strumento esegui_strumento(const std::filesystem::path& cartella,
                                 const std::vector<std::string>& argomenti,
                                 const std::filesystem::path& uscita_su = {},
                                 const std::vector<std::string>& prefisso = {});

} // namespace corvenna::prova
