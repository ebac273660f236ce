#include "scenario/colonne_modulo.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvenna {

namespace {

bool continuazione(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t caratteri(std::string_view testo) {
    std::size_t n = 0;
    for (const char c : testo)
        n += continuazione(c) ? 0 : 1;
    return n;
}

// The first `n` characters of `testo`.
std::string_view primi(std::string_view testo, std::size_t n) {
    std::size_t i = 0;
    for (; i < testo.size(); ++i)
        if (!continuazione(testo[i]) && n-- == 0)
            break;
    return testo.substr(0, i);
}

// `testo` in `larghezza` characters with at most `vuoti_prima` blanks before it.
std::string in_colonna(std::string_view testo, std::size_t larghezza, std::size_t vuoti_prima) {
    const std::string_view parte = primi(testo, larghezza);
    const std::size_t libero = larghezza - caratteri(parte);
    const std::size_t prima = std::min(libero, vuoti_prima);
    return std::string(prima, ' ') + std::string(parte) + std::string(libero - prima, ' ');
}

} // namespace

std::string a_sinistra(std::string_view testo, std::size_t larghezza) {
    return in_colonna(testo, larghezza, 0);
}

std::string a_destra(std::string_view testo, std::size_t larghezza) {
    return in_colonna(testo, larghezza, larghezza);
}

std::string al_centro(std::string_view testo, std::size_t larghezza) {
    const std::size_t n = std::min(caratteri(testo), larghezza);
    return in_colonna(testo, larghezza, (larghezza - n) / 2);
}

std::string sovrascrivi(std::string_view riga, std::size_t colonna, std::string_view testo) {
    const std::string_view prima = primi(riga, colonna);
    const std::string_view resto = riga.substr(prima.size());
    const std::string_view coperto = primi(resto, caratteri(testo));
    return std::string(prima) + std::string(testo) + std::string(resto.substr(coperto.size()));
}

std::string chilometro_modulo(double metri) {
    const long long m = std::isfinite(metri) ? std::llround(metri) : 0;
    const long long assoluto = m < 0 ? -m : m;
    char testo[48];
    std::snprintf(testo, sizeof testo, "%s%lld.%03lld", m < 0 ? "-" : "", assoluto / 1000,
                  assoluto % 1000);
    return testo;
}

std::string ora_modulo(std::int64_t secondi) {
    const std::int64_t minuti = secondi / 60;
    char testo[48];
    std::snprintf(testo, sizeof testo, "%lld.%02lld", static_cast<long long>(minuti / 60),
                  static_cast<long long>(minuti % 60));
    return testo;
}

} // namespace corvenna
