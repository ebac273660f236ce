#include "checking/correzioni_certe.hpp"

#include "checking/righe_testo.hpp"
#include "description/formato_descrizioni.hpp"
#include "description/taglio_campi.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

namespace {

// The text of line `riga` (from 1); std::nullopt past the end.
std::optional<std::string_view> riga_di(std::string_view testo,
                                        const std::vector<riga_testo>& righe, int riga) {
    if (riga < 1 || static_cast<std::size_t>(riga) > righe.size())
        return std::nullopt;
    const riga_testo& r = righe[static_cast<std::size_t>(riga) - 1];
    return testo.substr(r.inizio, r.lunghezza);
}

// The whole number written at column `colonna` of a line, up to the next comma, with the columns
// of its digits; std::nullopt when the field holds anything else (then no fix is certain).
struct numero_scritto {
    std::int64_t valore = 0;
    int colonna = 0;
    int colonna_fine = 0;
};

std::optional<numero_scritto> numero_a(std::string_view riga, int colonna) {
    if (colonna < 1 || static_cast<std::size_t>(colonna) > riga.size())
        return std::nullopt;
    std::size_t da = static_cast<std::size_t>(colonna) - 1;
    std::size_t a = std::min(riga.find(',', da), riga.size());
    while (da < a && e_spazio(riga[da]))
        ++da;
    while (a > da && e_spazio(riga[a - 1]))
        --a;
    const std::string_view campo = riga.substr(da, a - da);
    std::int64_t valore = 0;
    const char* inizio = campo.data();
    const char* fine = campo.data() + campo.size();
    const auto [p, errore] = std::from_chars(inizio, fine, valore);
    if (campo.empty() || errore != std::errc{} || p != fine)
        return std::nullopt;
    return numero_scritto{valore, static_cast<int>(da) + 1, static_cast<int>(a) + 1};
}

// The multiple of `passo` nearest to `valore`; std::nullopt at a half, where the compile's
// rounding depends on what the value is for.
std::optional<std::int64_t> multiplo_vicino(std::int64_t valore, std::int64_t passo) {
    const std::int64_t resto = ((valore % passo) + passo) % passo;
    if (resto * 2 == passo)
        return std::nullopt;
    return valore - resto + (resto * 2 > passo ? passo : 0);
}

// A position is certain to be kept as its cell's only where the row uses it for nothing else: a
// mountain stretch keeps its written ends (and the distance between stretches decides its
// type), a slow-down's end is its start plus a length.
bool posizione_solo_cella(const diagnostica& d, std::string_view riga) {
    const std::string_view chiave = riga.substr(0, std::min(riga.find(','), riga.size()));
    const auto parole = parole_corrispondenti(*d.file, chiave);
    return parole.size() == 1 && parole[0]->parola != "montagna" &&
           parole[0]->parola != "rallentamento";
}

void valore_esplicito(diagnostica& d, std::string_view riga, std::int64_t passo,
                      const char* unita) {
    const auto n = numero_a(riga, d.colonna);
    if (!n)
        return;
    d.colonna = n->colonna;
    d.colonna_fine = n->colonna_fine;
    // The value at the field must be the one the warning rounds (not a length added to it).
    if (passo == 50 && (!d.metri || *d.metri != n->valore || !posizione_solo_cella(d, riga)))
        return;
    const auto tenuto = multiplo_vicino(n->valore, passo);
    if (!tenuto || *tenuto == n->valore)
        return;
    const std::string testo = std::to_string(*tenuto);
    d.correzioni.push_back({"scrivi " + testo + unita + ", il valore che vale", d.file, d.riga,
                            n->colonna, n->colonna_fine, testo});
}

// The column just past the field that starts at `colonna` (up to the next comma, without the
// blanks before it); 0 when the column is not on the line.
int fine_campo(std::string_view riga, int colonna) {
    if (colonna < 1 || static_cast<std::size_t>(colonna) > riga.size())
        return 0;
    std::size_t a = std::min(riga.find(',', static_cast<std::size_t>(colonna) - 1), riga.size());
    while (a > static_cast<std::size_t>(colonna) && e_spazio(riga[a - 1]))
        --a;
    return static_cast<int>(a) + 1;
}

// The earlier line of a setting given twice does not count: emptied, the scenario is the same.
void riga_superata(diagnostica& d, std::string_view riga_ripetuta, std::string_view testo,
                   const std::vector<riga_testo>& righe) {
    d.colonna_fine = fine_campo(riga_ripetuta, d.colonna);
    if (d.correlati.empty())
        return;
    const luogo_correlato& prima = d.correlati.front();
    const auto riga = riga_di(testo, righe, prima.riga);
    if (!riga || prima.riga == d.riga)
        return;
    d.correzioni.push_back({"togli la riga " + std::to_string(prima.riga) + ", che non vale",
                            d.file, prima.riga, 1, static_cast<int>(riga->size()) + 1, ""});
}

} // namespace

void aggiungi_correzioni_certe(elenco_diagnostiche& diagnostiche, std::string_view linea,
                               std::string_view treno) {
    const std::vector<riga_testo> righe_linea = righe_di(linea);
    const std::vector<riga_testo> righe_treno = righe_di(treno);
    for (diagnostica& d : diagnostiche) {
        if (!d.tipo || !d.file || !d.correzioni.empty())
            continue;
        const bool della_linea = *d.file == descrizione::linea;
        const std::string_view testo = della_linea ? linea : treno;
        const auto& righe = della_linea ? righe_linea : righe_treno;
        const auto riga = riga_di(testo, righe, d.riga);
        if (!riga)
            continue;
        switch (*d.tipo) {
        case tipo_avviso::posizione_arrotondata:
            valore_esplicito(d, *riga, 50, " m");
            break;
        case tipo_avviso::velocita_arrotondata:
            valore_esplicito(d, *riga, 5, " km/h");
            break;
        case tipo_avviso::riga_ripetuta:
            riga_superata(d, *riga, testo, righe);
            break;
        default:
            break;
        }
    }
}

} // namespace corvenna
