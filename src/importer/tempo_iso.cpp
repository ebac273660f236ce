#include "importer/tempo_iso.hpp"

#include <cctype>
#include <chrono>

namespace corvenna {

namespace {

// `cifre` digits from `testo` at `da`, advancing it.
std::optional<int> intero(std::string_view testo, std::size_t& da, std::size_t cifre) {
    if (da + cifre > testo.size())
        return std::nullopt;
    int valore = 0;
    for (std::size_t i = 0; i < cifre; ++i) {
        const char c = testo[da + i];
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        valore = valore * 10 + (c - '0');
    }
    da += cifre;
    return valore;
}

bool segno(std::string_view testo, std::size_t& da, char atteso) {
    if (da < testo.size() && testo[da] == atteso) {
        ++da;
        return true;
    }
    return false;
}

} // namespace

std::optional<double> istante_iso(std::string_view testo) {
    while (!testo.empty() && std::isspace(static_cast<unsigned char>(testo.front())))
        testo.remove_prefix(1);
    while (!testo.empty() && std::isspace(static_cast<unsigned char>(testo.back())))
        testo.remove_suffix(1);
    std::size_t i = 0;
    const auto anno = intero(testo, i, 4);
    if (!anno || !segno(testo, i, '-'))
        return std::nullopt;
    const auto mese = intero(testo, i, 2);
    if (!mese || !segno(testo, i, '-'))
        return std::nullopt;
    const auto giorno = intero(testo, i, 2);
    if (!giorno || !(segno(testo, i, 'T') || segno(testo, i, 't') || segno(testo, i, ' ')))
        return std::nullopt;
    const auto ore = intero(testo, i, 2);
    if (!ore || !segno(testo, i, ':'))
        return std::nullopt;
    const auto minuti = intero(testo, i, 2);
    if (!minuti || !segno(testo, i, ':'))
        return std::nullopt;
    const auto secondi = intero(testo, i, 2);
    if (!secondi || *ore > 23 || *minuti > 59 || *secondi > 60)
        return std::nullopt;
    double frazione = 0;
    if (segno(testo, i, '.') || segno(testo, i, ',')) {
        double peso = 0.1;
        const std::size_t inizio = i;
        while (i < testo.size() && std::isdigit(static_cast<unsigned char>(testo[i]))) {
            frazione += (testo[i] - '0') * peso;
            peso /= 10;
            ++i;
        }
        if (i == inizio)
            return std::nullopt;
    }
    int scostamento_s = 0;
    if (segno(testo, i, 'Z') || segno(testo, i, 'z')) {
    } else if (i < testo.size() && (testo[i] == '+' || testo[i] == '-')) {
        const int verso = testo[i] == '-' ? -1 : 1;
        ++i;
        const auto oo = intero(testo, i, 2);
        segno(testo, i, ':');
        const auto mm = intero(testo, i, 2);
        if (!oo || !mm)
            return std::nullopt;
        scostamento_s = verso * (*oo * 3600 + *mm * 60);
    }
    if (i != testo.size())
        return std::nullopt;
    const std::chrono::year_month_day data{std::chrono::year(*anno),
                                           std::chrono::month(static_cast<unsigned>(*mese)),
                                           std::chrono::day(static_cast<unsigned>(*giorno))};
    if (!data.ok())
        return std::nullopt;
    const auto giorni = std::chrono::sys_days(data).time_since_epoch().count();
    return static_cast<double>(giorni) * 86400 + *ore * 3600 + *minuti * 60 + *secondi + frazione -
           scostamento_s;
}

} // namespace corvenna
