#include "diagnostics/testo_mostrabile.hpp"

#include "base/codifica_1252.hpp"

namespace corvenna {

namespace {

bool di_controllo(unsigned char b) {
    return (b < 0x20 && b != '\t') || b == 0x7F;
}

// A UTF-8 C1 control: 0xC2 followed by 0x80 to 0x9F.
bool c1_utf8(std::string_view testo, std::size_t i) {
    return static_cast<unsigned char>(testo[i]) == 0xC2 && i + 1 < testo.size() &&
           static_cast<unsigned char>(testo[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(testo[i + 1]) <= 0x9F;
}

} // namespace

std::size_t fine_carattere(std::string_view testo, std::size_t i, bool utf8) {
    ++i;
    while (utf8 && i < testo.size() && (static_cast<unsigned char>(testo[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

std::size_t aggiungi_carattere_mostrabile(std::string& uscita, std::string_view testo,
                                          std::size_t i, bool utf8) {
    const auto b = static_cast<unsigned char>(testo[i]);
    if (di_controllo(b) || (!utf8 && senza_carattere_1252(b))) {
        aggiungi_byte_escapato(uscita, b);
        return i + 1;
    }
    if (utf8 && c1_utf8(testo, i)) {
        aggiungi_byte_escapato(uscita, b);
        aggiungi_byte_escapato(uscita, static_cast<unsigned char>(testo[i + 1]));
        return i + 2;
    }
    const std::size_t fine = fine_carattere(testo, i, utf8);
    uscita.append(testo.substr(i, fine - i));
    return fine;
}

std::size_t colonne_mostrate(std::string_view testo, std::size_t i, bool utf8) {
    const auto b = static_cast<unsigned char>(testo[i]);
    if (di_controllo(b) || (!utf8 && senza_carattere_1252(b)))
        return 4;
    if (utf8 && c1_utf8(testo, i))
        return 8;
    return 1;
}

std::string testo_mostrabile(std::string_view testo, bool utf8) {
    std::string uscita;
    uscita.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size();)
        i = aggiungi_carattere_mostrabile(uscita, testo, i, utf8);
    return uscita;
}

std::string percorso_mostrabile(const std::filesystem::path& percorso) {
    return testo_mostrabile(percorso.string(), true);
}

std::string da_1252_mostrabile(std::string_view byte_1252) {
    std::string uscita;
    uscita.reserve(byte_1252.size());
    for (const char c : byte_1252) {
        const auto b = static_cast<unsigned char>(c);
        if (di_controllo(b) || senza_carattere_1252(b))
            aggiungi_byte_escapato(uscita, b);
        else
            uscita += da_1252(std::string_view(&c, 1));
    }
    return uscita;
}

} // namespace corvenna
