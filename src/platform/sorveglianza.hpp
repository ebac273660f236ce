#pragma once

// Waiting for an author to save a file, without polling: the system tells when a file of the
// watched folders is written and closed or renamed into place (the two ways editors save), and
// the wait ends then, or when the user presses Ctrl-C. Each folder is watched once, whatever
// its number of files; a save of any other file of it is not reported.

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

    enum class evento { salvato, interrotto };
    // Blocks until one of the files has been saved (the burst of events of one save counts
    // once) or Ctrl-C is pressed. Ctrl-C does not end the process while the watch lives.
    evento attendi();

  private:
    struct stato;
    std::unique_ptr<stato> stato_;
};

// Clears the terminal (standard error) and puts the cursor at its top; nothing when standard
// error is not a terminal, so a log or a pipe gets no control sequences.
void pulisci_schermo();

} // namespace corvenna::piattaforma
