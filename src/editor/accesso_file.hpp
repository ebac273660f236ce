#pragma once

// What the server needs of the file system, supplied by the program that runs it: the other
// description of a pair, when the editor does not hold it open, is read from disk, and a line
// description's train is found among the files of its folder. The server itself touches no file.

#include <optional>
#include <string>
#include <vector>

namespace corvenna {

class accesso_file {
  public:
    virtual ~accesso_file() = default;
    // The bytes of the regular file at `percorso`; std::nullopt when it cannot be read.
    virtual std::optional<std::string> leggi(const std::string& percorso) = 0;
    // The names (not paths) of the entries of folder `cartella`; empty when it cannot be read.
    virtual std::vector<std::string> elenca(const std::string& cartella) = 0;
};

} // namespace corvenna
