#pragma once

// Waiting for an author to save a file, without polling: the system tells when a file of the
// watched folders is written and closed or renamed into place (the two ways editors save), and
// the wait ends then, or when the user presses Ctrl-C. Each folder is watched once, whatever
// its number of files; a save of any other file of it is not reported.
//
// The watch follows the folders' paths, not the folders: when a watched folder is renamed or
// removed, what happens in it is no longer reported, the wait ends saying which folder is gone,
// and its path is watched for its return (through the nearest folder above it that exists).
// A folder that comes back, by a rename or made anew, counts as a save of its files.

#include <filesystem>
#include <memory>
#include <vector>

namespace corvenna::piattaforma {

class sorveglianza_file {
  public:
    // Throws errore_file naming the folder when it cannot be watched.
    explicit sorveglianza_file(const std::vector<std::filesystem::path>& file);
    ~sorveglianza_file();
    sorveglianza_file(const sorveglianza_file&) = delete;
    sorveglianza_file& operator=(const sorveglianza_file&) = delete;

    enum class evento { salvato, interrotto, scomparsa };
    // Blocks until one of the files has been saved (the burst of events of one save counts
    // once), a watched folder is gone (scomparse names it), or Ctrl-C is pressed. Ctrl-C does
    // not end the process while the watch lives. Throws errore_file naming a folder whose path
    // can no longer be watched at all.
    evento attendi();

    // The folders that the last evento::scomparsa found gone.
    const std::vector<std::filesystem::path>& scomparse() const { return scomparse_; }

  private:
    std::vector<std::filesystem::path> scomparse_;
    struct stato;
    std::unique_ptr<stato> stato_;
};

// Clears the terminal (standard error) and puts the cursor at its top; nothing when standard
// error is not a terminal, so a log or a pipe gets no control sequences.
void pulisci_schermo();

} // namespace corvenna::piattaforma
