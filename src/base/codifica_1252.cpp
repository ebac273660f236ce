#include "base/codifica_1252.hpp"

#include <array>
#include <cstdint>

namespace corvenna {

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where the code page leaves the byte unassigned.
constexpr std::array<char32_t, 32> tabella_80_9f = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int byte_per(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < tabella_80_9f.size(); ++i)
        if (tabella_80_9f[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string esadecimale(char32_t cp) {
    constexpr char cifre[] = "0123456789ABCDEF";
    std::string s;
    for (int shift = 20; shift >= 0; shift -= 4)
        if (shift < 16 || ((cp >> shift) & 0xF) != 0)
            s += cifre[(cp >> shift) & 0xF];
    return "U+" + s;
}

void aggiungi_utf8(std::string& s, char32_t cp) {
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string da_1252(std::string_view byte_1252) {
    std::string risultato;
    risultato.reserve(byte_1252.size());
    for (const char c : byte_1252) {
        const auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F)
            cp = tabella_80_9f[b - 0x80] != 0 ? tabella_80_9f[b - 0x80] : 0xFFFD;
        aggiungi_utf8(risultato, cp);
    }
    return risultato;
}

std::string in_1252(std::string_view utf8) {
    std::string risultato;
    risultato.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t seguito = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            cp = b0 & 0x1F;
            seguito = 1;
        } else if ((b0 & 0xF0) == 0xE0) {
            cp = b0 & 0x0F;
            seguito = 2;
        } else if ((b0 & 0xF8) == 0xF0) {
            cp = b0 & 0x07;
            seguito = 3;
        } else {
            throw errore_codifica("testo UTF-8 non valido alla posizione " + std::to_string(i));
        }
        if (i + seguito >= utf8.size() && seguito > 0)
            throw errore_codifica("testo UTF-8 troncato alla posizione " + std::to_string(i));
        for (std::size_t k = 1; k <= seguito; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xC0) != 0x80)
                throw errore_codifica("testo UTF-8 non valido alla posizione " + std::to_string(i));
            cp = (cp << 6) | (b & 0x3F);
        }
        // An overlong form would let a character hide behind a longer encoding.
        constexpr char32_t minimo_per_lunghezza[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimo_per_lunghezza[seguito] || cp > 0x10FFFF)
            throw errore_codifica("testo UTF-8 non valido alla posizione " + std::to_string(i));
        const int byte = byte_per(cp);
        if (byte < 0)
            throw errore_codifica("il carattere " + esadecimale(cp) +
                                  " non ha un byte in Windows-1252 (posizione " +
                                  std::to_string(i) + ")");
        risultato += static_cast<char>(byte);
        i += seguito + 1;
    }
    return risultato;
}

void aggiungi_byte_escapato(std::string& uscita, unsigned char b) {
    static constexpr char cifre[] = "0123456789abcdef";
    uscita += "\\x";
    uscita += cifre[b >> 4];
    uscita += cifre[b & 0x0F];
}

} // namespace corvenna
