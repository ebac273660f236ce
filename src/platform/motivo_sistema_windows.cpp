// The reasons of the system's calls on Windows: its error codes, the common ones in Italian and
// any other in the system's own text.

#include "platform/sistema_windows.hpp"

#include "platform/motivo_sistema.hpp"

#include <cerrno>
#include <string>
#include <string_view>

namespace corvenna {

namespace {

// The system's text for an error code, in UTF-8, without the line end it carries.
std::string testo_del_sistema(DWORD codice) {
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
    return in_utf8(largo);
}

} // namespace

std::string motivo_di_sistema(int codice) {
    switch (static_cast<DWORD>(codice)) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return motivo_di_errno(ENOSPC);
    case ERROR_ACCESS_DENIED:
        return motivo_di_errno(EACCES);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return motivo_di_errno(ENOENT);
    case ERROR_FILENAME_EXCED_RANGE:
        return motivo_di_errno(ENAMETOOLONG);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return motivo_di_errno(EEXIST);
    case ERROR_WRITE_PROTECT:
        return motivo_di_errno(EROFS);
    case ERROR_IO_DEVICE:
    case ERROR_CRC:
        return motivo_di_errno(EIO);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return motivo_di_errno(ENOMEM);
    default:
        return testo_del_sistema(static_cast<DWORD>(codice));
    }
}

} // namespace corvenna
