#include "platform/sorveglianza.hpp"

#include "base/errore_file.hpp"
#include "platform/motivo_sistema.hpp"
#include "platform/sistema_windows.hpp"

#include <cstdio>
#include <io.h>
#include <map>
#include <system_error>

namespace corvenna::piattaforma {

namespace {

// Set by Ctrl-C (and Ctrl-Break, and the console closing): the wait returns instead of the
// process ending.
HANDLE evento_interruzione = nullptr;

BOOL WINAPI su_interruzione(DWORD) {
    if (evento_interruzione != nullptr)
        SetEvent(evento_interruzione);
    return TRUE;
}

constexpr DWORD quiete_ms = 60;

std::filesystem::file_time_type ultima_scrittura(const std::filesystem::path& f) {
    std::error_code e;
    const auto t = std::filesystem::last_write_time(f, e);
    return e ? std::filesystem::file_time_type::min() : t;
}

} // namespace

struct sorveglianza_file::stato {
    // One change notification per folder, the Ctrl-C event last.
    std::vector<HANDLE> attese;
    // The files watched and the time of their last write when last seen.
    std::map<std::filesystem::path, std::filesystem::file_time_type> file;
};

sorveglianza_file::sorveglianza_file(const std::vector<std::filesystem::path>& file)
    : stato_(std::make_unique<stato>()) {
    std::map<std::filesystem::path, bool> cartelle;
    for (const std::filesystem::path& f : file) {
        stato_->file[f] = ultima_scrittura(f);
        const std::filesystem::path cartella = f.has_parent_path() ? f.parent_path() : ".";
        if (cartelle.contains(cartella))
            continue;
        cartelle[cartella] = true;
        const HANDLE h = FindFirstChangeNotificationW(
            cartella.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = GetLastError();
            for (HANDLE a : stato_->attese)
                FindCloseChangeNotification(a);
            throw errore_file(cartella, motivo_di_sistema(static_cast<int>(e)));
        }
        stato_->attese.push_back(h);
    }
    evento_interruzione = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stato_->attese.push_back(evento_interruzione);
    SetConsoleCtrlHandler(su_interruzione, TRUE);
}

sorveglianza_file::~sorveglianza_file() {
    SetConsoleCtrlHandler(su_interruzione, FALSE);
    for (std::size_t k = 0; k + 1 < stato_->attese.size(); ++k)
        FindCloseChangeNotification(stato_->attese[k]);
    CloseHandle(evento_interruzione);
    evento_interruzione = nullptr;
}

sorveglianza_file::evento sorveglianza_file::attendi() {
    bool salvato = false;
    const DWORD n = static_cast<DWORD>(stato_->attese.size());
    for (;;) {
        const DWORD esito =
            WaitForMultipleObjects(n, stato_->attese.data(), FALSE, salvato ? quiete_ms : INFINITE);
        if (esito == WAIT_TIMEOUT)
            return evento::salvato;
        if (esito == WAIT_OBJECT_0 + n - 1 || esito == WAIT_FAILED) {
            ResetEvent(evento_interruzione);
            return evento::interrotto;
        }
        FindNextChangeNotification(stato_->attese[esito - WAIT_OBJECT_0]);
        // The folder changed: one of the files did when its time of last write moved.
        for (auto& [f, tempo] : stato_->file) {
            const auto adesso = ultima_scrittura(f);
            if (adesso != tempo) {
                tempo = adesso;
                salvato = true;
            }
        }
    }
}

void pulisci_schermo() {
    const HANDLE errori = GetStdHandle(STD_ERROR_HANDLE);
    DWORD modo = 0;
    if (!GetConsoleMode(errori, &modo))
        return;
    if (SetConsoleMode(errori, modo | ENABLE_VIRTUAL_TERMINAL_PROCESSING))
        std::fputs("\x1b[2J\x1b[H", stderr);
}

} // namespace corvenna::piattaforma
