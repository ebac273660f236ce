#pragma once

// The record of a set of files being replaced together: which temporary takes which name, and
// which file goes, in order. A run writes it (durably, whole) before the first rename of a set and
// removes it after the last, so that a run killed between the renames leaves what the next run
// needs to finish them. The record is a small text file of the directory itself:
//
//     sostituzione 1
//     R <TAB> NAME.tmp<p>-<n> <TAB> NAME      the temporary takes the name
//     C <TAB> NAME                            the file is removed
//     fine
//
// lines ended by CR LF. Its content is not trusted: a record is read only whole, and only when
// every step is one the tools make. A renamed file is one of the files the tools write
// (base/forme_nomi_file.hpp: the descriptions, the documents, the compiled files), and its
// temporary is named exactly as the tools name one (NAME.tmp<process>-<number>); a removed file
// is a file made from the descriptions (a document or a compiled file), never a description.
// Anything else of the directory is never renamed or removed by a record.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// The record's name in the directory it belongs to.
inline constexpr std::string_view nome_registro = "sostituzione_in_corso";

// One step: `temporaneo` takes the name `destinazione`; without a temporary the file
// `destinazione` is removed.
struct voce_registro {
    std::string destinazione;
    std::string temporaneo;

    bool operator==(const voce_registro&) const = default;
};

// The record's text. Every name must satisfy nome_registrabile, every removed one
// nome_rimovibile.
std::string testo_registro(const std::vector<voce_registro>& voci);

// The steps of a record's text; std::nullopt when it is not a whole record of this form.
std::optional<std::vector<voce_registro>> leggi_registro(std::string_view testo);

// Whether a record can carry `nome`: a plain name of the directory, with no tab, CR or LF, of
// one of the files the tools write.
bool nome_registrabile(std::string_view nome);

// Whether a record can carry the removal of `nome`: a file the tools write that is not one of
// the author's descriptions.
bool nome_rimovibile(std::string_view nome);

} // namespace corvenna
