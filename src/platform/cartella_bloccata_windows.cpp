// The locked directory of a run on Windows: a handle of the directory held without delete
// sharing, so it can be neither renamed nor removed during the run, and every file operation
// through the wide-character API on the directory's path. A long path takes the \\?\ form, so
// no file of the run meets the old path length limit.

#include "platform/sistema_windows.hpp"

#include "platform/cartella_bloccata.hpp"

#include "platform/flusso_file.hpp"
#include "platform/nomi_temporanei.hpp"
#include "base/errore_file.hpp"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

namespace {

// The system's text for an error code, in UTF-8, without the line end it carries.
std::string motivo_sistema(DWORD codice) {
    wchar_t* testo = nullptr;
    const DWORD lunghezza = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
    std::wstring largo = lunghezza > 0 && testo != nullptr ? std::wstring(testo, lunghezza) : L"";
    if (testo != nullptr)
        LocalFree(testo);
    while (!largo.empty() && (largo.back() == L'\n' || largo.back() == L'\r' ||
                              largo.back() == L' ' || largo.back() == L'.'))
        largo.pop_back();
    if (largo.empty())
        return "errore di sistema " + std::to_string(codice);
    const int byte = WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string stretto(static_cast<std::size_t>(byte), '\0');
    WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()), stretto.data(),
                        byte, nullptr, nullptr);
    return stretto;
}

std::wstring in_largo(std::string_view testo) {
    if (testo.empty())
        return {};
    const int caratteri =
        MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
    std::wstring largo(static_cast<std::size_t>(caratteri), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), largo.data(),
                        caratteri);
    return largo;
}

std::string in_utf8(std::wstring_view largo) {
    if (largo.empty())
        return {};
    const int byte = WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string stretto(static_cast<std::size_t>(byte), '\0');
    WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()), stretto.data(),
                        byte, nullptr, nullptr);
    return stretto;
}

