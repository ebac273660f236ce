#pragma once

// A directory that receives output files, each replaced whole: the writers of this layer put
// their files through it and never learn where it is or how the system replaces a file. The
// programs give the locked directory of a run (cartella_bloccata, in the app layer), which
// works with the operating system's own calls.

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace corvenna {

// What a replacement writes: the new content, on a stream in binary mode. A writer that throws
// or leaves the stream failed makes the replacement fail.
using scrittura_file = std::function<void(std::ostream&)>;

// How long the new content of a file must last.
enum class persistenza {
    // Flushed to the storage before it takes the file's name: after a power cut the name holds
    // the earlier content or the new one, each complete.
    durevole,
    // An intermediate file that the run deletes again (the two descriptions): not flushed.
    provvisoria,
};

class cartella_uscita {
  public:
    virtual ~cartella_uscita() = default;

    // Replaces the file `nome` of the directory (or creates it) with what `scrivi` writes. The
    // content goes to a new temporary file beside it, which takes the name only once complete;
    // throws errore_file, naming percorso(nome) and the reason, when any step fails, and the
    // file then holds what it held before.
    virtual void sostituisci(const std::string& nome, const scrittura_file& scrivi,
                             persistenza durata) = 0;

    // The path of the file `nome`, as messages show it.
    virtual std::filesystem::path percorso(const std::string& nome) const = 0;
};

} // namespace corvenna
