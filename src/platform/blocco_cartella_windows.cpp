// The directory lock on Windows: a named mutex whose name is derived from the directory. The
// name comes from the directory's identity on its volume (volume serial number and file index),
// so every path that leads to the same directory (another spelling, a mapped drive, a junction)
// gives the same name; when that identity cannot be read, from the directory's absolute path in
// lower case. Named objects live in the system, not in the directory, and a mutex whose holder
// ended without releasing it passes to the next waiter. When no mutex can be had the run stops.

#include "platform/sistema_windows.hpp"

#include "platform/blocco_cartella.hpp"
#include "platform/motivo_sistema.hpp"

#include "base/errore_file.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace corvenna {

namespace {

constexpr wchar_t prefisso_nome[] = L"genera_scenario.cartella.";

std::wstring esadecimale(std::uint64_t valore) {
    constexpr wchar_t cifre[] = L"0123456789abcdef";
    std::wstring testo(16, L'0');
    for (int i = 15; i >= 0; --i) {
        testo[static_cast<std::size_t>(i)] = cifre[valore & 0xF];
        valore >>= 4;
    }
    return testo;
}

// The directory's identity on its volume, or std::nullopt when the system does not give it.
std::optional<std::wstring> identita_cartella(HANDLE cartella) {
    BY_HANDLE_FILE_INFORMATION informazioni{};
    if (!GetFileInformationByHandle(cartella, &informazioni))
        return std::nullopt;
    const std::uint64_t indice = (static_cast<std::uint64_t>(informazioni.nFileIndexHigh) << 32) |
                                 informazioni.nFileIndexLow;
    return L"id." + esadecimale(informazioni.dwVolumeSerialNumber) + L"." + esadecimale(indice);
}

// The absolute path in lower case, reduced to a 64-bit FNV-1a hash: a mutex name may not hold
// a backslash and is limited in length.
std::wstring impronta_percorso(const std::filesystem::path& cartella) {
    std::error_code errore;
    std::filesystem::path assoluto = std::filesystem::absolute(cartella, errore);
    if (errore)
        assoluto = cartella;
    std::wstring testo = assoluto.lexically_normal().make_preferred().native();
    while (testo.size() > 1 && testo.back() == L'\\')
        testo.pop_back();
    if (!testo.empty())
        CharLowerBuffW(testo.data(), static_cast<DWORD>(testo.size()));
    std::uint64_t impronta = 14695981039346656037ull;
    for (const wchar_t carattere : testo) {
        impronta ^= static_cast<std::uint16_t>(carattere);
        impronta *= 1099511628211ull;
    }
    return L"percorso." + esadecimale(impronta);
}

} // namespace

blocco_cartella::blocco_cartella(const std::filesystem::path& cartella, std::intptr_t maniglia) {
    const std::wstring nome =
        prefisso_nome +
        identita_cartella(reinterpret_cast<HANDLE>(maniglia)).value_or(impronta_percorso(cartella));
    // The global namespace orders runs of every session; where this user may not create or
    // open the object there, the session's own namespace still orders the user's runs.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Global\\" + nome).c_str());
    if (mutex == nullptr)
        mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + nome).c_str());
    if (mutex == nullptr)
        throw errore_file(cartella, "la cartella non si puo' bloccare: " +
                                        motivo_di_sistema(static_cast<int>(GetLastError())));
    const DWORD esito = WaitForSingleObject(mutex, INFINITE);
    // WAIT_ABANDONED: the earlier holder ended without releasing; the mutex is ours all the same.
    if (esito != WAIT_OBJECT_0 && esito != WAIT_ABANDONED) {
        const DWORD codice = GetLastError();
        CloseHandle(mutex);
        throw errore_file(cartella, "la cartella non si puo' bloccare: " +
                                        motivo_di_sistema(static_cast<int>(codice)));
    }
    blocco_ = reinterpret_cast<std::intptr_t>(mutex);
}

blocco_cartella::~blocco_cartella() {
    if (blocco_ == nessuna_maniglia)
        return;
    HANDLE mutex = reinterpret_cast<HANDLE>(blocco_);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

} // namespace corvenna
