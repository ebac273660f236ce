#include "diagnostics/uri_percorso.hpp"

#include <algorithm>
#include <cctype>

namespace corvenna {

namespace {

int valore_esadecimale(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool libero(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

void codifica(std::string& uri, char c) {
    static constexpr char cifre[] = "0123456789ABCDEF";
    const auto b = static_cast<unsigned char>(c);
    uri += '%';
    uri += cifre[b >> 4];
    uri += cifre[b & 0xF];
}

} // namespace

std::string uri_di_percorso(std::string_view percorso) {
    std::string uri;
    for (const char c : percorso) {
        if (libero(c))
            uri += c;
        else
            codifica(uri, c);
    }
    return uri;
}

std::string uri_file(std::string_view percorso) {
    std::string uri = "file://";
    const bool unita = percorso.size() >= 2 &&
                       std::isalpha(static_cast<unsigned char>(percorso[0])) && percorso[1] == ':';
    if (percorso.empty() || (percorso[0] != '/' && percorso[0] != '\\'))
        uri += '/';
    for (std::size_t k = 0; k < percorso.size(); ++k) {
        const char c = percorso[k];
        if (c == '\\')
            uri += '/';
        else if (libero(c) || (unita && k == 1))
            uri += c;
        else
            codifica(uri, c);
    }
    return uri;
}

std::optional<std::string> percorso_da_uri(std::string_view uri) {
    constexpr std::string_view schema = "file://";
    if (uri.size() < schema.size() ||
        !std::equal(schema.begin(), schema.end(), uri.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        }))
        return std::nullopt;
    std::string_view resto = uri.substr(schema.size());
    // The authority (a host) is dropped: only local files are read.
    const std::size_t barra = resto.find('/');
    if (barra == std::string_view::npos)
        return std::nullopt;
    resto = resto.substr(barra);
    std::string percorso;
    for (std::size_t k = 0; k < resto.size(); ++k) {
        if (resto[k] == '%' && k + 2 < resto.size() && valore_esadecimale(resto[k + 1]) >= 0 &&
            valore_esadecimale(resto[k + 2]) >= 0) {
            percorso += static_cast<char>(valore_esadecimale(resto[k + 1]) * 16 +
                                          valore_esadecimale(resto[k + 2]));
            k += 2;
        } else {
            percorso += resto[k];
        }
    }
    // "/C:/x" is the Windows path "C:/x".
    if (percorso.size() >= 3 && percorso[0] == '/' &&
        std::isalpha(static_cast<unsigned char>(percorso[1])) && percorso[2] == ':')
        percorso.erase(0, 1);
    return percorso;
}

} // namespace corvenna
