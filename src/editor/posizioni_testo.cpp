#include "editor/posizioni_testo.hpp"

namespace corvenna {

namespace {

// The length of the UTF-8 sequence whose first byte is `b` (1 for a stray byte), and the UTF-16
// units of the character it encodes.
std::size_t lunghezza_sequenza(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    return 1;
}

// The sequence at `p`, limited to the bytes that continue it, so a truncated one counts as what
// it holds.
std::size_t sequenza(std::string_view t, std::size_t p) {
    const std::size_t n = lunghezza_sequenza(static_cast<unsigned char>(t[p]));
    std::size_t k = 1;
    while (k < n && p + k < t.size() && (static_cast<unsigned char>(t[p + k]) & 0xC0) == 0x80)
        ++k;
    return k == n ? n : 1;
}

int unita_utf16(std::size_t lunghezza) {
    return lunghezza == 4 ? 2 : 1;
}

} // namespace

std::size_t inizio_riga(std::string_view testo, int riga) {
    std::size_t p = 0;
    for (int r = 0; r < riga; ++r) {
        const std::size_t fine = testo.find_first_of("\r\n", p);
        if (fine == std::string_view::npos)
            return testo.size();
        p = fine + 1;
        if (testo[fine] == '\r' && p < testo.size() && testo[p] == '\n')
            ++p;
    }
    return p;
}

std::string_view riga_di(std::string_view testo, int riga) {
    const std::size_t inizio = inizio_riga(testo, riga);
    if (inizio >= testo.size())
        return {};
    std::size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos)
        fine = testo.size();
    return testo.substr(inizio, fine - inizio);
}

std::size_t offset_di(std::string_view testo, posizione_lsp p) {
    if (p.riga < 0)
        return 0;
    const std::size_t inizio = inizio_riga(testo, p.riga);
    if (inizio >= testo.size())
        return testo.size();
    return inizio + byte_da_utf16(riga_di(testo, p.riga), p.carattere);
}

std::size_t byte_da_utf16(std::string_view riga, int carattere) {
    std::size_t p = 0;
    int unita = 0;
    while (p < riga.size()) {
        const std::size_t n = sequenza(riga, p);
        if (unita + unita_utf16(n) > carattere)
            break;
        unita += unita_utf16(n);
        p += n;
    }
    return p;
}

int utf16_da_byte(std::string_view riga, std::size_t byte) {
    std::size_t p = 0;
    int unita = 0;
    while (p < riga.size()) {
        const std::size_t n = sequenza(riga, p);
        if (p + n > byte)
            break;
        unita += unita_utf16(n);
        p += n;
    }
    return unita;
}

int utf16_da_caratteri(std::string_view riga, int indice) {
    std::size_t p = 0;
    int unita = 0;
    for (int k = 0; k < indice; ++k) {
        if (p >= riga.size())
            return unita + (indice - k);
        const std::size_t n = sequenza(riga, p);
        unita += unita_utf16(n);
        p += n;
    }
    return unita;
}

bool utf8_valido(std::string_view testo) {
    for (std::size_t p = 0; p < testo.size();) {
        const auto b = static_cast<unsigned char>(testo[p]);
        const std::size_t n = sequenza(testo, p);
        if (n == 1 && b >= 0x80)
            return false;
        p += n;
    }
    return true;
}

} // namespace corvenna
