#pragma once

// Reading a compiled scenario as one set of files: the directories that hold them are locked for
// the read (a compile into them waits, and the read never sees a set half-replaced), a
// replacement that an interrupted run left half-done is finished first, and what still does not
// belong together is said: a replacement that could not be finished, a plan view written for a
// route of another length.

#include "platform/cartella_bloccata.hpp"
#include "tool/carica_scenario.hpp"

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corvenna {

class lettura_scenario {
  public:
    // Locks the directory of each operand (the operand itself when it is a directory, else the
    // directory that holds it), finishing there any interrupted replacement. A directory that
    // cannot be locked is read unlocked; one whose replacement cannot be finished is read as it
    // is, with a warning.
    explicit lettura_scenario(const std::vector<std::filesystem::path>& percorsi);

    // Reads the files as carica_scenario does. A plan view that reads whole for a route of
    // another length than the item file's is left out, with a warning.
    scenario_caricato carica(const file_scenario& file);

    // Unlocks the directories, once the files are read: the command may then write into one of
    // them.
    void rilascia() { cartelle_.clear(); }

    // What does not belong together, one sentence each, naming the file.
    const std::vector<std::string>& avvisi() const { return avvisi_; }

    // Prints on `errori` the replacements finished when the directories were locked, then the
    // warnings; with `rigoroso` the warnings are errors, and the result is false: the scenario
    // is refused.
    bool accetta(bool rigoroso, std::ostream& errori) const;

  private:
    std::vector<std::unique_ptr<cartella_bloccata>> cartelle_;
    std::vector<std::string> avvisi_;
    std::vector<std::string> note_;
};

} // namespace corvenna
