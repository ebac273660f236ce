// The locked directory's primitives on Windows: a handle of the directory held without delete
// sharing, so it can be neither renamed nor removed during the run, and every file call through
// the wide-character API on the directory's path. A long path takes the \\?\ form, so no file of
// the run meets the old path length limit. Windows has no signals that end a process during a
// replacement: their primitives do nothing.

#include "platform/sistema_windows.hpp"

#include "platform/primitive_file.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace corvenna {

namespace {

std::string motivo_sistema(DWORD codice) {
    return motivo_di_sistema(static_cast<int>(codice));
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

int ultimo_errore() {
    return static_cast<int>(GetLastError());
}

HANDLE maniglia_di(maniglia_file file) {
    return reinterpret_cast<HANDLE>(file);
}

class primitive_windows final : public primitive_file {
  public:
    explicit primitive_windows(const std::filesystem::path& cartella) : cartella_(cartella) {
        // Listing rights make the handle count in the sharing checks, so the directory cannot be
        // renamed or removed while it is held; a directory that cannot be listed is held without
        // them, and one that another program holds without delete sharing is shared alike.
        HANDLE maniglia =
            apri_cartella(cartella, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (maniglia == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
            maniglia = apri_cartella(cartella, FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (maniglia == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
            maniglia =
                apri_cartella(cartella, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (maniglia == INVALID_HANDLE_VALUE)
            throw errore_file(cartella, motivo_sistema(GetLastError()));
        maniglia_ = maniglia;
    }
    ~primitive_windows() override { CloseHandle(maniglia_); }

    primitive_windows(const primitive_windows&) = delete;
    primitive_windows& operator=(const primitive_windows&) = delete;

    std::intptr_t maniglia() const override { return reinterpret_cast<std::intptr_t>(maniglia_); }

    std::filesystem::path nome_di_sistema(std::string_view nome) const override {
        return std::filesystem::path(in_largo(nome));
    }
    std::string testo_del_nome(const std::filesystem::path& nome) const override {
        return in_utf8(nome.native());
    }

    std::string motivo(int codice) const override {
        return motivo_sistema(static_cast<DWORD>(codice));
    }
    bool non_trovato(int codice) const override {
        return codice == ERROR_FILE_NOT_FOUND || codice == ERROR_PATH_NOT_FOUND;
    }
    bool da_ritentare(int codice) const override {
        return codice == ERROR_FILE_EXISTS || codice == ERROR_ALREADY_EXISTS;
    }
    unsigned long processo() const override { return GetCurrentProcessId(); }

    // CREATE_NEW fails on any existing name, a link included.
    int crea_esclusivo(const std::filesystem::path& nome, maniglia_file& file) override {
        const HANDLE creato = CreateFileW(per_il_sistema(cartella_ / nome).c_str(), GENERIC_WRITE,
                                          0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        file = reinterpret_cast<maniglia_file>(creato);
        return creato == INVALID_HANDLE_VALUE ? ultimo_errore() : 0;
    }

    int apri_in_lettura(const std::filesystem::path& nome, maniglia_file& file) override {
        const HANDLE aperto =
            CreateFileW(per_il_sistema(cartella_ / nome).c_str(), GENERIC_READ, FILE_SHARE_READ,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        file = reinterpret_cast<maniglia_file>(aperto);
        return aperto == INVALID_HANDLE_VALUE ? ultimo_errore() : 0;
    }

    // The entry itself is opened, never what a link or junction leads to; its owner is not
    // looked at (the directory's rights say who may write there).
    apertura_propria apri_proprio(const std::filesystem::path& nome, maniglia_file& file) override {
        const HANDLE aperto = CreateFileW(
            per_il_sistema(cartella_ / nome).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (aperto == INVALID_HANDLE_VALUE)
            return {ultimo_errore()};
        tipo_voce tipo = tipo_voce::regolare;
        BY_HANDLE_FILE_INFORMATION informazioni{};
        if (GetFileType(aperto) == FILE_TYPE_CHAR)
            tipo = tipo_voce::dispositivo;
        else if (GetFileType(aperto) != FILE_TYPE_DISK)
            tipo = tipo_voce::altro;
        else if (!GetFileInformationByHandle(aperto, &informazioni)) {
            const int codice = ultimo_errore();
            CloseHandle(aperto);
            return {codice};
        } else if ((informazioni.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            tipo = tipo_voce::collegamento;
        else if ((informazioni.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            tipo = tipo_voce::cartella;
        if (tipo != tipo_voce::regolare) {
            CloseHandle(aperto);
            return {0, tipo, false};
        }
        file = reinterpret_cast<maniglia_file>(aperto);
        return {};
    }

    int scrivi(maniglia_file file, const char* dati, std::size_t quanti) override {
        while (quanti > 0) {
            const DWORD parte = static_cast<DWORD>(std::min<std::size_t>(quanti, 1u << 30));
            DWORD scritti = 0;
            if (!WriteFile(maniglia_di(file), dati, parte, &scritti, nullptr))
                return ultimo_errore();
            dati += scritti;
            quanti -= scritti;
        }
        return 0;
    }

    int leggi(maniglia_file file, char* dati, std::size_t quanti, std::size_t& letti) override {
        DWORD parte = 0;
        if (!ReadFile(maniglia_di(file), dati, static_cast<DWORD>(quanti), &parte, nullptr))
            return ultimo_errore();
        letti = parte;
        return 0;
    }

    int svuota(maniglia_file file) override {
        return FlushFileBuffers(maniglia_di(file)) ? 0 : ultimo_errore();
    }

    int chiudi(maniglia_file file) override {
        return CloseHandle(maniglia_di(file)) ? 0 : ultimo_errore();
    }

    // Write-through: a durable rename is on the storage when the call returns.
    int rinomina(const std::filesystem::path& da, const std::filesystem::path& a,
                 persistenza durata) override {
        const DWORD modo = MOVEFILE_REPLACE_EXISTING |
                           (durata == persistenza::durevole ? MOVEFILE_WRITE_THROUGH : 0);
        return MoveFileExW(per_il_sistema(cartella_ / da).c_str(),
                           per_il_sistema(cartella_ / a).c_str(), modo)
                   ? 0
                   : ultimo_errore();
    }

    int rimuovi(const std::filesystem::path& nome) override {
        return DeleteFileW(per_il_sistema(cartella_ / nome).c_str()) ? 0 : ultimo_errore();
    }

    int cerca(const std::filesystem::path& nome) override {
        return GetFileAttributesW(per_il_sistema(cartella_ / nome).c_str()) !=
                       INVALID_FILE_ATTRIBUTES
                   ? 0
                   : ultimo_errore();
    }

    bool e_cartella(const std::filesystem::path& nome) override {
        const DWORD attributi = GetFileAttributesW(per_il_sistema(cartella_ / nome).c_str());
        return attributi != INVALID_FILE_ATTRIBUTES &&
               (attributi & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
               (attributi & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    }

    // The files whose names hold ".tmp"; directories are not ours.
    std::vector<std::filesystem::path> elenca() override {
        std::vector<std::filesystem::path> voci;
        WIN32_FIND_DATAW voce{};
        const std::wstring modello = per_il_sistema(cartella_ / L"*.tmp*");
        HANDLE ricerca = FindFirstFileW(modello.c_str(), &voce);
        if (ricerca == INVALID_HANDLE_VALUE)
            return voci;
        do {
            if ((voce.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                voci.emplace_back(voce.cFileName);
        } while (FindNextFileW(ricerca, &voce));
        FindClose(ricerca);
        return voci;
    }

    // Each durable rename was written through already: nothing is left to flush.
    int sincronizza_cartella(const std::filesystem::path&) override { return 0; }

    void prepara_segnali() override {}
    void trattieni_segnali() override {}
    void rilascia_segnali() override {}
    void segna_temporaneo(const std::filesystem::path&) override {}
    void dimentica_temporaneo(const std::filesystem::path&) override {}

  private:
    std::filesystem::path cartella_;
    HANDLE maniglia_ = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<primitive_file> apri_primitive_file(const std::filesystem::path& cartella) {
    return std::make_unique<primitive_windows>(cartella);
}

} // namespace corvenna
