#pragma once

// Whole-program test support: the real executable copied into a temporary directory, run as a
// child process, and its files read back and checked with a small decoder of their layout that
// shares nothing with the writers.

#include <sys/types.h>

#include "support/cartella_temporanea.hpp"

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvenna::prova {

namespace fs = std::filesystem;

inline constexpr const char* nome_programma = "genera_scenario";

// The six files a run leaves, and the two descriptions that exist only while it runs.
inline const std::array<std::string, 6> file_scenario = {
    "Corvenna_7381_note.txt",
    "Corvenna_7381_rallentamenti.txt",
    "Corvenna_7381_scheda_treno.txt",
    "Corvenna_linea.dat",
    "Corvenna_7381.sim",
    "Corvenna_7381.dat",
};
inline const std::array<std::string, 3> file_binari = {"Corvenna_linea.dat", "Corvenna_7381.sim",
                                                       "Corvenna_7381.dat"};
inline const std::string descrizione_linea = "Corvenna_linea.txt";
inline const std::string descrizione_treno = "Corvenna_7381-.txt";

// File name to bytes.
using contenuti = std::map<std::string, std::string>;

std::string leggi_file(const fs::path& percorso);
void scrivi_file(const fs::path& percorso, const std::string& dati);

// Every entry of `cartella` except the program: regular files with their bytes, anything else
// (a directory, a link) with an empty text.
contenuti leggi_cartella(const fs::path& cartella);

// Copies the program into `cartella`, which it creates when missing.
void installa_programma(const fs::path& cartella);

// Whether the user and group `utente` may start the program installed in `cartella`: every
// directory on the way must let that user through, which a root directory of mode 0700 (a
// container's) does not.
bool avviabile_da(const fs::path& cartella, std::pair<uid_t, gid_t> utente);

struct opzioni_esecuzione {
    // The largest file the run may write (RLIMIT_FSIZE). The run gets SIGXFSZ with its default
    // action, as from a shell: the program itself must make the write fail with EFBIG.
    std::optional<std::uint64_t> limite_file;
    // The read end of a pipe (opened close-on-exec) from which the child takes one byte before
    // it starts the program: children waiting on one pipe start together when the test writes
    // one byte for each.
    int attesa_partenza = -1;
    // A command that runs the program, such as a tracer with its options: the program's path
    // follows its words. Looked up in PATH.
    std::vector<std::string> prefisso;
    // Variables added to the environment, each "NAME=value".
    std::vector<std::string> ambiente;
    // The user and group the run takes, where the test runs as root: the program then meets
    // the rights of the directory as an ordinary user does.
    std::optional<std::pair<uid_t, gid_t>> utente;
};

struct esito_esecuzione {
    // The exit status, or 128 plus the signal that ended the process.
    int stato = -1;
    // What the run wrote on standard output and standard error.
    std::string messaggi;
};

// The program in `cartella`, started as a child process.
class esecuzione {
  public:
    esecuzione(const fs::path& cartella, const opzioni_esecuzione& opzioni = {});
    ~esecuzione();
    esecuzione(const esecuzione&) = delete;
    esecuzione& operator=(const esecuzione&) = delete;

    pid_t pid() const { return pid_; }
    // True while the process has not ended; it is not waited for.
    bool in_corso();
    // What the run has written on standard output and standard error so far.
    std::string messaggi() const;
    // Waits for the end of the run.
    esito_esecuzione attendi();

  private:
    pid_t pid_ = -1;
    fs::path registro_;
    std::optional<int> stato_;
};

// Runs the program in `cartella` to its end.
esito_esecuzione esegui(const fs::path& cartella, const opzioni_esecuzione& opzioni = {});

// The six files of an undisturbed run in a directory of its own, read once per test program.
const contenuti& scenario_di_riferimento();

// A complete scenario that differs from this build's in one value of every file: a run that
// leaves these bytes in place has not touched the file.
contenuti scenario_precedente();

void scrivi_scenario(const fs::path& cartella, const contenuti& file);

// Where each of the six scenario files is neither as in `prima` nor this build's complete file:
// what a run may never leave, however it ended. Empty when every file is one or the other.
std::string file_ne_vecchi_ne_nuovi(const contenuti& dopo, const contenuti& prima);

// Where the six scenario files are not one whole version: all as in `prima`, or all this
// build's. Empty when they are; else which files are of which version.
std::string insieme_misto(const contenuti& dopo, const contenuti& prima);

// One system call of a run: its name, which occurrence of that name it is, and its trace.
struct chiamata {
    std::string nome;
    int occorrenza = 0;
    std::string traccia;
};

// The calls a run makes on files and on its lock. The run's own start-up (the loader, the
// sanitizer's reading of /proc) makes calls of the same names, which count toward the
// occurrences but are left out of the sweep.
inline constexpr const char* chiamate_di_file =
    "openat,read,write,writev,pwrite64,close,fsync,fdatasync,syncfs,ftruncate,rename,renameat,"
    "renameat2,unlink,unlinkat,linkat,newfstatat,statx,getdents64,flock,socket,bind,listen";

// The calls of a trace written by `strace -y`, in order, each with its occurrence among the
// calls of its name: those that name `cartella` or a file in it (strace shows the path of every
// descriptor), and with `del_blocco` those of the lock's socket.
std::vector<chiamata> chiamate_in_traccia(const fs::path& traccia, const fs::path& cartella,
                                          bool del_blocco);

// The full path of `programma` found in PATH; empty when it is not there.
std::string cerca_programma(const std::string& programma);

// What makes `file` not a complete scenario: missing files, sizes that the layout does not
// allow, text that is not CR LF lines. Empty when the six files are complete.
std::string difetti_scenario(const contenuti& file);

// The entries of `cartella` other than the program, the six scenario files and `ammessi`: what a
// finished run must not leave, such as temporary files or the descriptions. Empty when none.
std::string residui(const fs::path& cartella, const std::vector<std::string>& ammessi = {});

// The two scenario codes of the identity texts, computed here from their definition: the plain
// and the position-weighted sum of the first 25 characters of train number, scenario name (in
// lower case) and the fill text.
std::pair<int, int> codici_attesi(const std::string& treno, const std::string& scenario);

} // namespace corvenna::prova
