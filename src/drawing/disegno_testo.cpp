#include "drawing/disegno_testo.hpp"

#include "base/codifica_1252.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvenna {

namespace {} // namespace

void aggiungi_html(std::string& uscita, std::string_view testo) {
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            uscita += "&amp;";
            break;
        case '<':
            uscita += "&lt;";
            break;
        case '>':
            uscita += "&gt;";
            break;
        case '"':
            uscita += "&quot;";
            break;
        case '\'':
            uscita += "&#39;";
            break;
        // The control characters a reference may stand for.
        case '\t':
            uscita += "&#9;";
            break;
        case '\n':
            uscita += "&#10;";
            break;
        case '\f':
            uscita += "&#12;";
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                // NUL, CR and the other controls may appear neither as bytes nor as references.
                aggiungi_byte_escapato(uscita, b);
            } else if (b == 0xC2 && i + 1 < testo.size() &&
                       static_cast<unsigned char>(testo[i + 1]) >= 0x80 &&
                       static_cast<unsigned char>(testo[i + 1]) <= 0x9F) {
                // A C1 control: a reference to it would stand for a Windows-1252 letter.
                aggiungi_byte_escapato(uscita, b);
                aggiungi_byte_escapato(uscita, static_cast<unsigned char>(testo[++i]));
            } else {
                uscita += c;
            }
        }
    }
}

std::string html(std::string_view testo) {
    std::string uscita;
    aggiungi_html(uscita, testo);
    return uscita;
}

void aggiungi_coordinata(std::string& uscita, double valore) {
    // Beyond 1e12 no drawing has a use for the value; the bound keeps the text short.
    double arrotondato =
        std::isfinite(valore) && std::abs(valore) < 1e12 ? std::round(valore * 10) / 10 : 0.0;
    if (arrotondato == 0)
        arrotondato = 0; // no "-0"
    char buffer[48];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, arrotondato, std::chars_format::fixed, 1);
    std::string_view testo(buffer, static_cast<std::size_t>(r.ptr - buffer));
    if (testo.ends_with(".0"))
        testo.remove_suffix(2);
    uscita += testo;
}

std::string numero_dati(double valore, int decimali) {
    if (!std::isfinite(valore) || std::abs(valore) >= 1e15)
        valore = 0;
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, valore, std::chars_format::fixed, decimali);
    if (r.ec != std::errc{})
        return "0";
    std::string testo(buffer, r.ptr);
    if (testo.starts_with('-') && testo.find_first_not_of("-0.") == std::string::npos)
        testo.erase(0, 1);
    return testo;
}

std::string numero_testo(double valore, int decimali) {
    std::string testo = numero_dati(valore, decimali);
    for (char& c : testo)
        if (c == '.')
            c = ',';
    return testo;
}

std::string km_testo(double metri) {
    return numero_testo(metri / 1000, 3);
}

std::string ora_testo(std::int64_t secondi) {
    const std::int64_t assoluto = secondi < 0 ? -secondi : secondi;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02lld:%02lld", secondi < 0 ? "-" : "",
                  static_cast<long long>(assoluto / 3600),
                  static_cast<long long>(assoluto / 60 % 60),
                  static_cast<long long>(assoluto % 60));
    return buffer;
}

void attributo(std::string& u, const char* nome, double valore) {
    u += ' ';
    u += nome;
    u += "=\"";
    aggiungi_coordinata(u, valore);
    u += '"';
}

void titolo(std::string& u, const std::string& testo) {
    u += "<title>";
    aggiungi_html(u, testo);
    u += "</title>";
}

} // namespace corvenna
