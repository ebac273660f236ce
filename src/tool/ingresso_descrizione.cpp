#include "tool/ingresso_descrizione.hpp"

#include "base/codifica_1252.hpp"
#include "model/codici_errore.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>

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

// Where byte `fino` of `t` stands: its line and column (characters from 1), lines ending at
// CR LF, a lone CR or a lone LF as the reader counts them.
std::pair<int, int> luogo_del_byte(std::string_view t, std::size_t fino) {
    int riga = 1;
    int colonna = 1;
    for (std::size_t p = 0; p < fino && p < t.size(); ++p) {
        const char c = t[p];
        if (c == '\n' || (c == '\r' && (p + 1 >= t.size() || t[p + 1] != '\n'))) {
            ++riga;
            colonna = 1;
        } else if (c != '\r') {
            ++colonna;
        }
    }
    return {riga, colonna};
}

enum class ordine_utf16 { piccolo, grande };

// UTF-16 by its byte-order mark, or without one by its NUL bytes: text that is mostly ASCII
// has a NUL in the high byte of most units and never in the low one. The first 4 KiB decide.
std::optional<ordine_utf16> utf16_di(std::string_view t) {
    if (t.starts_with("\xFF\xFE"))
        return ordine_utf16::piccolo;
    if (t.starts_with("\xFE\xFF"))
        return ordine_utf16::grande;
    const std::size_t n = std::min<std::size_t>(t.size(), 4096) & ~std::size_t{1};
    if (n < 2)
        return std::nullopt;
    std::size_t nul_pari = 0;
    std::size_t nul_dispari = 0;
    for (std::size_t p = 0; p < n; ++p)
        if (t[p] == '\0')
            ++(p % 2 == 0 ? nul_pari : nul_dispari);
    const std::size_t unita = n / 2;
    if (nul_pari == 0 && nul_dispari * 2 >= unita)
        return ordine_utf16::piccolo;
    if (nul_dispari == 0 && nul_pari * 2 >= unita)
        return ordine_utf16::grande;
    return std::nullopt;
}

void aggiungi_utf8(std::string& uscita, char32_t cp) {
    if (cp < 0x80) {
        uscita += static_cast<char>(cp);
    } else if (cp < 0x800) {
        uscita += static_cast<char>(0xC0 | (cp >> 6));
        uscita += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        uscita += static_cast<char>(0xE0 | (cp >> 12));
        uscita += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        uscita += static_cast<char>(0xF0 | (cp >> 18));
        uscita += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        uscita += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        uscita += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 text as UTF-8, its byte-order mark dropped; what cannot be decoded (a lone surrogate,
// an odd last byte) is U+FFFD and the first such place is the error.
testo_convertito utf16_in_utf8(std::string_view t, ordine_utf16 ordine, std::string_view nome) {
    testo_convertito r;
    std::string utf8;
    utf8.reserve(t.size() / 2);
    std::optional<std::size_t> guasto;
    const auto unita = [&](std::size_t p) {
        const auto a = static_cast<unsigned char>(t[p]);
        const auto b = static_cast<unsigned char>(t[p + 1]);
        return static_cast<char32_t>(ordine == ordine_utf16::piccolo ? a | (b << 8) : (a << 8) | b);
    };
    std::size_t p = 0;
    if (t.size() >= 2 && unita(0) == 0xFEFF)
        p = 2;
    for (; p + 1 < t.size(); p += 2) {
        char32_t cp = unita(p);
        if (cp >= 0xD800 && cp <= 0xDBFF && p + 3 < t.size() && unita(p + 2) >= 0xDC00 &&
            unita(p + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unita(p + 2) - 0xDC00);
            p += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (!guasto)
                guasto = utf8.size();
            cp = 0xFFFD;
        }
        aggiungi_utf8(utf8, cp);
    }
    if (p < t.size() && !guasto)
        guasto = utf8.size();
    r = testo_in_1252(utf8);
    r.codifica = nome;
    r.utf8 = true;
    if (guasto) {
        const auto [riga, colonna] = luogo_del_byte(utf8, *guasto);
        r.fallito = testo_convertito::errore{
            riga, colonna, "il testo " + std::string(nome) + " non e' valido a questo punto"};
    }
    return r;
}

} // namespace

testo_convertito testo_in_1252(std::string_view byte_file) {
    if (const auto ordine = utf16_di(byte_file))
        return utf16_in_utf8(byte_file, *ordine,
                             *ordine == ordine_utf16::piccolo ? "UTF-16LE" : "UTF-16BE");
    if (byte_file.starts_with(segno_utf8))
        byte_file.remove_prefix(segno_utf8.size());
    // A NUL byte has no place in a text: the file is named for what it likely is, once, and not
    // compiled line by line.
    if (const std::size_t nul = byte_file.find('\0'); nul != std::string_view::npos) {
        testo_convertito r;
        r.testo = std::string(byte_file);
        const auto [riga, colonna] = luogo_del_byte(byte_file, nul);
        r.fallito = testo_convertito::errore{riga, colonna,
                                             "il file contiene byte NUL alla riga " +
                                                 std::to_string(riga) + ": e' un file binario?"};
        return r;
    }
    testo_convertito r;
    if (!utf8_con_lettere(byte_file)) {
        r.testo = std::string(byte_file);
        return r;
    }
    r.utf8 = true;
    r.codifica = "UTF-8";
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
    return leggi_file_regolare(percorso, byte_massimi_descrizione, oltre_il_massimo::rifiuta);
}

std::optional<diagnostica> diagnostica_conversione(const testo_convertito& t, descrizione d) {
    if (!t.fallito)
        return std::nullopt;
    diagnostica errore;
    errore.file = d;
    errore.riga = t.fallito->riga;
    errore.colonna = t.fallito->colonna;
    errore.codice = codice::lettura_fallita;
    errore.messaggio = t.fallito->messaggio;
    return errore;
}

} // namespace corvenna
