#pragma once

// The output directory of a run, open and locked for the whole run: every file of the run is
// written, read and deleted relative to it, and each file is replaced whole and durably. Any
// program that writes into a directory a user may also give to another run (genera_scenario
// into its own directory, a tool into a directory named on its command line) holds one:
//
//     cartella_bloccata cartella(percorso);          // waits for other runs, then holds it
//     cartella.rimuovi_temporanei(nomi_dei_file);    // what interrupted runs left
//     cartella.sostituisci(nome, scrivi, persistenza::durevole);  // once per file
//     cartella.sincronizza();                        // once, after the last replacement
//
// What it guarantees:
// - The directory is opened once; on POSIX systems every later call is relative to that
//   descriptor (openat, renameat, unlinkat), so the directory locked is the directory written
//   even if it is renamed during the run, and a long path never reaches the system's limit.
//   On Windows the directory is held open without delete sharing (where it may be listed), so
//   it cannot be renamed or removed while the run holds it.
// - The lock (blocco_cartella) is held from the constructor to the destructor. A run never
//   goes on unlocked: when no lock can be taken the constructor throws.
// - A replacement writes a new temporary file named after the target, `NAME.tmp<pid>-<n>`,
//   created exclusively (never an existing name, never through a link), and renames it over the
//   target once complete. A durable replacement flushes the file to the storage before the
//   rename (fsync; FlushFileBuffers and a write-through rename on Windows); sincronizza then
//   flushes the directory, so the renames themselves survive a power cut. After a power cut at
//   any moment each file holds its earlier content or its new one, complete.
// - A failed replacement removes its temporary and throws errore_file naming the target. On
//   POSIX systems a SIGINT, SIGTERM or SIGHUP during a replacement removes the temporary
//   before the process ends; SIGXFSZ is ignored, so a write past the file size limit fails
//   with EFBIG like any other failed write (the first cartella_bloccata of a process sets
//   this up, for the signals whose action is still the default). What a killed run leaves,
//   rimuovi_temporanei of the next run removes.
//
// One replacement at a time per process: the signal handlers know a single temporary.

#include "base/cartella_uscita.hpp"
#include "platform/blocco_cartella.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace corvenna {

class primitive_file;

class cartella_bloccata final : public cartella_uscita {
  public:
    // Opens `cartella`, waits until no other run holds it, then holds it, and finishes the set
    // of files an interrupted run left half-replaced (insieme_file.hpp) before anything else.
    // Throws errore_file, naming the directory, when it cannot be opened or locked, or naming
    // the file that cannot be finished.
    explicit cartella_bloccata(const std::filesystem::path& cartella);
    // Flushes the directory when sincronizza has not (failures are not reported there), then
    // releases the lock and closes the directory.
    ~cartella_bloccata() override;

    cartella_bloccata(const cartella_bloccata&) = delete;
    cartella_bloccata& operator=(const cartella_bloccata&) = delete;

    const std::filesystem::path& cartella() const { return cartella_; }
    // Whether opening the directory finished the set of files an interrupted run left.
    bool sostituzione_completata() const { return sostituzione_completata_; }
    std::filesystem::path percorso(const std::string& nome) const override;

    // Replaces the file `nome`, a plain name without separators, as cartella_uscita says.
    void sostituisci(const std::string& nome, const scrittura_file& scrivi,
                     persistenza durata) override;

    // Flushes the directory after durable replacements, so that their renames survive a power
    // cut. Throws errore_file naming the directory.
    void sincronizza();

    // Removes what interrupted runs left for the files `nomi` and for the record of a set:
    // entries named `NAME.tmp<digits>-<digits>` that are not directories. Where the directory
    // cannot be listed (it may be written but not read) nothing is found; failures are not
    // reported.
    void rimuovi_temporanei(std::span<const std::string> nomi);

    // Whether the file `nome` exists; throws errore_file when the system cannot tell.
    bool esiste(const std::string& nome) const;
    // The whole content of the file `nome`; std::nullopt when it does not exist. Throws
    // errore_file when it exists and cannot be read.
    std::optional<std::string> leggi(const std::string& nome) const;
    // Deletes the file `nome`; a file that does not exist is not an error. Throws errore_file
    // when it cannot be deleted.
    void cancella(const std::string& nome);

  private:
    // A set of files is prepared and confirmed with the directory's own calls and numbers.
    friend class insieme_file;

    std::filesystem::path cartella_;
    // The system's calls relative to the open directory, which they hold open.
    std::unique_ptr<primitive_file> sistema_;
    std::unique_ptr<blocco_cartella> blocco_;
    // The number of the next temporary name of this directory.
    unsigned progressivo_ = 0;
    bool sostituzione_completata_ = false;
    // A durable replacement whose rename the directory has not flushed yet, and the name of the
    // last one.
    bool da_sincronizzare_ = false;
    std::string ultimo_durevole_;
};

} // namespace corvenna
