#include "tool/ingresso_descrizione.hpp"

#include "base/codifica_1252.hpp"

#include <cstddef>
#include <cstdio>

namespace corvenna {

namespace {

constexpr std::string_view segno_utf8 = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 sequence that starts at `p`, or 0 when none does.
std::size_t sequenza_utf8(std::string_view t, std::size_t p) {
    const auto b0 = static_cast<unsigned char>(t[p]);
    std::size_t lunghezza = 0;
    char32_t cp = 0;
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        lunghezza = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        lunghezza = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        lunghezza = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (p + lunghezza > t.size())
        return 0;
    for (std::size_t k = 1; k < lunghezza; ++k) {
        const auto b = static_cast<unsigned char>(t[p + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    constexpr char32_t minimo[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimo[lunghezza] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return lunghezza;
}

// "U+0141" for the character of a well-formed sequence.
std::string punto_codice(std::string_view sequenza) {
    const auto b0 = static_cast<unsigned char>(sequenza[0]);
    char32_t cp = sequenza.size() == 1 ? b0 : b0 & (0x7F >> sequenza.size());
    for (std::size_t k = 1; k < sequenza.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(sequenza[k]) & 0x3F);
    char testo[16];
    std::snprintf(testo, sizeof testo, "U+%04X", static_cast<unsigned>(cp));
    return testo;
}

bool utf8_con_lettere(std::string_view t) {
    bool non_ascii = false;
    for (std::size_t p = 0; p < t.size();) {
        const std::size_t n = sequenza_utf8(t, p);
        if (n == 0)
            return false;
        non_ascii = non_ascii || n > 1;
        p += n;
    }
    return non_ascii;
}

} // namespace

testo_convertito testo_in_1252(std::string_view byte_file) {
    if (byte_file.starts_with(segno_utf8))
        byte_file.remove_prefix(segno_utf8.size());
    testo_convertito r;
    if (!utf8_con_lettere(byte_file)) {
        r.testo = std::string(byte_file);
        return r;
    }
    r.utf8 = true;
    r.testo.reserve(byte_file.size());
    int riga = 1;
    int colonna = 1;
    for (std::size_t p = 0; p < byte_file.size();) {
        const std::size_t n = sequenza_utf8(byte_file, p);
        const std::string_view carattere = byte_file.substr(p, n);
        try {
            r.testo += in_1252(carattere);
        } catch (const errore_codifica&) {
            // The first such character is the error; the text goes on with "?" in its place,
            // so the line can still be shown.
            if (!r.fallito)
                r.fallito = testo_convertito::errore{riga, colonna,
                                                     "il carattere " + punto_codice(carattere) +
                                                         " non ha un byte in Windows-1252"};
            r.testo += '?';
        }
        // Columns count characters, as they will once the text is single-byte.
        const char c = byte_file[p];
        const bool crlf = c == '\r' && p + 1 < byte_file.size() && byte_file[p + 1] == '\n';
        if (c == '\n' || (c == '\r' && !crlf)) {
            ++riga;
            colonna = 1;
        } else if (c != '\r') {
            ++colonna;
        }
        p += n;
    }
    return r;
}

} // namespace corvenna

#include "platform/file_regolare.hpp"

#include <limits>

namespace corvenna {

std::string leggi_file_intero(const std::filesystem::path& percorso) {
    return leggi_file_regolare(percorso, std::numeric_limits<std::size_t>::max());
}

} // namespace corvenna
