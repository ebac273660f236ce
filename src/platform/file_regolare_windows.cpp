// The look at a user's files on Windows: the attributes of an entry, the kind of an open handle
// (a disk file, a character device, a pipe) and the volume and index that tell which file it is.

#include "platform/sistema_windows.hpp"

#include "platform/file_regolare.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <algorithm>
#include <cstdint>

namespace corvenna {

namespace {

// Opens the entry itself for nothing but a look (no read, no write), a directory or a link too.
HANDLE apri_per_guardare(const std::filesystem::path& percorso, DWORD opzioni) {
    return CreateFileW(percorso.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | opzioni, nullptr);
}

// What an open handle is, by its kind and its attributes.
tipo_voce tipo_di_maniglia(HANDLE maniglia) {
    switch (GetFileType(maniglia)) {
    case FILE_TYPE_CHAR:
        return tipo_voce::dispositivo;
    case FILE_TYPE_PIPE:
        return tipo_voce::fifo;
    case FILE_TYPE_DISK:
        break;
    default:
        return tipo_voce::altro;
    }
    BY_HANDLE_FILE_INFORMATION informazioni{};
    if (GetFileInformationByHandle(maniglia, &informazioni) &&
        (informazioni.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return tipo_voce::cartella;
    return tipo_voce::regolare;
}

// Closes the handle when the read ends, however it ends.
struct maniglia_aperta {
    HANDLE maniglia;
    ~maniglia_aperta() { CloseHandle(maniglia); }
};

bool non_trovato(DWORD codice) {
    return codice == ERROR_FILE_NOT_FOUND || codice == ERROR_PATH_NOT_FOUND;
}

} // namespace

tipo_voce tipo_di_voce(const std::filesystem::path& percorso) {
    const DWORD attributi = GetFileAttributesW(percorso.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) {
        const DWORD codice = GetLastError();
        if (non_trovato(codice))
            return tipo_voce::inesistente;
        throw errore_file(percorso, motivo_di_sistema(static_cast<int>(codice)));
    }
    if ((attributi & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return tipo_voce::collegamento;
    if ((attributi & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return tipo_voce::cartella;
    // A device name (NUL, CON) or a pipe has attributes too: its handle tells what it is.
    const HANDLE maniglia = apri_per_guardare(percorso, FILE_FLAG_OPEN_REPARSE_POINT);
    if (maniglia == INVALID_HANDLE_VALUE)
        throw errore_file(percorso, motivo_di_sistema(static_cast<int>(GetLastError())));
    const maniglia_aperta aperta{maniglia};
    return tipo_di_maniglia(aperta.maniglia);
}

std::optional<identita_file> identita_di(const std::filesystem::path& percorso) {
    const HANDLE maniglia = apri_per_guardare(percorso, 0);
    if (maniglia == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const maniglia_aperta aperta{maniglia};
    BY_HANDLE_FILE_INFORMATION informazioni{};
    if (!GetFileInformationByHandle(aperta.maniglia, &informazioni))
        return std::nullopt;
    return identita_file{informazioni.dwVolumeSerialNumber,
                         (static_cast<std::uint64_t>(informazioni.nFileIndexHigh) << 32) |
                             informazioni.nFileIndexLow};
}

std::string leggi_file_regolare(const std::filesystem::path& percorso, std::size_t massimo,
                                oltre_il_massimo oltre) {
    const HANDLE maniglia =
        CreateFileW(percorso.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (maniglia == INVALID_HANDLE_VALUE)
        throw errore_file(percorso, motivo_di_sistema(static_cast<int>(GetLastError())));
    const maniglia_aperta file{maniglia};
    const tipo_voce tipo = tipo_di_maniglia(file.maniglia);
    if (tipo != tipo_voce::regolare)
        throw errore_file(percorso, motivo_non_regolare(tipo));

    const bool rifiuta = oltre == oltre_il_massimo::rifiuta;
    std::string dati;
    LARGE_INTEGER dimensione{};
    if (GetFileSizeEx(file.maniglia, &dimensione) && dimensione.QuadPart > 0) {
        if (rifiuta && static_cast<std::uint64_t>(dimensione.QuadPart) > massimo)
            throw errore_file(
                percorso,
                motivo_troppo_grande(static_cast<std::uint64_t>(dimensione.QuadPart), massimo));
        dati.reserve(std::min(static_cast<std::size_t>(dimensione.QuadPart), massimo));
    }
    // Refusing, one byte past the bound is read to tell a file that grew.
    const std::size_t da_leggere = rifiuta && massimo < SIZE_MAX ? massimo + 1 : massimo;
    char blocco[1 << 16];
    while (dati.size() < da_leggere) {
        const DWORD quanti = static_cast<DWORD>(std::min(sizeof blocco, da_leggere - dati.size()));
        DWORD letti = 0;
        if (!ReadFile(file.maniglia, blocco, quanti, &letti, nullptr))
            throw errore_file(percorso, motivo_di_sistema(static_cast<int>(GetLastError())));
        if (letti == 0)
            break;
        dati.append(blocco, letti);
    }
    if (dati.size() > massimo)
        throw errore_file(percorso, motivo_troppo_grande(std::nullopt, massimo));
    return dati;
}

} // namespace corvenna
