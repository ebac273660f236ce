#pragma once

// The Windows API as the platform layer uses it: the wide-character functions, without the
// rarely used parts of the headers and without the min and max macros; and the system's wide
// text in the UTF-8 the program speaks.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace corvenna {

inline std::string in_utf8(std::wstring_view largo) {
    if (largo.empty())
        return {};
    const int byte = WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string stretto(static_cast<std::size_t>(byte), '\0');
    WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()), stretto.data(),
                        byte, nullptr, nullptr);
    return stretto;
}

} // namespace corvenna
