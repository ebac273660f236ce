#pragma once

// The names of the temporary files a run writes beside its output files, and their
// recognition: a run removes the temporaries an interrupted run left, and only those.

#include <string>
#include <string_view>

namespace corvenna {

// `NAME.tmp<processo>-<progressivo>`: the target's name, so that it is plain whose file it
// is, the process and a number of its own.
std::string nome_temporaneo(std::string_view nome, unsigned long processo, unsigned progressivo);

// Whether `voce` is the name of a temporary of the file `nome`: `nome` followed by ".tmp", one or
// more digits, "-" and one or more digits. Earlier versions put other digits there, in the same
// form.
bool temporaneo_di(std::string_view voce, std::string_view nome);

// Whether `voce` is a temporary of the file `nome` exactly as nome_temporaneo writes it: the two
// numbers in decimal without leading zeros, each within the range of its type.
bool temporaneo_creato_di(std::string_view voce, std::string_view nome);

// Whether `nome` can name a file of the directory itself: not empty, not "." or "..", no
// directory separator, no NUL byte.
bool nome_semplice(std::string_view nome);

} // namespace corvenna
