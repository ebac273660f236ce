#include "report/utf8_da_1252.hpp"

#include <array>
#include <cstdint>

namespace corvenna {

namespace {

// Code points of the bytes 0x80 to 0x9F; the others are their own code point.
constexpr std::array<char32_t, 32> da_80_a_9f = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void aggiungi(std::string& t, char32_t c) {
    if (c < 0x80) {
        t += static_cast<char>(c);
    } else if (c < 0x800) {
        t += static_cast<char>(0xC0 | (c >> 6));
        t += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        t += static_cast<char>(0xE0 | (c >> 12));
        t += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        t += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string utf8_da_1252(std::string_view testo) {
    std::string t;
    t.reserve(testo.size());
    for (const char c : testo) {
        const auto b = static_cast<std::uint8_t>(c);
        aggiungi(t, b >= 0x80 && b <= 0x9F ? da_80_a_9f[b - 0x80] : static_cast<char32_t>(b));
    }
    return t;
}

} // namespace corvenna