// The path as the system's calls take it: an absolute path near the old limit in the \\?\ form,
// which the system takes as it stands (so it is normalised first).
std::wstring per_il_sistema(const std::filesystem::path& percorso) {
    constexpr std::size_t limite = MAX_PATH - 12;
    std::wstring testo = percorso.lexically_normal().make_preferred().native();
    if (testo.size() < limite || testo.starts_with(LR"(\\?\)") || !percorso.is_absolute())
        return testo;
    if (testo.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + testo.substr(2);
    return LR"(\\?\)" + testo;
}

HANDLE apri_cartella(const std::filesystem::path& cartella, DWORD accesso, DWORD condivisione) {
    return CreateFileW(per_il_sistema(cartella).c_str(), accesso, condivisione, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Writes all of a block; 0, or the system's code of the failure.
int scrivi_tutto(HANDLE file, const char* dati, std::size_t quanti) {
    while (quanti > 0) {
        const DWORD parte = static_cast<DWORD>(std::min<std::size_t>(quanti, 1u << 30));
        DWORD scritti = 0;
        if (!WriteFile(file, dati, parte, &scritti, nullptr))
            return static_cast<int>(GetLastError());
        dati += scritti;
        quanti -= scritti;
    }
    return 0;
}

bool non_trovato(DWORD codice) {
    return codice == ERROR_FILE_NOT_FOUND || codice == ERROR_PATH_NOT_FOUND;
}

void verifica_nome(const std::string& nome, const std::filesystem::path& percorso) {
    if (!nome_semplice(nome))
        throw errore_file(percorso, "nome di file non valido");
}

} // namespace

cartella_bloccata::cartella_bloccata(const std::filesystem::path& cartella) : cartella_(cartella) {
    // Listing rights make the handle count in the sharing checks, so the directory cannot be
    // renamed or removed while it is held; a directory that cannot be listed is held without
    // them, and one that another program holds without delete sharing is shared alike.
    HANDLE maniglia =
        apri_cartella(cartella, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (maniglia == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
        maniglia = apri_cartella(cartella, FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    leggibile_ = maniglia != INVALID_HANDLE_VALUE;
    if (maniglia == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        maniglia =
            apri_cartella(cartella, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (maniglia == INVALID_HANDLE_VALUE)
        throw errore_file(cartella, motivo_sistema(GetLastError()));
    maniglia_ = reinterpret_cast<std::intptr_t>(maniglia);
    try {
        blocco_ = std::make_unique<blocco_cartella>(cartella, maniglia_);
    } catch (...) {
        CloseHandle(maniglia);
        throw;
    }
}

cartella_bloccata::~cartella_bloccata() {
    blocco_.reset();
    CloseHandle(reinterpret_cast<HANDLE>(maniglia_));
}

std::filesystem::path cartella_bloccata::percorso(const std::string& nome) const {
    return cartella_ / in_largo(nome);
}

void cartella_bloccata::sostituisci(const std::string& nome, const scrittura_file& scrivi,
                                    persistenza durata) {
    const std::filesystem::path destinazione = percorso(nome);
    verifica_nome(nome, destinazione);

    // Created only where no file of its name exists: a name already taken, by anything, a link
    // included, is skipped for the next one.
    std::filesystem::path temporaneo;
    HANDLE file = INVALID_HANDLE_VALUE;
    constexpr int tentativi = 100;
    for (int tentativo = 1; file == INVALID_HANDLE_VALUE; ++tentativo) {
        temporaneo = percorso(nome_temporaneo(nome, GetCurrentProcessId(), progressivo_++));
        file = CreateFileW(per_il_sistema(temporaneo).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD codice = GetLastError();
        if (file == INVALID_HANDLE_VALUE &&
            ((codice != ERROR_FILE_EXISTS && codice != ERROR_ALREADY_EXISTS) ||
             tentativo == tentativi))
            throw errore_file(destinazione, motivo_sistema(codice));
    }
    auto abbandona = [&] { DeleteFileW(per_il_sistema(temporaneo).c_str()); };

    std::string motivo;
    {
        flusso_file buffer([file](const char* dati, std::size_t quanti) {
            return scrivi_tutto(file, dati, quanti);
        });
        std::ostream uscita(&buffer);
        try {
            scrivi(uscita);
            uscita.flush();
        } catch (const errore_file&) {
            CloseHandle(file);
            abbandona();
            throw;
        } catch (const std::exception& e) {
            motivo = e.what();
        }
        if (motivo.empty() && !uscita)
            motivo = buffer.errore() != 0 ? motivo_sistema(static_cast<DWORD>(buffer.errore()))
                                          : "scrittura fallita";
    }
    if (motivo.empty() && durata == persistenza::durevole && !FlushFileBuffers(file))
        motivo = motivo_sistema(GetLastError());
    if (!CloseHandle(file) && motivo.empty())
        motivo = motivo_sistema(GetLastError());
    if (!motivo.empty()) {
        abbandona();
        throw errore_file(destinazione, motivo);
    }

    // Write-through: the rename is on the storage when the call returns.
    const DWORD modo =
        MOVEFILE_REPLACE_EXISTING | (durata == persistenza::durevole ? MOVEFILE_WRITE_THROUGH : 0);
    if (!MoveFileExW(per_il_sistema(temporaneo).c_str(), per_il_sistema(destinazione).c_str(),
                     modo)) {
        const DWORD codice = GetLastError();
        abbandona();
        throw errore_file(destinazione, motivo_sistema(codice));
    }
}

// Each durable rename was written through already: nothing is left to flush.
void cartella_bloccata::sincronizza() {
    da_sincronizzare_ = false;
}

void cartella_bloccata::rimuovi_temporanei(std::span<const std::string> nomi) {
    WIN32_FIND_DATAW voce{};
    const std::wstring modello = per_il_sistema(cartella_ / L"*.tmp*");
    HANDLE ricerca = FindFirstFileW(modello.c_str(), &voce);
    if (ricerca == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> residui;
    do {
        if ((voce.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        const std::string nome = in_utf8(voce.cFileName);
        for (const std::string& proprio : nomi)
            if (temporaneo_di(nome, proprio))
                residui.emplace_back(voce.cFileName);
    } while (FindNextFileW(ricerca, &voce));
    FindClose(ricerca);
    for (const std::wstring& residuo : residui)
        DeleteFileW(per_il_sistema(cartella_ / residuo).c_str());
}

bool cartella_bloccata::esiste(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    if (GetFileAttributesW(per_il_sistema(percorso(nome)).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD codice = GetLastError();
    if (non_trovato(codice))
        return false;
    throw errore_file(percorso(nome), motivo_sistema(codice));
}

std::optional<std::string> cartella_bloccata::leggi(const std::string& nome) const {
    verifica_nome(nome, percorso(nome));
    HANDLE file = CreateFileW(per_il_sistema(percorso(nome)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD codice = GetLastError();
        if (non_trovato(codice))
            return std::nullopt;
        throw errore_file(percorso(nome), motivo_sistema(codice));
    }
    std::string testo;
    std::vector<char> blocco(std::size_t{1} << 16);
    for (;;) {
        DWORD letti = 0;
        if (!ReadFile(file, blocco.data(), static_cast<DWORD>(blocco.size()), &letti, nullptr)) {
            const DWORD codice = GetLastError();
            CloseHandle(file);
            throw errore_file(percorso(nome), motivo_sistema(codice));
        }
        if (letti == 0)
            break;
        testo.append(blocco.data(), letti);
    }
    CloseHandle(file);
    return testo;
}

void cartella_bloccata::cancella(const std::string& nome) {
    verifica_nome(nome, percorso(nome));
    if (DeleteFileW(per_il_sistema(percorso(nome)).c_str()))
        return;
    const DWORD codice = GetLastError();
    if (!non_trovato(codice))
        throw errore_file(percorso(nome), motivo_sistema(codice));
}

} // namespace corvenna
