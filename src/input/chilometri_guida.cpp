#include "input/chilometri_guida.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace corvenna {

std::vector<sistema_progressiva> sistemi_progressiva(const costruzione& c) {
    std::vector<sistema_progressiva> sistemi;
    for (const int numero : {voce_progressiva_tre, voce_progressiva_due, voce_progressiva_uno}) {
        const voce& v = c.voci[static_cast<std::size_t>(numero)];
        sistema_progressiva s;
        s.inizio = v.inizio;
        s.decrescente = v.posizione == 1;
        s.offset = s.decrescente ? std::int64_t{v.fine} - 100 : v.fine;
        sistemi.push_back(s);
    }
    return sistemi;
}

double progressiva_al_metro(const std::vector<sistema_progressiva>& sistemi, double metro) {
    for (const sistema_progressiva& s : sistemi)
        if (static_cast<double>(s.inizio) <= metro)
            return s.decrescente ? static_cast<double>(s.offset) - metro
                                 : static_cast<double>(s.offset) + metro;
    return metro;
}

std::vector<tratto_progressiva> tratti_progressiva(const std::vector<sistema_progressiva>& sistemi,
                                                   double fine) {
    std::vector<double> confini{0.0};
    for (const sistema_progressiva& s : sistemi)
        if (s.inizio > 0 && static_cast<double>(s.inizio) < fine)
            confini.push_back(static_cast<double>(s.inizio));
    std::sort(confini.begin(), confini.end());
    confini.erase(std::unique(confini.begin(), confini.end()), confini.end());

    std::vector<tratto_progressiva> tratti;
    for (std::size_t i = 0; i < confini.size(); ++i) {
        tratto_progressiva t;
        t.inizio = confini[i];
        t.fine = i + 1 < confini.size() ? confini[i + 1] : fine;
        for (const sistema_progressiva& s : sistemi)
            if (static_cast<double>(s.inizio) <= t.inizio) {
                t.sistema = s;
                break;
            }
        if (!tratti.empty() && tratti.back().sistema == t.sistema) {
            tratti.back().fine = t.fine;
            continue;
        }
        tratti.push_back(t);
    }
    return tratti;
}

std::vector<double> metri_della_progressiva(const std::vector<sistema_progressiva>& sistemi,
                                            double lettura, double fine) {
    std::vector<double> metri;
    for (const tratto_progressiva& t : tratti_progressiva(sistemi, fine)) {
        double metro = lettura;
        if (t.sistema)
            metro = t.sistema->decrescente ? static_cast<double>(t.sistema->offset) - lettura
                                           : lettura - static_cast<double>(t.sistema->offset);
        if (metro >= t.inizio && metro <= t.fine && (metri.empty() || metri.back() != metro))
            metri.push_back(metro);
    }
    std::sort(metri.begin(), metri.end());
    metri.erase(std::unique(metri.begin(), metri.end()), metri.end());
    return metri;
}

std::string testo_progressiva(double metri) {
    const auto m = std::isfinite(metri) && std::abs(metri) < 1e15
                       ? static_cast<long long>(std::llround(metri))
                       : 0LL;
    const long long assoluto = m < 0 ? -m : m;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld+%03lld", m < 0 ? "-" : "", assoluto / 1000,
                  assoluto % 1000);
    return buffer;
}

namespace {

// Digits only, at least one, as a whole number.
std::optional<long long> cifre(std::string_view t) {
    if (t.empty() || t.size() > 12)
        return std::nullopt;
    long long n = 0;
    const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (errore != std::errc{} || fine != t.data() + t.size() || n < 0)
        return std::nullopt;
    return n;
}

} // namespace

std::optional<double> leggi_chilometro(std::string_view testo) {
    bool negativo = false;
    if (!testo.empty() && testo.front() == '-') {
        negativo = true;
        testo.remove_prefix(1);
    }
    if (testo.empty() || testo.front() == '+' || testo.front() == '-')
        return std::nullopt;
    double metri = 0;
    if (const std::size_t piu = testo.find('+'); piu != std::string_view::npos) {
        const auto km = cifre(testo.substr(0, piu));
        const auto m = cifre(testo.substr(piu + 1));
        if (!km || !m || testo.size() - piu - 1 != 3)
            return std::nullopt;
        metri = static_cast<double>(*km) * 1000 + static_cast<double>(*m);
    } else {
        const std::size_t virgola = testo.find_first_of(".,");
        const auto km = cifre(testo.substr(0, virgola));
        if (!km)
            return std::nullopt;
        metri = static_cast<double>(*km) * 1000;
        if (virgola != std::string_view::npos) {
            const std::string_view decimali = testo.substr(virgola + 1);
            if (decimali.empty() || decimali.size() > 3 || !cifre(decimali))
                return std::nullopt;
            std::string millesimi(decimali);
            millesimi.resize(3, '0');
            metri += static_cast<double>(*cifre(millesimi));
        }
    }
    return negativo ? -metri : metri;
}

} // namespace corvenna
