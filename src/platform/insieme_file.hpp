#pragma once

// A set of files of one locked directory that replace their earlier versions together, as one
// scenario: after a failure or a kill at any moment, the directory holds the whole earlier set or
// the whole new one, never some files of each.
//
//     insieme_file insieme(cartella);             // cartella: the run's cartella_bloccata
//     insieme.sostituisci(nome, scrivi, durata);  // once per file: only a temporary is written
//     insieme.cancella(nome);                     // a file the new set does not have
//     insieme.conferma();                         // every name changes now
//
// How: every temporary is written, flushed and closed before any name changes, and every
// target checked (a directory in its place would stop a rename half-way). Then a record of the
// renames and removals (registro_sostituzione.hpp) replaces the file `sostituzione_in_corso`, the
// renames and removals follow in order with the ending signals held back, the directory is
// flushed and the record removed. A run killed between the renames leaves the record; the next
// cartella_bloccata of the directory finishes those steps before anything else
// (completa_sostituzione). A set given up before conferma removes its temporaries.
//
// After a power cut each file holds its earlier content or its new one, complete (the contents
// and the record are flushed before any rename, the renames before the run ends). The record's
// name is not flushed on its own, which would cost one more flush of the storage a run: the set
// is whole after a power cut where the file system keeps the record's creation and the renames
// in the order they were made, as a journal that logs metadata in order does (ext4 by default;
// NTFS, where the renames that follow are written through).

#include "base/cartella_uscita.hpp"
#include "platform/registro_sostituzione.hpp"

#include <filesystem>
#include <string>
#include <vector>

namespace corvenna {

class cartella_bloccata;
class primitive_file;

class insieme_file final : public cartella_uscita {
  public:
    explicit insieme_file(cartella_bloccata& cartella);
    // Removes the temporaries of a set that was not confirmed.
    ~insieme_file() override;

    insieme_file(const insieme_file&) = delete;
    insieme_file& operator=(const insieme_file&) = delete;

    // Writes the new content of `nome` to a temporary, which takes the name at conferma. Throws
    // errore_file naming the file, as cartella_uscita says; the directory is then unchanged.
    // `nome` is one of the files a record can carry (nome_registrabile).
    void sostituisci(const std::string& nome, const scrittura_file& scrivi,
                     persistenza durata) override;
    std::filesystem::path percorso(const std::string& nome) const override;

    // The file `nome`, where it exists, goes with the earlier set; never a description
    // (nome_rimovibile).
    void cancella(const std::string& nome);

    // Gives every temporary its name and removes the files to remove, as one step for every
    // later run. Throws errore_file: before the record is in place, the directory holds the
    // earlier set and no temporary; after, the record stays and the next run finishes the set.
    void conferma();

  private:
    cartella_bloccata& cartella_;
    std::vector<voce_registro> voci_;
    bool confermato_ = false;
};

// The steps of a record left by an interrupted set, finished on `sistema`'s directory (shown in
// messages as `cartella`): each temporary that still exists takes its name, each file to remove
// goes, the directory is flushed and the record removed. Returns whether there was a record;
// nothing happens when there is none. The record is opened without waiting and never through a
// link, and read only when it is a regular file of the running user and a whole record
// (registro_sostituzione.hpp); then nothing it names is touched. Throws errore_file naming the
// record when it cannot be read or is refused, or naming the file of a step that fails.
bool completa_sostituzione(primitive_file& sistema, const std::filesystem::path& cartella);

// The commit of a set on `sistema`'s directory, its temporaries written and closed: checks the
// targets, writes the record, applies it, flushes, removes the record. `progressivo` numbers the
// record's temporary. On a failure before the record is in place, removes the set's temporaries.
void conferma_insieme(primitive_file& sistema, const std::filesystem::path& cartella,
                      const std::vector<voce_registro>& voci, unsigned& progressivo);

} // namespace corvenna
