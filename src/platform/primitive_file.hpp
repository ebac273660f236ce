#pragma once

// The system's calls that the locked directory is built on, relative to one open directory:
// create a file exclusively, write, flush and close it, rename, remove, list, flush the
// directory, and the text of an error. cartella_bloccata.cpp holds the algorithms once (the
// replacement by a temporary, the removal of what interrupted runs left, reading and deleting);
// cartella_bloccata_posix.cpp and cartella_bloccata_windows.cpp hold only these calls and what is
// particular to their system. The seam also lets the algorithms run on calls that fail at will.
//
// Every call that can fail returns 0, or the system's code of the failure (errno, or the Windows
// error code), which motivo turns into text. Names are plain names of entries of the directory,
// in the system's own form (nome_di_sistema).

#include "base/cartella_uscita.hpp"
#include "platform/file_regolare.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// The system's handle of an open file: a descriptor, or a HANDLE.
using maniglia_file = std::intptr_t;

// What apri_proprio found: codice as every call gives it (0, or the failure); with 0, the
// entry's kind and whether another user owns it. A file is open only when codice is 0, tipo
// regolare and altrui false.
struct apertura_propria {
    int codice = 0;
    tipo_voce tipo = tipo_voce::regolare;
    bool altrui = false;
};

class primitive_file {
  public:
    virtual ~primitive_file() = default;

    // The system's handle of the directory, for the lock: a descriptor (possibly an O_PATH one),
    // or a HANDLE.
    virtual std::intptr_t maniglia() const = 0;

    // A name given in UTF-8 (the program's names, a user's names) in the system's form, and back.
    virtual std::filesystem::path nome_di_sistema(std::string_view nome) const = 0;
    virtual std::string testo_del_nome(const std::filesystem::path& nome) const = 0;

    // The system's text for a failure code.
    virtual std::string motivo(int codice) const = 0;
    // Whether `codice` says that the entry does not exist.
    virtual bool non_trovato(int codice) const = 0;
    // Whether an exclusive creation that failed with `codice` may be tried again under another
    // name: the name is taken (or, on POSIX systems, the call was interrupted).
    virtual bool da_ritentare(int codice) const = 0;
    // The number of this process, for the names of the temporaries.
    virtual unsigned long processo() const = 0;

    // Creates the file `nome` for writing, only where no entry of that name exists and never
    // through a link.
    virtual int crea_esclusivo(const std::filesystem::path& nome, maniglia_file& file) = 0;
    virtual int apri_in_lettura(const std::filesystem::path& nome, maniglia_file& file) = 0;
    // Opens the file `nome` for reading only where it is a regular file of the running user:
    // never through a link, never waiting (a FIFO with no writer), looked at once open. When
    // the entry exists but is not such a file, no file stays open and the result says what it
    // is, or that another user owns it (POSIX; on Windows the directory's rights decide).
    virtual apertura_propria apri_proprio(const std::filesystem::path& nome,
                                          maniglia_file& file) = 0;
    // Writes all `quanti` bytes.
    virtual int scrivi(maniglia_file file, const char* dati, std::size_t quanti) = 0;
    // Reads up to `quanti` bytes; `letti` is 0 at the end of the file.
    virtual int leggi(maniglia_file file, char* dati, std::size_t quanti, std::size_t& letti) = 0;
    // Flushes the file's content to the storage.
    virtual int svuota(maniglia_file file) = 0;
    // Closes the file; a failure here may be a write that failed late.
    virtual int chiudi(maniglia_file file) = 0;

    // Gives `da` the name `a`, replacing what `a` held. A durable rename is written through where
    // the system offers it (Windows); elsewhere sincronizza_cartella makes it last.
    virtual int rinomina(const std::filesystem::path& da, const std::filesystem::path& a,
                         persistenza durata) = 0;
    virtual int rimuovi(const std::filesystem::path& nome) = 0;
    // 0 when the entry exists.
    virtual int cerca(const std::filesystem::path& nome) = 0;
    // Whether the entry exists and is a directory (not followed through a link).
    virtual bool e_cartella(const std::filesystem::path& nome) = 0;
    // The names of the entries that may be temporaries; nothing when the directory cannot be
    // listed.
    virtual std::vector<std::filesystem::path> elenca() = 0;
    // Makes the durable renames last; `ultimo_durevole` is the last file they wrote.
    virtual int sincronizza_cartella(const std::filesystem::path& ultimo_durevole) = 0;

    // Once the directory is locked: lets the signals that end the process remove the temporary
    // being written (POSIX; once per process).
    virtual void prepara_segnali() = 0;
    // Holds back and lets through the signals that end the process, so that a temporary is
    // created and recorded, or removed or renamed and forgotten, as one step.
    virtual void trattieni_segnali() = 0;
    virtual void rilascia_segnali() = 0;
    // The temporaries that those signals remove before the process ends: one more, and one
    // fewer. A run holds several while it prepares a set of files that replace theirs together.
    virtual void segna_temporaneo(const std::filesystem::path& nome) = 0;
    virtual void dimentica_temporaneo(const std::filesystem::path& nome) = 0;
};

// Opens the directory `cartella` with this system's calls. Throws errore_file, naming the
// directory, when it cannot be opened.
std::unique_ptr<primitive_file> apri_primitive_file(const std::filesystem::path& cartella);

// The signals that end the process, held back for the life of the object.
class segnali_trattenuti {
  public:
    explicit segnali_trattenuti(primitive_file& sistema) : sistema_(sistema) {
        sistema_.trattieni_segnali();
    }
    ~segnali_trattenuti() { sistema_.rilascia_segnali(); }
    segnali_trattenuti(const segnali_trattenuti&) = delete;
    segnali_trattenuti& operator=(const segnali_trattenuti&) = delete;

  private:
    primitive_file& sistema_;
};

// The first half of a replacement: a new temporary beside the file `nome`, with the first free
// name from `progressivo` on (which it advances), written by `scrivi`, flushed when durable, and
// closed. Returns its name; it is one of the temporaries the ending signals remove until
// abbandona_temporaneo or a rename takes it. On any failure it is removed and errore_file names
// `destinazione`.
std::filesystem::path scrivi_temporaneo(primitive_file& sistema, const std::string& nome,
                                        const std::filesystem::path& destinazione,
                                        unsigned& progressivo, const scrittura_file& scrivi,
                                        persistenza durata);
// Removes a temporary that will not take its name.
void abbandona_temporaneo(primitive_file& sistema, const std::filesystem::path& temporaneo);

// Replaces the file `nome` of the directory of `sistema` by a temporary, as cartella_uscita
// says: the temporary takes the first free name from `progressivo` on (which it advances), is
// written by `scrivi`, flushed when durable, and renamed over `nome`; on any failure it is
// removed and errore_file names `destinazione`. While it exists it is the one the ending
// signals remove.
void sostituisci_file(primitive_file& sistema, const std::string& nome,
                      const std::filesystem::path& destinazione, unsigned& progressivo,
                      const scrittura_file& scrivi, persistenza durata);

} // namespace corvenna
